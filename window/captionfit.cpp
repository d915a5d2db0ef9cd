#include "captionfit.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QWidget>

namespace {

// Below this no Cyrillic caption is readable; a caption cut even there stays cut.
constexpr int SmallestPixelSize = 6;

QString captionOf(const QWidget &widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(&widget))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(&widget))
        return button->text();
    if (const auto *box = qobject_cast<const QGroupBox *>(&widget))
        return box->title();
    return {};
}

// A check box or radio button draws its text beside its indicator.
QRect ownCaptionRoom(const QWidget &widget)
{
    const auto *button = qobject_cast<const QAbstractButton *>(&widget);
    if (!button || qobject_cast<const QPushButton *>(&widget))
        return widget.contentsRect();
    QStyleOptionButton option;
    option.initFrom(button);
    const bool radio = qobject_cast<const QRadioButton *>(&widget);
    return widget.style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, &widget);
}

// What of that room shows: a layout that is too narrow for a widget's
// minimum width lets it overhang its parent, which cuts it off at its edge.
QRect captionRoom(const QWidget &widget)
{
    QRect room = ownCaptionRoom(widget);
    if (const QWidget *parent = widget.parentWidget(); parent && !widget.isWindow())
        room &= QRect(-widget.pos(), parent->size());
    return room;
}

// A widget placed by a layout gets its room from the layout, which must have
// placed it with its current font.
void settleLayout(const QWidget &widget)
{
    if (const QWidget *parent = widget.parentWidget(); parent && parent->layout())
        parent->layout()->activate();
}

} // namespace

bool captionFits(const QWidget &widget)
{
    const QString caption = captionOf(widget);
    if (caption.isEmpty())
        return true;
    const QRect room = captionRoom(widget);
    const QFontMetrics metrics = widget.fontMetrics();
    const QStringList lines = caption.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        // The ink, not the advance: an advance may end in blank pixels.
        if (metrics.tightBoundingRect(line).width() > room.width())
            return false;
    }
    // A radio button's or group box's title may overhang its frame's height.
    const bool heightCounts
        = !qobject_cast<const QRadioButton *>(&widget) && !qobject_cast<const QGroupBox *>(&widget);
    return !heightCounts || metrics.lineSpacing() * int(lines.size()) <= room.height();
}

void shrinkCaptionsToFit(QWidget &window)
{
    window.ensurePolished();
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        settleLayout(*widget);
        QFont font = widget->font();
        int pixelSize = QFontInfo(font).pixelSize();
        while (!captionFits(*widget) && pixelSize > SmallestPixelSize) {
            font.setPixelSize(--pixelSize);
            font.setStyleStrategy(QFont::PreferAntialias);
            widget->setFont(font);
            settleLayout(*widget);
        }
    }
}
