// Display benchmark: a real main window (run it under Xvfb) showing four cameras of
// 2448x2048 8-bit mono images from the simulated module at 25 frames per second each.
// Reports per camera the frames handed to its view and the frames painted per second,
// the frames the module produced but the screen never got, and the longest stretch the
// GUI thread did not get round to a 1 ms timer.
//
//   cd build/bench/display && xvfb-run -s '-screen 0 1920x1080x24' ./bench_display [seconds]
#include "Logic_transfer.h"
#include "Qt_epWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kCameras = 4;
constexpr double kFps = 25.0;

bool writeStation()
{
    QFile sample(QStringLiteral(EP_SAMPLE_CONFIG_DIR "/camera_cfg_bench.json"));
    if (!sample.open(QIODevice::ReadOnly))
        return false;
    QJsonObject doc = QJsonDocument::fromJson(sample.readAll()).object();
    QJsonObject sim = doc.value(QStringLiteral("模拟设置")).toObject();
    sim.insert(QStringLiteral("图像宽度"), QStringLiteral("2448"));
    sim.insert(QStringLiteral("图像高度"), QStringLiteral("2048"));
    sim.insert(QStringLiteral("图像类型"), QJsonArray{QStringLiteral("8UC1")});
    sim.insert(QStringLiteral("图像帧率"), QString::number(kFps));
    sim.insert(QStringLiteral("PLC掉线间隔秒"), QStringLiteral("0"));
    sim.insert(QStringLiteral("相机掉线间隔秒"), QStringLiteral("0"));
    doc.insert(QStringLiteral("模拟设置"), sim);
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/config");
    QDir().mkpath(dir);
    QFile out(dir + QStringLiteral("/camera_cfg.json"));
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(QJsonDocument(doc).toJson()) > 0;
}

long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Item tags (a freed item's address is often reused by the next one).
constexpr int kHandedTag = 0x4841;
constexpr int kPaintedTag = 0x5041;

// Counts, per view, the pictures painted: a paint that shows an item not painted
// before is a new frame on screen.
class PaintProbe : public QObject
{
public:
    PaintProbe(Qt_epWindow *w) : m_window(w)
    {
        for (QGraphicsView *v : w->cameraViews())
            v->viewport()->installEventFilter(this);
        painted.assign(size_t(w->cameraViews().size()), 0);
    }
    std::vector<long> painted;
    bool counting = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            const auto &views = m_window->cameraViews();
            for (int c = 0; c < views.size(); ++c) {
                if (views.at(c)->viewport() != watched)
                    continue;
                QGraphicsItem *item = m_window->cameraViewItems().at(c);
                if (item && item->data(kPaintedTag).isNull()) {
                    item->setData(kPaintedTag, true);
                    if (counting)
                        ++painted[size_t(c)];
                }
            }
        }
        return false;
    }

private:
    Qt_epWindow *m_window;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    if (!writeStation()) {
        std::fprintf(stderr, "cannot write the station document\n");
        return 1;
    }
    std::printf("platform: %s, screen %dx%d\n", qPrintable(QGuiApplication::platformName()),
                QGuiApplication::primaryScreen()->size().width(), QGuiApplication::primaryScreen()->size().height());

    auto *window = new Qt_epWindow(nullptr);
    if (window->cameraViews().size() != kCameras || !window->imageTimer()) {
        std::fprintf(stderr, "the station did not start (%d views)\n", int(window->cameraViews().size()));
        return 1;
    }

    // Frames handed to each view: checked right after every hand-off (connected after the window's slot).
    std::vector<long> handed(kCameras, 0);
    bool counting = false;
    QObject::connect(window->imageTimer(), &QTimer::timeout, [&] {
        for (int c = 0; c < kCameras; ++c) {
            QGraphicsItem *item = window->cameraViewItems().at(c);
            if (item && item->data(kHandedTag).isNull()) {
                item->setData(kHandedTag, true);
                if (counting)
                    ++handed[size_t(c)];
            }
        }
    });
    PaintProbe probe(window);

    // GUI-thread responsiveness: gaps between ticks of a 1 ms timer.
    QElapsedTimer tick;
    qint64 longestGap = 0, lastTick = 0;
    std::vector<qint64> gaps;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = tick.nsecsElapsed();
        if (counting && lastTick > 0) {
            const qint64 gap = now - lastTick;
            gaps.push_back(gap);
            longestGap = std::max(longestGap, gap);
        }
        lastTick = now;
    });

    long rssStart = 0;
    QElapsedTimer measured;
    QTimer::singleShot(3000, [&] { // warm-up: first frames, first paints
        counting = true;
        probe.counting = true;
        tick.start();
        lastTick = 0;
        heartbeat.start();
        measured.start();
        rssStart = residentKiB();
    });
    QTimer::singleShot(3000 + seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    counting = false;
    probe.counting = false;
    const double secs = measured.nsecsElapsed() / 1e9;
    const long rssEnd = residentKiB();

    std::sort(gaps.begin(), gaps.end());
    const auto pct = [&](double p) {
        return gaps.empty() ? 0.0 : gaps[size_t(p * double(gaps.size() - 1))] / 1e6;
    };
    std::printf("measured %.1f s, 4 cameras x 2448x2048 8-bit mono at %.0f frames/s from the module\n", secs, kFps);
    long totalDropped = 0;
    for (int c = 0; c < kCameras; ++c) {
        const long produced = long(kFps * secs);
        const long dropped = std::max(0L, produced - handed[size_t(c)]);
        totalDropped += dropped;
        std::printf("camera %d: handed to view %.1f/s, painted %.1f/s, dropped %ld of ~%ld\n", c + 1,
                    handed[size_t(c)] / secs, probe.painted[size_t(c)] / secs, dropped, produced);
    }
    std::printf("frames dropped in total: %ld\n", totalDropped);
    std::printf("GUI thread: longest gap between 1 ms ticks %.1f ms, 99.9th percentile %.1f ms, median %.2f ms\n",
                longestGap / 1e6, pct(0.999), pct(0.5));
    std::printf("resident memory: %ld KiB at start, %ld KiB at end\n", rssStart, rssEnd);
    delete window;
    return 0;
}
