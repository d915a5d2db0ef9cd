#ifndef VELMIRA_BENCHTIMING_H
#define VELMIRA_BENCHTIMING_H

// What every benchmark measures a pass with: wall and processor time, and
// the median of repetitions, which a shared machine's outliers do not move.

#include <QElapsedTimer>
#include <QVector>

#include <algorithm>
#include <ctime>

struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

// The process's processor time, all threads: std::clock on every platform.
inline double processCpuMs()
{
    return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

template<typename Work> Timing timed(Work work)
{
    QElapsedTimer timer;
    const double cpu = processCpuMs();
    timer.start();
    work();
    return {timer.nsecsElapsed() / 1e6, processCpuMs() - cpu};
}

inline double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    const int middle = int(values.size()) / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

#endif // VELMIRA_BENCHTIMING_H
