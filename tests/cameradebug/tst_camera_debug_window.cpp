// The camera debug window against the simulated camera module: every box and button state,
// connecting, grabbing, saving, write-back, and release of every camera.
#include "BoxAnswerer.h"
#include "CameraTestFolder.h"
#include "FramelessRules.h"
#include "Platform.h"
#include "QImageWidget.h"
#include "QtCameraDebug.h"
#include "TextFits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include <opencv2/imgcodecs.hpp>

#include <memory>

#include <sys/stat.h>

using namespace camtest;

namespace {

struct Tool
{
    explicit Tool(const QJsonArray &cameras)
    {
        folder.writeDocument("camera_cfg.json", document(cameras));
        folder.writeDocument("other_cfg.json",
                             document({camera("Cam09", "Basler", "soft"), camera("Cam10", "HIK", "soft")}));
        folder.writeDocument("password.json", QJsonObject{{"管理员", QJsonObject()}});
        folder.setLastConfig("camera_cfg.json");
        window = std::make_unique<QtCameraDebug>(nullptr, folder.path());
    }

    template <typename T>
    T *w(const char *name) const
    {
        T *widget = window->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    QPushButton *button(const char *name) const { return w<QPushButton>(name); }
    QTableWidget *cameras() const { return w<QTableWidget>("tableWidget_2"); }
    QTableWidget *params() const { return w<QTableWidget>("tableWidget"); }

    void select(int row) const
    {
        QTableWidget *t = cameras();
        const QRect cell = t->visualItemRect(t->item(row, 0));
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void setParam(const QString &name, const QString &value) const
    {
        for (int r = 0; r < params()->rowCount(); ++r)
            if (params()->item(r, 0)->text() == name)
                params()->item(r, 1)->setText(value);
    }
    // Enabled state of connect, grab, continuous, disconnect.
    QString buttons() const
    {
        QString s;
        for (const char *name : {"pushButton_initModel", "pushButton_GetImage",
                                 "pushButton_GetImage_Aways", "pushButton_closeModel"})
            s += button(name)->isEnabled() ? '1' : '0';
        return s;
    }
    QStringList journal(int camera) const
    {
        return folder.journal(camera, window->cameraRecords().at(camera).module.get());
    }
    QImage shown() const
    {
        QImageWidget *item = window->shownItem();
        const QRectF r = item->boundingRect();
        QImage image(int(r.width()), int(r.height()), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.translate(-r.topLeft());
        item->paint(&painter, nullptr, nullptr);
        return image;
    }
    QStringList boxTexts()
    {
        QStringList texts;
        for (const BoxAnswerer::Box &b : boxes.take())
            texts << b.title + "/" + b.text;
        return texts;
    }

    BoxAnswerer boxes;
    Folder folder;
    std::unique_ptr<QtCameraDebug> window;
};

QJsonArray threeCameras(const QJsonArray &firstExtra = {}, const QJsonArray &secondExtra = {})
{
    return {camera("Cam01", "HIK_2D", "hard", firstExtra), camera("Cam02", "Basler", "soft", secondExtra),
            camera("Cam03", "Sony", "hard")};
}

} // namespace

class TestCameraDebugWindow : public QObject
{
    Q_OBJECT
private slots:
    void init() { platform::setLocalNowForTest({}); }
    void construction_restoresLastConfiguration();
    void construction_refusesStrangeLastConfiguration();
    void construction_fitsASmallScreen();
    void connect_callOrderAndParameterMap();
    void refusals();
    void grab_everyFrameType_data();
    void grab_everyFrameType();
    void grab_setDataFalseShowsNothing();
    void saving_fileEveryGrab();
    void exposureGain_cLocale();
    void continuousGrab();
    void release_closeConfigurationChangeDestroy();
    void writeBack_keepsOtherWriters();
    void writeBack_refusalsKeepDocument_data();
    void writeBack_refusalsKeepDocument();
};

void TestCameraDebugWindow::construction_restoresLastConfiguration()
{
    Tool t(threeCameras());
    auto *combo = t.w<QComboBox>("comboBox");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QCOMPARE(items, QStringList({"camera_cfg.json", "other_cfg.json"}));
    QCOMPARE(combo->currentText(), QStringLiteral("camera_cfg.json"));
    QCOMPARE(t.cameras()->rowCount(), 3);
    QCOMPARE(t.cameras()->item(0, 0)->text(), QStringLiteral("相机0: 2D：海康（面阵/线扫） 硬触发"));
    QCOMPARE(t.cameras()->item(1, 0)->text(), QStringLiteral("相机1: 2D：Basler（面阵/线扫） 软触发"));
    QCOMPARE(t.cameras()->item(2, 0)->text(), QStringLiteral("相机2: "));
    QCOMPARE(t.boxTexts(), QStringList({"失败/匹配失败"}));
    QCOMPARE(t.buttons(), QStringLiteral("0000"));
    QCOMPARE(t.w<QLabel>("label_GetImage_Aways")->text(), QStringLiteral("连续采集-开始"));
    QVERIFY(t.window->isVisible());
    QVERIFY(t.window->windowFlags() & Qt::FramelessWindowHint);

    // Save before any selection is refused.
    t.button("pushButton_saveCamera")->click();
    QCOMPARE(t.boxTexts(), QStringList({"失败/不匹配，保存参数失败！"}));
}

void TestCameraDebugWindow::construction_refusesStrangeLastConfiguration()
{
    for (const char *last : {"../camera_cfg.json", "password.json", "missing.json", "camera_cfg"}) {
        Folder folder;
        folder.writeDocument("camera_cfg.json", document(threeCameras()));
        folder.writeDocument("password.json", QJsonObject{{"x", "y"}});
        folder.setLastConfig(last);
        BoxAnswerer boxes;
        QtCameraDebug window(nullptr, folder.path());
        QCOMPARE(window.findChild<QTableWidget *>("tableWidget_2")->rowCount(), 0);
        QCOMPARE(boxes.count(), 0);
    }
    // No last choice (no file, or the empty one older versions made): the document the
    // combo box shows is opened and remembered.
    for (const bool emptyFile : {false, true}) {
        Folder folder;
        folder.writeDocument("camera_cfg.json", document(threeCameras()));
        folder.writeDocument("other_cfg.json", document({camera("Cam09", "Basler", "soft")}));
        if (emptyFile)
            folder.write("cameraDebug_lastCfg.json", "");
        BoxAnswerer boxes;
        QtCameraDebug window(nullptr, folder.path());
        QCOMPARE(window.findChild<QComboBox *>("comboBox")->currentText(), QStringLiteral("camera_cfg.json"));
        QCOMPARE(window.findChild<QTableWidget *>("tableWidget_2")->rowCount(), 3);
        QCOMPARE(window.cameraRecords().size(), 3);
        QCOMPARE(folder.readDocument("cameraDebug_lastCfg.json").value("上次打开").toString(),
                 QStringLiteral("camera_cfg.json"));
    }
}

void TestCameraDebugWindow::construction_fitsASmallScreen()
{
    // At two thirds of a 1366x768 screen the tool keeps its size (its contents scroll) and
    // shows every caption and button text whole.
    Tool t(threeCameras());
    const QSize size = frameless::toolGeometry(QSize(1366, 768)).size();
    t.window->show();
    t.window->resize(size);
    QCoreApplication::processEvents();
    QCOMPARE(t.window->size(), size);
    const QStringList cut = textfits::cutTexts(t.window.get());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

void TestCameraDebugWindow::connect_callOrderAndParameterMap()
{
    Tool t(threeCameras({param("SimFormat", {"mono8"})}));
    t.boxes.clear();
    t.select(0);
    QCOMPARE(t.buttons(), QStringLiteral("1000"));
    QCOMPARE(t.params()->item(0, 0)->text(), QStringLiteral("相机key"));
    QCOMPARE(t.params()->item(0, 1)->text(), QStringLiteral("Cam01"));
    QVERIFY(t.w<QCheckBox>("checkBox_hard")->isChecked());
    QCOMPARE(t.window->cameraTypeText(), QStringLiteral("2D：海康（面阵/线扫） "));

    t.button("pushButton_initModel")->click();
    QCOMPARE(t.boxTexts(), QStringList());
    QCOMPARE(t.buttons(), QStringLiteral("0111"));
    QCOMPARE(t.window->typeCode(), 0);
    QVERIFY(t.window->cameraRecords().at(0).module);
    QCOMPARE(t.window->cameraRecords().at(0).module->id, 0);
    QStringList keys{"相机key", "取图超时", "ROI", "曝光时间", "增益", "SimFormat"};
    std::sort(keys.begin(), keys.end());
    const QString setParams = "setParams:id=0:" + keys.join('|');
    QCOMPARE(t.journal(0), QStringList({"create:0", setParams, "init"}));
    QCOMPARE(t.folder.liveCameras(0), 1);
    QVERIFY(!QFileInfo(camerarules::moduleCopyPath(t.folder.path(), 0)).isSymLink());

    // The same camera again: no second object, parameters and init again.
    t.button("pushButton_initModel")->setEnabled(true);
    t.button("pushButton_initModel")->click();
    QCOMPARE(t.folder.liveCameras(0), 1);
    QCOMPARE(t.journal(0), QStringList({"create:0", setParams, "init", setParams, "init"}));

    t.button("pushButton_closeModel")->click();
    QCOMPARE(t.buttons(), QStringLiteral("1000"));
    QCOMPARE(t.folder.liveCameras(0), 0);
    QVERIFY(!t.window->cameraRecords().at(0).module);
}

void TestCameraDebugWindow::refusals()
{
    Tool t(threeCameras({}, {param("SimFail", {"init"})}));
    t.boxes.clear();
    t.select(0);

    t.setParam("相机key", "输入SN");
    t.button("pushButton_initModel")->click();
    QCOMPARE(t.boxTexts(), QStringList({"相机key参数错误/未输入SN"}));
    QCOMPARE(t.buttons(), QStringLiteral("1000"));
    QCOMPARE(t.folder.liveCameras(0), 0);

    t.setParam("相机key", "Cam01");
    t.setParam("取图超时", "");
    t.button("pushButton_initModel")->click();
    QCOMPARE(t.boxTexts(), QStringList({"相机参数错误/相机参数名或参数值为空"}));
    QCOMPARE(t.buttons(), QStringLiteral("1000"));

    t.button("pushButton_set")->click();
    QCOMPARE(t.boxTexts(), QStringList({"错误/相机未初始化"}));

    t.w<QCheckBox>("checkBox")->click();
    QCOMPARE(t.boxTexts(), QStringList({"错误/保存图像路径为空，请先选择路径"}));
    QVERIFY(!t.w<QCheckBox>("checkBox")->isChecked());

    // Unmatched type: no type shown, connect refused, starting states back.
    t.select(2);
    QCOMPARE(t.window->cameraTypeText(), QString());
    t.button("pushButton_initModel")->click();
    QCOMPARE(t.boxTexts(), QStringList({"失败/加载默认相机参数失败", "失败/加载默认参数失败！"}));
    QCOMPARE(t.buttons(), QStringLiteral("1000"));
    QVERIFY(!t.window->cameraRecords().at(2).module);

    // init false: box, starting states; the object stays for the next try.
    t.select(1);
    t.button("pushButton_initModel")->click();
    QCOMPARE(t.boxTexts(), QStringList({"失败/相机模块初始化失败！"}));
    QCOMPARE(t.buttons(), QStringLiteral("1000"));
    QCOMPARE(t.folder.liveCameras(1), 1);
    t.button("pushButton_initModel")->click();
    QCOMPARE(t.folder.liveCameras(1), 1);
    t.boxes.clear();

    // Nothing selected.
    t.cameras()->clearSelection();
    t.button("pushButton_initModel")->click();
    QCOMPARE(t.boxTexts(), QStringList({"失败/初始化失败，未选择相机"}));
    QCOMPARE(t.buttons(), QStringLiteral("1000"));
    t.button("pushButton_saveCamera")->click();
    QCOMPARE(t.boxTexts(), QStringList({"失败/未选择相机，保存参数失败！"}));
}

void TestCameraDebugWindow::grab_everyFrameType_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("pattern");
    for (const char *f : {"mono8", "mono16", "bgr", "bgra", "roi"})
        QTest::newRow(f) << f << "moving";
    QTest::newRow("mono16 flat") << "mono16" << "flat";
}

void TestCameraDebugWindow::grab_everyFrameType()
{
    QFETCH(QString, format);
    QFETCH(QString, pattern);
    Tool t(threeCameras({param("SimFormat", {format}), param("SimPattern", {pattern})}));
    t.select(0);
    t.button("pushButton_initModel")->click();
    t.button("pushButton_GetImage")->click();
    const QImage shown = t.shown();
    QCOMPARE(shown.size(), QSize(64, 48));
    // Frame 0 of the simulated camera: ramp x + y (at most 110), full brightness.
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const int ramp = x + y;
            const QRgb p = shown.pixel(x, y);
            QRgb want;
            if (format == "mono8" || format == "roi")
                want = qRgb(ramp, ramp, ramp);
            else if (format == "bgr" || format == "bgra")
                want = qRgb(255 - ramp, ramp / 2, ramp);
            else if (pattern == "flat")
                want = qRgb(0, 0, 0);
            else if (ramp == 0 || ramp == 110)
                want = ramp ? qRgb(255, 255, 255) : qRgb(0, 0, 0); // minimum black, maximum white
            else {
                QVERIFY(qAbs(qRed(p) - ramp * 255.0 / 110) <= 0.5001);
                continue;
            }
            if ((p & 0xffffff) != (want & 0xffffff) || qAlpha(p) != 255)
                QFAIL(qPrintable(QString("pixel %1,%2: %3 want %4").arg(x).arg(y)
                                     .arg(p, 8, 16).arg(want, 8, 16)));
        }
}

void TestCameraDebugWindow::grab_setDataFalseShowsNothing()
{
    Tool t(threeCameras({param("SimFail", {"setData"})}));
    t.select(0);
    t.button("pushButton_initModel")->click();
    t.button("pushButton_GetImage")->click();
    QCOMPARE(t.shown().size(), QSize(100, 100)); // still the selection's placeholder
    QVERIFY(!t.journal(0).contains("data:0"));
}

void TestCameraDebugWindow::saving_fileEveryGrab()
{
    const QDateTime now(QDate(2026, 12, 9), QTime(10, 0, 0, 5));
    platform::setLocalNowForTest([now] { return now; });
    QTemporaryDir images;
    Tool t(threeCameras({param("SimFormat", {"mono8"})}, {param("SimFormat", {"mono16"})}));
    t.boxes.clear();
    t.w<QLineEdit>("lineEdit")->setText(images.path());
    t.w<QCheckBox>("checkBox")->click();
    QVERIFY(t.w<QCheckBox>("checkBox")->isChecked());
    t.select(0);
    t.button("pushButton_initModel")->click();
    t.button("pushButton_GetImage")->click();
    t.button("pushButton_GetImage")->click();
    t.select(1);
    t.button("pushButton_initModel")->click();
    t.button("pushButton_GetImage")->click();
    QVERIFY(t.window->bitmapWriter().waitIdle(10000));
    QCOMPARE(QDir(images.path()).entryList(QDir::Files),
             QStringList({"2026-12-09-10-00-00-005.bmp", "2026-12-09-10-00-00-005_1.bmp",
                          "2026-12-09-10-00-00-005_2.png"}));
    const cv::Mat first = cv::imread(images.filePath("2026-12-09-10-00-00-005.bmp").toStdString(),
                                     cv::IMREAD_UNCHANGED);
    const cv::Mat second = cv::imread(images.filePath("2026-12-09-10-00-00-005_1.bmp").toStdString(),
                                      cv::IMREAD_UNCHANGED);
    const cv::Mat deep = cv::imread(images.filePath("2026-12-09-10-00-00-005_2.png").toStdString(),
                                    cv::IMREAD_UNCHANGED);
    QCOMPARE(first.type(), CV_8UC1);
    QCOMPARE(int(first.at<uchar>(10, 20)), 30);
    QCOMPARE(int(second.at<uchar>(10, 20)), 34); // the next frame
    QCOMPARE(deep.type(), CV_16UC1);
    QCOMPARE(int(deep.at<ushort>(10, 20)), 30 * 257);
    QCOMPARE(t.boxTexts(), QStringList());

    // A folder that cannot be written: one box, saving stops.
    t.w<QLineEdit>("lineEdit")->setText(images.filePath("gone"));
    t.button("pushButton_GetImage")->click();
    t.button("pushButton_GetImage")->click();
    QTRY_COMPARE(t.boxes.count(), 1);
    QCOMPARE(t.boxes.boxes.at(0).title, QStringLiteral("错误"));
    QVERIFY(t.boxes.boxes.at(0).text.contains(images.filePath("gone")));
    QVERIFY(!t.w<QCheckBox>("checkBox")->isChecked());
}

void TestCameraDebugWindow::exposureGain_cLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Tool t(threeCameras());
    t.select(0);
    t.button("pushButton_initModel")->click();
    t.w<QSpinBox>("spinBox")->setValue(5000);
    t.w<QDoubleSpinBox>("doubleSpinBox")->setValue(2.5);
    QCOMPARE(t.w<QDoubleSpinBox>("doubleSpinBox")->text(), QStringLiteral("2.50"));
    t.button("pushButton_set")->click();
    QCOMPARE(t.journal(0).mid(3), QStringList({"command:SetExposureTime_5000#", "command:SetGain_2.50"}));
    QLocale::setDefault(QLocale::c());
}

void TestCameraDebugWindow::continuousGrab()
{
    Tool t(threeCameras());
    t.select(0);
    t.button("pushButton_initModel")->click();
    t.button("pushButton_GetImage_Aways")->click();
    QVERIFY(t.window->continuousGrabRunning());
    QCOMPARE(t.w<QLabel>("label_GetImage_Aways")->text(), QStringLiteral("循环获取图像-停止"));
    QCOMPARE(t.buttons(), QStringLiteral("0011"));
    QTRY_VERIFY(t.journal(0).contains("data:3"));
    t.button("pushButton_closeModel")->click();
    QVERIFY(!t.window->continuousGrabRunning());
    QCOMPARE(t.w<QLabel>("label_GetImage_Aways")->text(), QStringLiteral("循环获取图像-开始"));
    QCOMPARE(t.buttons(), QStringLiteral("1000"));
    QCOMPARE(t.folder.liveCameras(0), 0);
}

void TestCameraDebugWindow::release_closeConfigurationChangeDestroy()
{
    Tool t(threeCameras());
    QSignalSpy done(t.window.get(), &QtCameraDebug::QtCameraDebug_done);
    auto connectTwo = [&] {
        t.select(0);
        t.button("pushButton_initModel")->click();
        t.select(1); // disconnects row 1 only; camera 0 stays connected
        QCOMPARE(t.folder.liveCameras(0), 1);
        t.button("pushButton_initModel")->click();
        QCOMPARE(t.folder.liveCameras(1), 1);
    };
    connectTwo();
    t.button("pushButton_GetImage_Aways")->click();
    t.window->close();
    QCOMPARE(done.count(), 1);
    QVERIFY(!t.window->isVisible());
    QVERIFY(!t.window->continuousGrabRunning());
    QCOMPARE(t.folder.liveCameras(0) + t.folder.liveCameras(1), 0);

    t.window->show();
    connectTwo();
    t.button("pushButton_GetImage_Aways")->click();
    t.w<QComboBox>("comboBox")->setCurrentText("other_cfg.json");
    QVERIFY(!t.window->continuousGrabRunning());
    QCOMPARE(t.folder.liveCameras(0) + t.folder.liveCameras(1), 0);
    QCOMPARE(t.window->cameraRecords().size(), 2);
    QCOMPARE(t.folder.readDocument("cameraDebug_lastCfg.json").value("上次打开").toString(),
             QStringLiteral("other_cfg.json"));

    t.select(0);
    t.button("pushButton_initModel")->click();
    QCOMPARE(t.folder.liveCameras(0), 1);
    t.window.reset();
    QCOMPARE(t.folder.liveCameras(0), 0);
}

void TestCameraDebugWindow::writeBack_keepsOtherWriters()
{
    Tool t(threeCameras());
    t.boxes.clear();
    t.select(0);
    t.setParam("曝光时间", "1,,2");
    t.button("pushButton_initModel")->click();

    // The parameter editor saves camera 1 meanwhile.
    QJsonObject other = t.folder.readDocument("camera_cfg.json");
    other.insert("存图设置", QJsonArray{QJsonObject{{"相机key", "Cam02"}}});
    t.folder.writeDocument("camera_cfg.json", other);

    t.button("pushButton_closeModel")->click();
    QJsonObject doc = t.folder.readDocument("camera_cfg.json");
    QCOMPARE(storedValues(doc, 0, "曝光时间"), QStringList({"1", "", "2"}));
    QCOMPARE(doc.value("存图设置").toArray().size(), 1);
    QCOMPARE(doc.value("未知键").toArray(), QJsonArray({"a", "b"}));

    // Save parameters writes the edited value only.
    t.select(1);
    t.setParam("增益", "3.3");
    t.button("pushButton_saveCamera")->click();
    doc = t.folder.readDocument("camera_cfg.json");
    QCOMPARE(storedValues(doc, 1, "增益"), QStringList({"3.3"}));
    QCOMPARE(t.boxTexts(), QStringList());

    // A write that fails is reported, not passed off as done.
    QFile::remove(t.folder.config("camera_cfg.json"));
    t.setParam("增益", "4.4");
    t.button("pushButton_saveCamera")->click();
    const QStringList boxes = t.boxTexts();
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes.first().startsWith("失败/相机参数写入配置文件失败："));
}

