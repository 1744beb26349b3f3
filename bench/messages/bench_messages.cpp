// Messages handled per second by the real main window, and its memory, for module
// messages in a station's mix: per-shot messages of 8 shots on 4 cameras, then the
// product's result; about one shot in five flags defects.
//   bench_messages [messages=200000] [long run=1000000]
#include "Qt_epWindow.h"

#include "ProcStatus.h"
#include "StationMix.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const long count = argc > 1 ? QByteArray(argv[1]).toLong() : 200000;
    const long longRun = argc > 2 ? QByteArray(argv[2]).toLong() : 1000000;

    Qt_epWindow window;
    app.processEvents();
    const QVector<StationMessage> mix = stationMix(997);
    const QString sn = QStringLiteral("2026-12-09#10:00:00.000");
    std::printf("window up: RSS %ld kB\n", procStatusKb("VmRSS"));

    QElapsedTimer timer;
    timer.start();
    long sent = 0;
    auto run = [&](long upTo) {
        for (; sent < upTo; ++sent) {
            const StationMessage &m = mix.at(int(sent % mix.size()));
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
