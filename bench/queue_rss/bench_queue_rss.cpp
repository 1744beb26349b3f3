// Runs the simulated station through a bridge without ever taking its images and
// prints the resident memory every interval: it must stay flat (bounded queue).
// usage: bench_queue_rss [document=camera_cfg_bench.json] [seconds=600] [interval=30]
#include "Logic_transfer.h"

#include "ProcStatus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cstdio>


int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString document = args.value(1, QStringLiteral("camera_cfg_bench.json"));
    const int seconds = args.value(2, QStringLiteral("600")).toInt();
    const int interval = qMax(1, args.value(3, QStringLiteral("30")).toInt());

    Logic_transfer bridge;
    const QJsonObject cfg = bridge.load_camera_cfg(document);
    QString error;
    if (!bridge.checkCameraCfg(cfg, error)) {
        std::fprintf(stderr, "document refused: %s\n", qPrintable(error));
        return 1;
    }
    bridge.setCameraCfg(cfg);
    if (!bridge.initTask() || !bridge.startTask()) {
        std::fprintf(stderr, "the module did not start\n");
        return 1;
    }
    long first = -1, peak = 0;
    QElapsedTimer clock;
    clock.start();
    for (int t = 0; t <= seconds; t += interval) {
        while (clock.elapsed() < qint64(t) * 1000) {
            app.processEvents(); // relays module messages; images stay queued
            QThread::msleep(20);
        }
        const long kb = procStatusKb("VmRSS");
        if (first < 0)
            first = kb;
        peak = qMax(peak, kb);
        std::printf("%5d s  RSS %ld kB\n", t, kb);
        std::fflush(stdout);
    }
    bridge.stopTask();
    std::printf("first %ld kB, peak %ld kB, growth %ld kB\n", first, peak, peak - first);
    return 0;
}
