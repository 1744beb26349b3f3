// A simulated day of a station, through the real main window: products at a fixed
// rate in the station mix, the window's clock advancing with them, so every hour and
// both shift changes roll over. Prints resident memory at the start, every hour and
// the end, and checks each hour's row of the 24-hour table and each shift's counters
// against the products sent (OK / MISMATCH; exits 1 on any mismatch).
//   bench_day [products per second=10] [hours=24]
#include "Qt_epWindow.h"

#include "Logic_transfer.h"
#include "Platform.h"
#include "ProcStatus.h"
#include "ProductionRules.h"
#include "StationMix.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTableWidget>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Bytes the program holds on the heap, in kB (RSS also counts freed, unreturned pages).
long heapKb()
{
    const struct mallinfo2 m = mallinfo2();
    return long((m.uordblks + m.hblkhd) / 1024);
}

struct Tally
{
    long all = 0;
    long ok = 0;
    long ng() const { return all - ok; }
    void count(bool isOk)
    {
        ++all;
        isOk ? ++ok : 0;
    }
};

// Day shift from 08:30:00.000 to 20:29:59.999.
bool nightAt(const QTime &t)
{
    const int minute = t.hour() * 60 + t.minute();
    return minute < 8 * 60 + 30 || minute >= 20 * 60 + 30;
}

QString text(Qt_epWindow &window, const char *label)
{
    auto *l = window.findChild<QLabel *>(QLatin1String(label));
    return l ? l->text() : QStringLiteral("?");
}

} // namespace

