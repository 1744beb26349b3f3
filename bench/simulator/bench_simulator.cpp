// Benchmark: the simulated station on the bench document (four 2448x2048 mono cameras),
// fetched every 10 ms from another thread as the console's worker does. Reports images
// per second per camera, distinct pixel buffers seen, CPU share and resident memory.
#include "SimLogic.h"

#include "ProcStatus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QSet>

#include <sys/resource.h>

#include <atomic>
#include <cstdio>
#include <thread>


static double cpuSeconds()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QCoreApplication::applicationDirPath() + "/../bin/config/camera_cfg_bench.json";
    const int seconds = argc > 2 ? atoi(argv[2]) : 10;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QJsonObject doc = QJsonDocument::fromJson(f.readAll()).object();

    SimLogic logic;
    QString err;
    if (!logic.checkCameraCfg(doc, err) || !logic.setCameraCfg(doc)) {
        std::fprintf(stderr, "refused: %s\n", qPrintable(err));
        return 1;
    }
    QElapsedTimer t;
    t.start();
    if (!logic.initTask())
        return 1;
    const qint64 renderMs = t.elapsed();
    const long rssReady = procStatusKb("VmRSS");
    if (!logic.startTask())
        return 1;

    std::atomic<bool> stop{false};
    QHash<QString, quint64> perCamera;
    QSet<const uchar *> buffers;
    quint64 total = 0;
    std::thread worker([&] {
        while (!stop) {
            QList<ResultEntry> got;
            if (logic.fetchResults(&got))
                for (const ResultEntry &e : got) {
                    ++perCamera[e.name.section('_', 0, 0)];
                    buffers.insert(e.image.data);
                    ++total;
                }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    const double cpu0 = cpuSeconds();
    t.restart();
    long rssPeak = 0;
    while (t.elapsed() < seconds * 1000) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        rssPeak = std::max(rssPeak, procStatusKb("VmRSS"));
    }
    const double wall = t.elapsed() / 1000.0;
    const double cpu = cpuSeconds() - cpu0;
    stop = true;
    worker.join();
    logic.stopTask();

    std::printf("document: %s\n", qPrintable(path));
    std::printf("frames rendered at initTask: %.1f MB in %lld ms\n", logic.frames().bytes() / 1048576.0,
                static_cast<long long>(renderMs));
    for (auto it = perCamera.constBegin(); it != perCamera.constEnd(); ++it)
        std::printf("camera %s: %.1f images/s\n", qPrintable(it.key()), it.value() / wall);
    std::printf("images fetched: %llu in %.1f s, dropped unfetched: %llu\n", static_cast<unsigned long long>(total),
                wall, static_cast<unsigned long long>(logic.imagesDropped()));
    std::printf("distinct pixel buffers handed out: %d\n", buffers.size());
    std::printf("CPU: %.1f %% of one core (station thread + fetching)\n", 100.0 * cpu / wall);
    std::printf("resident memory: %ld kB after initTask, %ld kB peak while running\n", rssReady, rssPeak);
    return 0;
}
