// Messages handled per second by the real main window, and its memory, for module
// messages in a station's mix: per-shot messages of 8 shots on 4 cameras, then the
// product's result; 85 % OK; about one shot in five flags defects.
//   bench_messages [messages=200000] [long run=1000000]
#include "Qt_epWindow.h"

#include "ProcStatus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QVector>

#include <cstdio>
#include <random>

namespace {

struct Message
{
    QString key;
    QString camera;
    QByteArray data;
};


// A fixed pool of product cycles, reused: the benchmark itself allocates nothing new.
QVector<Message> stationMix(int products)
{
    const QStringList shots{"Cam01_0", "Cam01_1", "Cam02_0", "Cam03_0",
                            "Cam03_1", "Cam03_2", "Cam04_0", "Cam04_1"};
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pct(0, 99);
    QVector<Message> mix;
    for (int p = 0; p < products; ++p) {
        bool ng = false;
        for (const QString &shot : shots) {
            const QString algo = shot.startsWith("Cam01") || shot.startsWith("Cam02")
                                     ? QStringLiteral("盖板正反面检测")
                                     : QStringLiteral("盖板侧面检测");
            QByteArray data = "1*1*1*1*1*1";
            if (pct(rng) < 20) {
                data = "0";
                for (int c = 1; c <= 5; ++c)
                    data += pct(rng) < 30 ? "*0" : "*1";
                ng = true;
            }
            mix.append({algo, shot, data});
        }
        const bool ok = !ng || pct(rng) < 60;
        mix.append({QStringLiteral("盖板侧面检测"), QStringLiteral("Cam04_1"),
                    ok ? QByteArray("9#") + QByteArray::number(p) : QByteArray("2#") + QByteArray::number(p)});
    }
    return mix;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const long count = argc > 1 ? QByteArray(argv[1]).toLong() : 200000;
    const long longRun = argc > 2 ? QByteArray(argv[2]).toLong() : 1000000;

    Qt_epWindow window;
    app.processEvents();
    const QVector<Message> mix = stationMix(997);
    const QString sn = QStringLiteral("2026-12-09#10:00:00.000");
    std::printf("window up: RSS %ld kB\n", procStatusKb("VmRSS"));

    QElapsedTimer timer;
    timer.start();
    long sent = 0;
    auto run = [&](long upTo) {
        for (; sent < upTo; ++sent) {
            const Message &m = mix.at(int(sent % mix.size()));
            window.getTransferData(m.key, m.camera, sn, m.data);
            if (sent % 100 == 99)
                app.processEvents(); // paint and timers, as the running console would
        }
    };
    run(count);
    const qint64 ms = timer.elapsed();
    std::printf("%ld messages in %lld ms: %.0f messages/s\n", count, static_cast<long long>(ms),
                ms > 0 ? count * 1000.0 / ms : 0.0);
    std::printf("after %ld messages: RSS %ld kB, peak RSS %ld kB\n", count, procStatusKb("VmRSS"),
                procStatusKb("VmHWM"));
    std::fflush(stdout);
    if (longRun > count) {
        run(longRun);
        const qint64 all = timer.elapsed();
        std::printf("after %ld messages (%.0f messages/s overall): RSS %ld kB, peak RSS %ld kB\n",
                    longRun, all > 0 ? longRun * 1000.0 / all : 0.0, procStatusKb("VmRSS"),
                    procStatusKb("VmHWM"));
    }
    return 0;
}