void TestCameraDebugWindow::writeBack_refusalsKeepDocument_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("box");
    // The parameter editor saved another gain for the same camera after the tool loaded it.
    QTest::newRow("value changed on disk") << false << "失败/相机参数已被其它窗口或程序修改，本次未保存：";
    // 0444: refused for root too.
    QTest::newRow("read-only document") << true << "失败/相机参数写入配置文件失败：";
}

void TestCameraDebugWindow::writeBack_refusalsKeepDocument()
{
    QFETCH(bool, readOnly);
    QFETCH(QString, box);
    Tool t(threeCameras());
    t.boxes.clear();
    t.select(0);
    t.setParam("增益", "111");
    t.button("pushButton_initModel")->click();
    const QString path = t.folder.config("camera_cfg.json");
    if (readOnly)
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    else
        t.folder.writeDocument("camera_cfg.json",
                               withValue(t.folder.readDocument("camera_cfg.json"), 0, "增益", {"222"}));
    auto bytes = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    auto mode = [&] {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
    };
    const QByteArray before = bytes();
    const mode_t modeBefore = mode();

    t.button("pushButton_closeModel")->click(); // disconnect writes back
    t.select(0);
    t.button("pushButton_saveCamera")->click();
    const QStringList boxes = t.boxTexts();
    QCOMPARE(boxes.size(), 2);
    for (const QString &text : boxes) {
        QVERIFY2(text.startsWith(box), qPrintable(text));
        QVERIFY(readOnly || text.contains("Cam01 增益"));
    }
    QCOMPARE(bytes(), before);
    QCOMPARE(storedValues(t.folder.readDocument("camera_cfg.json"), 0, "增益"),
             QStringList({readOnly ? "1.0" : "222"}));
    QCOMPARE(mode(), modeBefore);
}

QTEST_MAIN(TestCameraDebugWindow)
#include "tst_camera_debug_window.moc"
