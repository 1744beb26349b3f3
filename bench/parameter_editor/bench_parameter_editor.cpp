// Parameter editor benchmark: a station document of N camera modules (ten to a station,
// three parameters each, one algorithm per station) opened the way the main window opens
// the editor: construction (which builds the boxes of the document once), then
// load_camera_cfg + initTabs, then show with the pending events processed. Every step is
// timed for N = 50, 500 and 2000 unless counts are given.
//
//   cd build/bench && QT_QPA_PLATFORM=offscreen ./bench_parameter_editor [count ...]
#include "QtParameterSettings.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QJsonObject stationDocument(int cameras)
{
    auto param = [](const QString &name, const QStringList &values) {
        return QJsonObject{{"参数名", name}, {"相机参数值", QJsonArray::fromStringList(values)}};
    };
    QJsonArray stations;
    for (int first = 0; first < cameras; first += 10) {
        QJsonArray modules;
        for (int i = first; i < qMin(cameras, first + 10); ++i)
            modules.append(QJsonObject{
                {"相机key", QStringLiteral("Cam%1").arg(i)},
                {"界面窗口名称", QStringLiteral("相机%1").arg(i)},
                {"相机参数", QJsonArray{param("ROI", {"0", "0", "2448", "2048"}),
                                        param("曝光时间", {"5000"}), param("增益", {"1.0"})}}});
        const QJsonObject algorithm{
            {"算法名称", QStringLiteral("Alg%1").arg(first / 10)},
            {"算法初始化参数", QJsonArray{QJsonObject{{"算法参数名", "阈值"},
                                                      {"算法参数值", QJsonArray{"10"}}}}}};
        stations.append(QJsonObject{{"工站名", QStringLiteral("S%1").arg(first / 10)},
                                    {"相机模块列表", modules},
                                    {"算法列表", QJsonArray{algorithm}}});
    }
    return QJsonObject{{"工站列表", stations}};
}

double msSince(QElapsedTimer &timer)
{
    const double ms = timer.nsecsElapsed() / 1e6;
    timer.restart();
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts << QString::fromLocal8Bit(argv[i]).toInt();
    if (counts.isEmpty())
        counts = {50, 500, 2000};

    std::printf("%8s %12s %14s %10s %14s %10s\n", "cameras", "construct_ms", "load+init_ms",
                "show_ms", "reopen_ms", "boxes");
    for (int count : counts) {
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + QStringLiteral("/config"));
        QFile file(dir.path() + QStringLiteral("/config/camera_cfg.json"));
        if (!file.open(QIODevice::WriteOnly)
            || file.write(QJsonDocument(stationDocument(count)).toJson()) < 0)
            return 1;
        file.close();

        QElapsedTimer timer;
        timer.start();
        QtParameterSettings editor(nullptr, dir.path());
        const double construct = msSince(timer);
        editor.initTabs(editor.load_camera_cfg(QStringLiteral("camera_cfg.json")));
        const double build = msSince(timer);
        editor.show();
        QCoreApplication::processEvents();
        const double show = msSince(timer);
        // A second opening of the shown window.
        editor.initTabs(editor.load_camera_cfg(QStringLiteral("camera_cfg.json")));
        QCoreApplication::processEvents();
        const double reopen = msSince(timer);
        std::printf("%8d %12.1f %14.1f %10.1f %14.1f %10d\n", count, construct, build, show,
                    reopen, int(editor.cameraBoxes().size()));
        std::fflush(stdout);
    }
    return 0;
}
