#ifndef VELMIRA_CONCLUSIONCOPY_H
#define VELMIRA_CONCLUSIONCOPY_H

#include <QObject>
#include <QString>

class QAction;
class QLineEdit;
class QPoint;
class QWidget;
class ResultNotice;

// "Копировать заключение": puts the whole conclusion of the press on the
// clipboard, as plain text and as HTML. Offered in the result field's context
// menu, by Ctrl+Shift+C anywhere on the calculation page and by Ctrl+C in the
// result field with nothing selected. Every copy says what it did, in the
// notice by the result: without a figure on screen nothing is copied, and a
// conclusion this window left on the clipboard is taken off it, so that a
// forgotten press never pastes the previous patient's figure.
class ConclusionCopy : public QObject {
    Q_OBJECT

public:
    // The action works on the page; parent owns it, so that the form's own
    // object tree stays as it is. The notice may be null (nothing is said).
    ConclusionCopy(QLineEdit *result, QWidget *page, ResultNotice *notice, QObject *parent);

    void offer(const QString &text, const QString &html);
    void withdraw();
    QAction *action() const { return m_action; }

    // What a copy says, for its notice.
    static QString copiedText();
    static QString nothingToCopyText(bool clearedEarlier);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void copy();
    void refuse();
    void showMenu(const QPoint &position);

    QLineEdit *m_result;
    ResultNotice *m_notice;
    QAction *m_action;
    QString m_text;
    QString m_html;
    // The plain text this window last put on the clipboard.
    QString m_copied;
};

#endif // VELMIRA_CONCLUSIONCOPY_H
