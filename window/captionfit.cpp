#include "captionfit.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QWidget>
#include <QtMath>

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
// (Widgets at fixed positions are placed to fit; their parents, such as tab
// pages, may not have their size yet.)
QRect captionRoom(QWidget &widget)
{
    QRect room = ownCaptionRoom(widget);
    const QWidget *parent = widget.parentWidget();
    if (parent && parent->layout() && parent->layout()->indexOf(&widget) >= 0)
        room &= QRect(-widget.pos(), parent->size());
    return room;
}

// How far a line's ink reaches from where it starts being drawn, in the
// widget's pixels: a widget draws its caption from the left of its room, and
// the ink must end inside it. On a scaled screen the glyphs are drawn at the
// screen's size, hinted there, and may reach further than the font's metrics
// at 100 % say, so the line is drawn at the screen's scale and looked at.
int drawnInkReach(const QWidget &widget, const QString &line)
{
    const qreal ratio = widget.devicePixelRatioF();
    const QFontMetrics metrics = widget.fontMetrics();
    const int margin = metrics.height();
    QImage image(QSize(metrics.horizontalAdvance(line) + 2 * margin, metrics.height()) * ratio,
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(widget.font());
    painter.drawText(margin, metrics.ascent(), line);
    painter.end();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = image.width() - 1; x > right; --x) {
            if (qAlpha(pixels[x]) != 0)
                right = x;
        }
    }
    return qMax(0, qCeil((right + 1) / ratio) - margin);
}

// A widget placed by a layout gets its room from the layout, which must have
// placed it with its current font.
void settleLayout(const QWidget &widget)
{
    if (const QWidget *parent = widget.parentWidget(); parent && parent->layout())
        parent->layout()->activate();
}

} // namespace

bool captionFits(QWidget &widget)
{
    const QString caption = captionOf(widget);
    if (caption.isEmpty())
        return true;
    const QRect room = captionRoom(widget);
    const QFontMetrics metrics = widget.fontMetrics();
    const QStringList lines = caption.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        // The ink, not the advance: an advance may end in blank pixels.
        if (drawnInkReach(widget, line) > room.width())
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
