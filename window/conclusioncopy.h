#ifndef VELMIRA_CONCLUSIONCOPY_H
#define VELMIRA_CONCLUSIONCOPY_H

#include <QObject>
#include <QString>

class QAction;
class QLineEdit;
class QPoint;
class QWidget;

// "Копировать заключение": puts the whole conclusion of the press on the
// clipboard, as plain text and as HTML. Offered in the result field's context
// menu, by Ctrl+Shift+C anywhere on the calculation page and by Ctrl+C in the
// result field with nothing selected. Without a figure on screen it is
// disabled, so that a conclusion never describes other inputs than those shown.
class ConclusionCopy : public QObject {
    Q_OBJECT

public:
    // The action works on the page; parent owns it, so that the form's own
    // object tree stays as it is.
    ConclusionCopy(QLineEdit *result, QWidget *page, QObject *parent);

    void offer(const QString &text, const QString &html);
    void withdraw();
    QAction *action() const { return m_action; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void copy() const;
    void showMenu(const QPoint &position);

    QLineEdit *m_result;
    QAction *m_action;
    QString m_text;
    QString m_html;
};

#endif // VELMIRA_CONCLUSIONCOPY_H
