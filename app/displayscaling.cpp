#include "displayscaling.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

const char ScaleFactorVariable[] = "QT_SCALE_FACTOR";
const char HighDpiScalingVariable[] = "QT_ENABLE_HIGHDPI_SCALING";

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

// Whether Qt scales the window, rather than the form itself.
bool qtScales = true;

bool hasRealDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void setQtScaling(bool on)
{
    qtScales = on;
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 does both by default.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, on);
    QCoreApplication::setAttribute(Qt::AA_DisableHighDpiScaling, !on);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, on);
#else
    if (on)
        qunsetenv(HighDpiScalingVariable);
    else
        qputenv(HighDpiScalingVariable, "0");
#endif
}

} // namespace

void enableWholeWindowScaling()
{
    userChoseScale = qEnvironmentVariableIsSet(ScaleFactorVariable);
#ifdef Q_OS_WIN
    setQtScaling(true);
#else
    setQtScaling(userChoseScale);
#endif
    // 125 % and 150 % must not round to 100 % or 200 %.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

qreal systemScale(const QScreen &screen)
{
    return qtScales ? screen.devicePixelRatio() : screen.logicalDotsPerInchY() / 96.0;
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
    const qreal scale = systemScale(*screen);
    if (userChoseScale || !hasRealDisplay())
        return scale;
    // Qt's own pixels to the device's: the same where Qt does not scale.
    return scaleThatFits(screen->availableGeometry().size() * screen->devicePixelRatio(), scale);
}

ScalePlan planScaling()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const qreal scale = windowScale();
    if (!qtScales)
        return {std::nullopt, scale, scale / systemScale(*screen)};
    const qreal ratio = screen->devicePixelRatio();
    if (scale >= ratio)
        return {std::nullopt, scale / ratio, 1};
    // Qt scales crisply, but only when its application object is made, and
    // paints nothing right below 100 %: the form scales itself the rest.
    const qreal qtScale = std::max<qreal>(scale, 1);
    if (qtScale < ratio)
        return {qtScale / ratio, scale / qtScale, 1};
    return {std::nullopt, scale / ratio, 1};
}

void prepareRestart(const ScalePlan &plan)
{
    if (!plan.restartFactor)
        return;
    setQtScaling(true);
    qputenv(ScaleFactorVariable, QByteArray::number(*plan.restartFactor, 'g', 6));
}

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen || !hasRealDisplay())
        return;
    const QRect available = screen->availableGeometry();
    // The frame is drawn at the system's scale, in device pixels where Qt does not scale.
    const qreal frame = qtScales ? 1 : systemScale(*screen);
    const QSize outer = window->size().grownBy(
        QMargins(qRound(FrameAllowance.left() * frame), qRound(FrameAllowance.top() * frame),
                 qRound(FrameAllowance.right() * frame), qRound(FrameAllowance.bottom() * frame)));
    // Top-left of the frame: a window taller than the screen keeps its title bar on it.
    window->move(available.x() + std::max(0, (available.width() - outer.width()) / 2),
                 available.y() + std::max(0, (available.height() - outer.height()) / 2));
}
