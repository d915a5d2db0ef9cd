#include "resultnotice.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

constexpr int ShownMilliseconds = 5000;

// Announced as a notification: assistive technology speaks one when it
// appears, wherever the focus is.
QAccessibleInterface *noticeAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("ResultNotice") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

ResultNotice::ResultNotice(QWidget *resultField)
    : QLabel(resultField->window()), resultField(resultField)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(noticeAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled)
    setObjectName(QStringLiteral("resultNotice"));
    // A tool tip's look, which users know as passing; the text may quote nothing
    // but the program's own words, still never read as markup.
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setFrameShape(QFrame::Box);
    setMargin(3);
    setFocusPolicy(Qt::NoFocus);
    hide();
    expiry.setSingleShot(true);
    expiry.setInterval(ShownMilliseconds);
    connect(&expiry, &QTimer::timeout, this, &ResultNotice::withdraw);
}

void ResultNotice::say(const QString &text)
{
    // Hidden first, so that a repeated note is announced again.
    hide();
    setText(text);
    setAccessibleName(text);
    placeNearResult();
    raise();
    show();
    expiry.start();
}

void ResultNotice::withdraw()
{
    expiry.stop();
    hide();
}

bool ResultNotice::assistiveTechnologyActive()
{
    return QAccessible::isActive();
}

// Centred under the result field, in the room between it and the window's
// edge, so that it covers neither the figure nor the sentence it ends; above
// the field where that room is too small.
void ResultNotice::placeNearResult()
{
    QWidget *window = parentWidget();
    const QRect field(resultField->mapTo(window, QPoint(0, 0)), resultField->size());
    const int width = qMin(window->width() - 2 * field.height(), field.width() * 3);
    const int height = heightForWidth(width);
    const int left = qBound(0, field.center().x() - width / 2, window->width() - width);
    const int gap = field.height() / 5;
    int top = field.bottom() + 1 + gap;
    if (top + height > window->height())
        top = qMax(0, field.top() - gap - height);
    setGeometry(left, top, width, height);
}
