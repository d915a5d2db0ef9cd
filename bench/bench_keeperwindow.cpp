// How responsive the keeper's window stays while a long log is read: a timer
// that should fire every 10 ms records the longest gap between two of its
// ticks, from the moment the log is asked for until the window shows it
// (the worker's reading and the tabs built afterwards on the window's thread).
//
//   bench_keeperwindow [ROWS]     (default 1,000,000; offscreen is enough)

#include "keeperwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// A spreadsheet's CSV with a date, the diameters spread over both tables' rows.
QByteArray generatedLog(int rows)
{
    QByteArray log("Дата;Диаметр 1;Диаметр 2;Диаметр 3;Кожух;Стриктура;Установлен\n");
    log.reserve(rows * 48);
    for (int row = 0; row < rows; ++row) {
        const int smallest = 1400 + row % 700;
        log += QByteArray::number(1 + row % 28) + ".03.2025;"
            + QByteArray::number(smallest / 1000.0, 'f', 3) + ";2.1;2.2;"
            + (smallest < 1750 ? "10-12 Ch;" : "12-14 Ch;") + (row % 31 ? "нет;" : "да;")
            + (row % 3 ? "да\n" : "нет\n");
    }
    return log;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    const int rows = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("log.csv")));
    if (!file.open(QIODevice::WriteOnly) || file.write(generatedLog(rows)) < 0)
        return 1;
    file.close();

    KeeperWindow window;
    window.show();
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = qMax(longest, now - last);
        last = now;
        ++ticks;
    });
    QEventLoop loop;
    QObject::connect(&window, &KeeperWindow::logShown, &loop, &QEventLoop::quit);
    clock.start();
    ticker.start(10);
    window.openLog(file.fileName());
    loop.exec();
    const qint64 total = clock.elapsed();
    // The last gap holds the showing of the result on the window's thread.
    const qint64 showing = total - last;
    std::printf("rows %d: read and shown in %lld ms; timer ticks %d (every 10 ms asked); "
                "longest gap while reading %lld ms; showing the result %lld ms\n",
                window.result().evidence.reading.rowsRead, static_cast<long long>(total), ticks,
                static_cast<long long>(longest), static_cast<long long>(showing));
    return 0;
}