int main(int argc, char *argv[])
{
    const int rate = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 10;
    const int hours = argc > 2 ? qMax(1, QByteArray(argv[2]).toInt()) : 24;
    const qint64 cycleMs = 1000 / rate;
    const qint64 shotMs = cycleMs / (shotsPerProduct + 1);

    // The day starts at 07:00, so it holds the end of a night shift, a whole day
    // shift and most of the next night.
    const QDateTime start(QDate(2026, 12, 9), QTime(7, 0));
    qint64 simMs = 0;
    platform::setClockForTest([&simMs] { return simMs; });
    platform::setLocalNowForTest([&] { return start.addMSecs(simMs); });

    QApplication app(argc, argv);
    Qt_epWindow window;
    // The bench is the station: the module's own products must not count.
    if (window.bridge())
        QObject::disconnect(window.bridge(), &Logic_transfer::LogicTransfer_writeData, &window,
                            &Qt_epWindow::getTransferData);
    app.processEvents();
    auto *table = window.findChild<QTableWidget *>(QStringLiteral("tableWidget_24H"));
    const QVector<StationMessage> mix = stationMix(997);
    const int perProduct = shotsPerProduct + 1;
    const long startRss = procStatusKb("VmRSS");
    std::printf("start %s, %d products/s, %d hours: RSS %ld kB, heap %ld kB\n",
                qPrintable(start.toString(QStringLiteral("yyyy-MM-dd hh:mm"))), rate, hours, startRss,
                heapKb());
    std::fflush(stdout);

    int mismatches = 0;
    auto check = [&mismatches](const char *what, const QString &name, long sent, const QString &shown) {
        const bool same = shown == QString::number(sent);
        if (!same)
            ++mismatches;
        std::printf("  %s %s: sent %ld, shown %s %s\n", what, qPrintable(name), sent, qPrintable(shown),
                    same ? "OK" : "MISMATCH");
    };
    auto checkShift = [&](bool night, const Tally &t) {
        const char *suffix = night ? "_night" : "_day";
        const QString name = night ? QStringLiteral("night") : QStringLiteral("day");
        check("shift", name + " total", t.all, text(window, (QByteArray("label_allNum") + suffix).constData()));
        check("shift", name + " OK", t.ok, text(window, (QByteArray("label_OKNum") + suffix).constData()));
        check("shift", name + " NG", t.ng(), text(window, (QByteArray("label_NGnum") + suffix).constData()));
    };

    QElapsedTimer timer;
    timer.start();
    const long products = long(hours) * 3600 * rate;
    Tally day, hour, shift;
    bool night = nightAt(start.time());
    int currentHour = start.time().hour();
    long sent = 0;
    std::vector<long> hourRss;
    for (long p = 0; p <= products; ++p) {
        simMs = p * cycleMs;
        const QDateTime now = start.addMSecs(simMs);
        if (now.time().hour() != currentHour || p == products) {
            // The hour's row closes at the first tick of the next hour.
            window.updateHourTable();
            const int row = currentHour + 1;
            auto cell = [table, row](int column) {
                const QTableWidgetItem *item = table ? table->item(row, column) : nullptr;
                return item ? item->text() : QStringLiteral("?");
            };
            const long rss = procStatusKb("VmRSS");
            hourRss.push_back(rss);
            std::printf("hour %02d-%02d done: RSS %ld kB, heap %ld kB, %lld s\n", currentHour,
                        currentHour + 1, rss, heapKb(), static_cast<long long>(timer.elapsed() / 1000));
            const QString name = QStringLiteral("%1-%2").arg(currentHour).arg(currentHour + 1);
            check("hour", name + " total", hour.all, cell(1));
            check("hour", name + " OK", hour.ok, cell(2));
            check("hour", name + " NG", hour.ng(), cell(4));
            std::fflush(stdout);
            hour = Tally();
            currentHour = now.time().hour();
        }
        if (p == products)
            break;
        if (nightAt(now.time()) != night) {
            // Last look at the shift before its first message of the next one.
            checkShift(night, shift);
            shift = Tally();
            night = !night;
        }
        const int first = int(p % (mix.size() / perProduct)) * perProduct;
        const QString sn = now.toString(QStringLiteral("yyyy-MM-dd#hh:mm:ss.zzz"));
        for (int m = 0; m < perProduct; ++m) {
            simMs = p * cycleMs + m * shotMs;
            const StationMessage &msg = mix.at(first + m);
            window.getTransferData(msg.key, msg.camera, sn, msg.data);
            if (++sent % 100 == 0)
                app.processEvents(); // paint and timers, as the running console would
        }
        const bool ok = mix.at(first + perProduct - 1).data.startsWith("9#");
        day.count(ok);
        hour.count(ok);
        shift.count(ok);
    }
    app.processEvents();
    checkShift(night, shift);
    check("day", QStringLiteral("total"), day.all, text(window, "label_allNum"));
    check("day", QStringLiteral("OK"), day.ok, text(window, "label_OKNum"));
    check("day", QStringLiteral("NG"), day.ng(), text(window, "label_NGnum"));

    const qint64 ms = timer.elapsed();
    const long endRss = procStatusKb("VmRSS");
    std::printf("end: %ld products, %ld messages in %lld s (%.0f messages/s): RSS %ld kB, heap %ld kB, "
                "peak RSS %ld kB\n",
                day.all, sent, static_cast<long long>(ms / 1000), ms > 0 ? sent * 1000.0 / ms : 0.0, endRss,
                heapKb(), procStatusKb("VmHWM"));
    // The run and result queues grow until the result queue is full.
    const size_t fullHour = size_t(production::kMaxQueuedLines / (3600L * rate)) + 1;
    auto spread = [&hourRss](size_t from, const char *what) {
        if (hourRss.size() <= from)
            return;
        const auto [lo, hi] = std::minmax_element(hourRss.begin() + long(from), hourRss.end());
        std::printf("RSS %s: %ld .. %ld kB (spread %ld kB)\n", what, *lo, *hi, *hi - *lo);
    };
    spread(1, "after the first hour");
    spread(fullHour, "once the log queues are full");
    std::printf("%s: %d mismatches\n", mismatches ? "MISMATCH" : "OK", mismatches);
    platform::setClockForTest({});
    platform::setLocalNowForTest({});
    return mismatches ? 1 : 0;
}
