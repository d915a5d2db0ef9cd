#include "displayscaling.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

const char ScaleFactorVariable[] = "QT_SCALE_FACTOR";

// The window's size at 100 %, as the form gives it.
constexpr int WindowWidth = 510;
constexpr int WindowHeight = 775;
// What a window manager adds around a window at 100 %: the title bar and thin
// borders. Generous, so that a window said to fit really does.
const QMargins FrameAllowance(8, 32, 8, 8);

constexpr qreal ScaleStep = 0.05;
// Below this the 9-pixel captions become hard to read.
constexpr qreal SmallestScale = 0.85;

// Whether the user set QT_SCALE_FACTOR, which then wins; read before the
// program sets it itself.
bool userChoseScale = false;

bool hasRealDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

void enableWholeWindowScaling()
{
    userChoseScale = qEnvironmentVariableIsSet(ScaleFactorVariable);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 does both by default.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    // 125 % and 150 % must not round to 100 % or 200 %.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

qreal scaleThatFits(const QSize &availablePixels, qreal systemScale)
{
    const qreal frameWidth = (FrameAllowance.left() + FrameAllowance.right()) * systemScale;
    const qreal frameHeight = (FrameAllowance.top() + FrameAllowance.bottom()) * systemScale;
    const qreal fit = std::min((availablePixels.width() - frameWidth) / WindowWidth,
                               (availablePixels.height() - frameHeight) / WindowHeight);
    if (fit >= systemScale)
        return systemScale;
    // The small epsilon keeps an exact step, such as 1.25, from rounding down.
    const qreal step = std::floor(fit / ScaleStep + 1e-6) * ScaleStep;
    return std::max(step, std::min(SmallestScale, systemScale));
}

qreal windowScale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1;
    const qreal screenScale = screen->devicePixelRatio();
    if (userChoseScale || !hasRealDisplay())
        return screenScale;
    return scaleThatFits(screen->availableGeometry().size() * screenScale, screenScale);
}

qreal windowShareOfScreenScale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? windowScale() / screen->devicePixelRatio() : 1;
}

std::optional<qreal> scaleFactorForRestart()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen || screen->devicePixelRatio() <= 1)
        return std::nullopt;
    const qreal scale = std::max<qreal>(windowScale(), 1);
    if (scale >= screen->devicePixelRatio())
        return std::nullopt;
    return scale / screen->devicePixelRatio();
}

void useScaleFactor(qreal factor)
{
    qputenv(ScaleFactorVariable, QByteArray::number(factor, 'g', 6));
}

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen || !hasRealDisplay())
        return;
    const QRect available = screen->availableGeometry();
    const QSize outer = window->size().grownBy(FrameAllowance);
    // Top-left of the frame: a window taller than the screen keeps its title bar on it.
    window->move(available.x() + std::max(0, (available.width() - outer.width()) / 2),
                 available.y() + std::max(0, (available.height() - outer.height()) / 2));
}
