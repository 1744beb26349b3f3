// Camera debug benchmark: the real tool window grabbing 2448x2048 8-bit mono frames
// continuously from the simulated camera module. Reports frames grabbed and shown per
// second with saving off, then with saving on (shown, and written to disk per second).
//
//   cd build/bench/cameradebug && xvfb-run -s '-screen 0 1920x1080x24' ./bench_cameradebug [seconds]
#include "BoxAnswerer.h"
#include "QtCameraDebug.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLibrary>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QCheckBox>
#include <QLineEdit>

#include <cstdio>

namespace {

QJsonObject benchDocument()
{
    auto param = [](const QString &name, const QStringList &values) {
        return QJsonObject{{"参数名", name}, {"相机参数值", QJsonArray::fromStringList(values)}};
    };
    const QJsonObject camera{{"相机key", "Cam01"}, {"模块名称", "HIK_2D"}, {"触发方式", "soft"},
                             {"取图超时", "1000"},
                             {"相机参数", QJsonArray{param("ROI", {"0", "0", "2448", "2048"}),
                                                     param("曝光时间", {"5000"}), param("增益", {"1.0"})}}};
    return QJsonObject{{"工站列表", QJsonArray{QJsonObject{{"工站名", "S1"},
                                                           {"相机模块列表", QJsonArray{camera}}}}}};
}

int framesGrabbed(const QString &folder, const CameraModule *camera)
{
    QLibrary lib(camerarules::moduleCopyPath(folder, 0));
    QStringList journal;
    if (lib.load())
        if (auto f = reinterpret_cast<void (*)(const CameraModule *, QStringList *)>(lib.resolve("simJournal")))
            f(camera, &journal);
    return journal.filter("data:").size();
}

// Runs the continuous grab for the given time; returns frames shown per second.
double run(QtCameraDebug &tool, const QString &folder, int ms)
{
    auto *toggle = tool.findChild<QPushButton *>("pushButton_GetImage_Aways");
    const CameraModule *camera = tool.cameraRecords().at(0).module.get();
    const int before = framesGrabbed(folder, camera);
    QElapsedTimer timer;
    timer.start();
    toggle->click();
    while (timer.elapsed() < ms && tool.continuousGrabRunning())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const qint64 elapsed = timer.elapsed();
    if (tool.continuousGrabRunning())
        toggle->click();
    else
        std::printf("  (continuous grab stopped after %lld ms: save queue full)\n", (long long)elapsed);
    return (framesGrabbed(folder, camera) - before) * 1000.0 / elapsed;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir program;
    QDir().mkpath(program.filePath("config"));
    QFile::copy(EP_CAMERA_MODULE, camerarules::moduleLibraryPath(program.path()));
    QFile doc(program.filePath("config/camera_cfg.json"));
    doc.open(QIODevice::WriteOnly);
    doc.write(QJsonDocument(benchDocument()).toJson());
    doc.close();
    QFile last(program.filePath("config/cameraDebug_lastCfg.json"));
    last.open(QIODevice::WriteOnly);
    last.write(R"({"上次打开": "camera_cfg.json"})");
    last.close();

    BoxAnswerer boxes;
    QtCameraDebug tool(nullptr, program.path());
    tool.showMaximized();
    QCoreApplication::processEvents();
    auto *cameras = tool.findChild<QTableWidget *>("tableWidget_2");
    cameras->selectRow(0);
    tool.findChild<QPushButton *>("pushButton_initModel")->click();
    if (!tool.cameraRecords().at(0).module) {
        std::printf("connect failed\n");
        return 1;
    }
    std::printf("2448x2048 8-bit mono, continuous grab, %d s per run\n", seconds);
    const double off = run(tool, program.path(), seconds * 1000);
    std::printf("saving off: %.1f frames shown per second\n", off);

    QTemporaryDir images(QDir::tempPath() + "/bench_cameradebug_XXXXXX");
    tool.findChild<QLineEdit *>("lineEdit")->setText(images.path());
    tool.findChild<QCheckBox *>("checkBox")->click();
    BitmapWriter &writer = tool.bitmapWriter();
    const qint64 writtenBefore = writer.writtenCount();
    QElapsedTimer timer;
    timer.start();
    const double on = run(tool, program.path(), seconds * 1000);
    const qint64 grabEnd = timer.elapsed();
    writer.waitIdle(600000);
    const qint64 written = writer.writtenCount() - writtenBefore;
    std::printf("saving on:  %.1f frames shown per second; %lld written in %.1f s (%.1f per second "
                "while grabbing, queue drained %.1f s after the grab stopped)\n",
                on, (long long)written, timer.elapsed() / 1000.0, written * 1000.0 / timer.elapsed(),
                (timer.elapsed() - grabEnd) / 1000.0);
    for (const BoxAnswerer::Box &b : boxes.boxes)
        std::printf("box: %s / %s\n", qPrintable(b.title), qPrintable(b.text));
    return 0;
}
