#ifndef VELMIRA_RESULTNOTICE_H
#define VELMIRA_RESULTNOTICE_H

#include <QLabel>
#include <QTimer>

// A short note by the result field that goes by itself: what a copy
// of the conclusion did, and, for a screen reader, the figure of a press.
// Screen readers hear it as a notification when it appears, without the focus
// leaving the field the user is in; it is never a modal box.
class ResultNotice : public QLabel {
    Q_OBJECT

public:
    // The notice is laid over the result field's window, by the field.
    explicit ResultNotice(QWidget *resultField);

    // Shows the text, in place of any note before it, for a few seconds.
    void say(const QString &text);
    // Takes the note away at once, as when the inputs change.
    void withdraw();

    // Whether a screen reader or other assistive technology is listening.
    static bool assistiveTechnologyActive();

private:
    void placeNearResult();

    QWidget *resultField;
    QTimer expiry;
};

#endif // VELMIRA_RESULTNOTICE_H
