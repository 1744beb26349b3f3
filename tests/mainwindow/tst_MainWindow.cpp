// The real main window against the simulated logic module.
#include "LogBatch.h"
#include "Qt_epWindow.h"

#include "FramelessRules.h"
#include "ImageEntry.h"
#include "Logic_transfer.h"
#include "Platform.h"
#include "QtFramelessWindow.h"
#include "QtDefectSet.h"
#include "QtParameterSettings.h"
#include "QtPassword.h"
#include "QtSaveImgSet.h"
#include "WindowTestSupport.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTest>

#include <memory>
#include <opencv2/core.hpp>

namespace {

template <class T>
T *child(QWidget *w, const char *name)
{
    T *found = w->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

bool windowHasDispatch()
{
    return Qt_epWindow::staticMetaObject.indexOfSlot("getTransferData(QString,QString,QString,QByteArray)") >= 0;
}

// Emits one module data message through the window's bridge and returns how many
// run-log lines it produced: one per connection of the message signal.
int messageDeliveries(Qt_epWindow &w)
{
    auto *run = w.findChild<QPlainTextEdit *>(QStringLiteral("plainTextEdit_run"));
    // Run lines reach the view in batches: write the waiting ones before counting.
    auto flush = [run] {
        if (auto *batch = run->findChild<LogBatch *>())
            batch->flush();
    };
    flush();
    const int before = logLines(run).size();
    emit w.bridge()->LogicTransfer_writeData(QStringLiteral("算法"), QStringLiteral("Cam01_0"),
                                             QStringLiteral("SN0001"), QByteArray("0"));
    flush();
    return logLines(run).size() - before;
}

const QString kLampGreen = QStringLiteral("QPushButton{ background-color: rgb(0, 255, 0); }");
const QString kLampRed = QStringLiteral("QPushButton{ background-color: rgb(255, 0, 0); }");

QString iconOf(QWidget *w, const char *button)
{
    const QString style = child<QPushButton>(w, button)->styleSheet();
    const int a = style.indexOf(QLatin1String("./Icon/"));
    return style.mid(a + 7, style.indexOf(QLatin1Char(')'), a) - a - 7);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startUpRunsTheStation();
    void startUpFailures_data();
    void startUpFailures();
    void startUpStartRefused();
    void laterLoginsOnlyChangeTheRole();
    void cameraGrid_data();
    void cameraGrid();
    void shotTable();
    void shotCountOutOfRangeAddsNoRows();
    void imageHandOffRoutesByCameraKey();
    void showImageRouting();
    void stopConfirmationAndDebounce();
    void stopRefusedByModuleKeepsReceiving();
    void startWhileRunningConnectsOnce();
    void reRunRebuildsOnce();
    void reRunAfterFailedStartUpSetsInitialised();
    void stopAndClearReleasesEveryView();
    void refusedReloadKeepsDocument();
    void operatorGate();
    void externalTools();
    void toolStripSetUpTwiceConnectsOnce();
    void exitPromptCountsDown();
    void titleBarAndBorder();

private:
    std::unique_ptr<BoxAnswerer> m_boxes;
    qint64 m_clock = 0;
};

void TestMainWindow::init()
{
    m_boxes = std::make_unique<BoxAnswerer>();
    m_boxes->answer = QMessageBox::Yes;
    m_clock = 1000000;
    platform::setClockForTest([this] { return m_clock; });
    writeDocument(stationDocument(2));
    QFile::remove(programConfigDir() + QStringLiteral("/camera_cfg2.json"));
}

void TestMainWindow::cleanup()
{
    platform::setClockForTest({});
    m_boxes.reset();
}

void TestMainWindow::startUpRunsTheStation()
{
    Qt_epWindow w;
    QVERIFY(m_boxes->boxes.isEmpty());
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("程序运行"));
    QCOMPARE(child<QLabel>(&w, "label_15")->styleSheet(), QStringLiteral("color: green;"));
    QCOMPARE(child<QPushButton>(&w, "pushButton_PLCstatus")->styleSheet(), kLampGreen);
    QCOMPARE(child<QPushButton>(&w, "pushButton_CameraStatus")->styleSheet(), kLampGreen);
    QCOMPARE(iconOf(&w, "pushButton_start"), QStringLiteral("4.6.项目运行.png"));
    QCOMPARE(iconOf(&w, "pushButton_stop"), QStringLiteral("6.1.项目停止.png"));
    QCOMPARE(child<QLabel>(&w, "label_operator")->text(), QStringLiteral("管理员：超级用户"));
    QCOMPARE(child<QLabel>(&w, "label_type")->text(), sampleDocument().value("任务名").toString());
    QVERIFY(child<QLabel>(&w, "label_SN")->text().isEmpty());
    QCOMPARE(logTexts(child<QPlainTextEdit>(&w, "plainTextEdit_operat")),
             QStringList({QStringLiteral("通用逻辑加载成功! 按下“开始按钮”后运行程序。"),
                          QStringLiteral("开始按钮按下，加载通用逻辑并运行"), QStringLiteral("程序自动运行。")}));
    QVERIFY(w.isInitialised());
    QVERIFY(w.bridge());
    QVERIFY(w.imageTimer() && w.imageTimer()->isActive());
    QCOMPARE(w.imageTimer()->interval(), 5);
    QCOMPARE(w.configFileName(), QStringLiteral("camera_cfg.json"));
    QCOMPARE(w.communicationMode(), 2); // the sample is a standard flow ("true")

    // Frameless, three quarters of the screen, right column a fifth of the width.
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    const QRect expected = frameless::restoredGeometry(QtFramelessWindow::screenSize());
    QCOMPARE(w.geometry(), expected);
    // (at least: the column also keeps what its counters need)
    const QSize rightMinimum = child<QFrame>(&w, "frame_right")->minimumSize();
    QCOMPARE(rightMinimum.expandedTo(QSize(expected.width() / 5, 300)), rightMinimum);
    QVERIFY(w.isVisible());
    QVERIFY(w.loginWindow() && !w.loginWindow()->isVisible());
}

void TestMainWindow::startUpFailures_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("firstText");
    QTest::newRow("check refused") << "检查拒绝原因" << "相机数量不对" << QStringList{"camera_cfg错误"}
                                   << "相机数量不对";
    QTest::newRow("initTask") << "initTask失败" << "true" << QStringList{"initTask错误"}
                              << "initTask失败,请阅读Log日志进行分析";
}

void TestMainWindow::startUpFailures()
{
    QFETCH(QString, setting);
    QFETCH(QString, value);
    QFETCH(QStringList, titles);
    QFETCH(QString, firstText);
    writeDocument(stationDocument(2, QJsonObject{{setting, value}}));

    Qt_epWindow w;
    QCOMPARE(m_boxes->titles(), titles);
    QCOMPARE(m_boxes->boxes.first().text, firstText);
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("初始化失败"));
    QCOMPARE(child<QLabel>(&w, "label_15")->styleSheet(), QStringLiteral("color: red;"));
    QVERIFY(!w.isInitialised());
    QVERIFY(!w.imageTimer());
    QVERIFY(w.cameraViews().isEmpty());
    // Nothing was started: the set-up's red lamps stay.
    QCOMPARE(child<QPushButton>(&w, "pushButton_PLCstatus")->styleSheet(),
             QStringLiteral("QPushButton{ background-color: rgb(255, 0, 0);}"));

    // Start by hand after the failure: one box, status stays failed.
    m_boxes->clear();
    child<QPushButton>(&w, "pushButton_start")->click();
    QCOMPARE(m_boxes->titles(), QStringList{"startTask错误"});
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("初始化失败"));
}

void TestMainWindow::startUpStartRefused()
{
    writeDocument(stationDocument(2, QJsonObject{{"startTask失败", "true"}}));
    Qt_epWindow w;
    // Once from startLogic, once from the Start handler.
    QCOMPARE(m_boxes->titles(), QStringList({"startTask错误", "startTask错误"}));
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("初始化失败"));
    QVERIFY(w.isInitialised());
    QCOMPARE(w.cameraViews().size(), 2); // built by the initialisation
    QVERIFY(!w.imageTimer());
    QCOMPARE(logTexts(child<QPlainTextEdit>(&w, "plainTextEdit_operat")),
             QStringList({QStringLiteral("通用逻辑加载成功! 按下“开始按钮”后运行程序。"),
                          QStringLiteral("开始按钮按下，加载通用逻辑并运行")}));
}

void TestMainWindow::laterLoginsOnlyChangeTheRole()
{
    writeDocument(stationDocument(1, QJsonObject{{"检查拒绝原因", "坏"}}));
    Qt_epWindow w;
    QCOMPARE(m_boxes->boxes.size(), 1);
    Logic_transfer *bridge = w.bridge();
    const int lines = logLines(child<QPlainTextEdit>(&w, "plainTextEdit_operat")).size();

    writeDocument(stationDocument(1)); // would initialise now, but logins never retry
    w.getLoginSuccess(QStringLiteral("操作员:\r\nbob"));
    QCOMPARE(child<QLabel>(&w, "label_operator")->text(), QStringLiteral("操作员:\r\nbob"));
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("初始化失败"));
    QCOMPARE(w.bridge(), bridge);
    QCOMPARE(m_boxes->boxes.size(), 1);
    QCOMPARE(logLines(child<QPlainTextEdit>(&w, "plainTextEdit_operat")).size(), lines);

    // The login window's signal reaches the same slot.
    QMetaObject::invokeMethod(w.loginWindow(), "LoginSuccess", Q_ARG(QString, QStringLiteral("管理员:\r\nann")));
    QCOMPARE(child<QLabel>(&w, "label_operator")->text(), QStringLiteral("管理员:\r\nann"));
}

void TestMainWindow::cameraGrid_data()
{
    QTest::addColumn<int>("cameras");
    for (int n = 1; n <= 9; ++n)
        QTest::newRow(qPrintable(QString::number(n))) << n;
}

void TestMainWindow::cameraGrid()
{
    QFETCH(int, cameras);
    writeDocument(stationDocument(cameras));
    Qt_epWindow w;
    QCOMPARE(w.cameraViews().size(), cameras);
    auto *grid = qobject_cast<QGridLayout *>(child<QWidget>(&w, "widget_image")->layout());
    QVERIFY(grid);
    QCOMPARE(grid->objectName(), QStringLiteral("gridLayout"));
    QCOMPARE(grid->count(), 2 * cameras);
    QCOMPARE(grid->spacing(), 4);
    QCOMPARE(grid->alignment(), Qt::AlignHCenter | Qt::AlignTop);
    const int perRow = cameras <= 4 ? 2 : 3;
    for (int c = 0; c < cameras; ++c) {
        int row, column, rs, cs;
        grid->getItemPosition(grid->indexOf(w.cameraViews().at(c)), &row, &column, &rs, &cs);
        QCOMPARE(row, 2 * (c / perRow) + 1);
        QCOMPARE(column, c % perRow);
        QCOMPARE(rs, 1);
        QCOMPARE(cs, 1);
        QLayoutItem *caption = grid->itemAtPosition(row - 1, column);
        QVERIFY(caption);
        auto *label = qobject_cast<QLabel *>(caption->widget());
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral(" 相机名称:V%1").arg(c + 1));
        QCOMPARE(label->alignment(), Qt::AlignCenter);
        QGraphicsView *view = w.cameraViews().at(c);
        QCOMPARE(view->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(view->parentWidget(), child<QWidget>(&w, "widget_image"));
    }
    QCOMPARE(w.cameraKeys().size(), cameras);
    QCOMPARE(w.cameraScenes().size(), cameras);
    QCOMPARE(child<QWidget>(&w, "widget_image")->styleSheet(),
             QStringLiteral("background-color:  rgb(50, 55, 60);border-radius:10px;"));
}

void TestMainWindow::shotTable()
{
    writeDocument(stationDocument(3, QJsonObject(), QStringList{"2", "1", "3"}));
    Qt_epWindow w;
    auto *table = child<QTableWidget>(&w, "tableWidget_defectList");
    QCOMPARE(table->columnCount(), 3);
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("序号"));
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("相机-第几张图"));
    QCOMPARE(table->horizontalHeaderItem(2)->text(), QStringLiteral("缺陷数"));
    const QStringList texts{"V1_0", "V1_1", "V2_0", "V3_0", "V3_1", "V3_2"};
    QCOMPARE(table->rowCount(), texts.size());
    for (int r = 0; r < texts.size(); ++r) {
        QCOMPARE(table->item(r, 0)->text(), QString::number(r + 1));
        QCOMPARE(table->item(r, 1)->text(), texts.at(r));
        QCOMPARE(table->item(r, 2)->text(), QStringLiteral("0"));
        QCOMPARE(table->item(r, 1)->textAlignment(), int(Qt::AlignCenter));
    }
    QCOMPARE(w.shotDefectCounts(), QList<int>({0, 0, 0, 0, 0, 0}));
    QCOMPARE(w.shots().size(), 3);
    QCOMPARE(w.shots().at(2).entries.last(), QStringLiteral("Cam03#V3_2"));
    QCOMPARE(w.shots().at(2).shotNames.last(), QStringLiteral("Cam03_2"));
}

void TestMainWindow::shotCountOutOfRangeAddsNoRows()
{
    // The module never sees this document: the window builds from it directly.
    Qt_epWindow w;
    w.stopAndClear();
    QJsonObject doc = stationDocument(3, QJsonObject(), QStringList{"1000000000", "2", "-1"});
    w.adjustLayout(station::Document(doc));
    w.initImageCountTable(station::Document(doc));
    QCOMPARE(w.cameraViews().size(), 3);
    QCOMPARE(w.shots().size(), 1);
    QCOMPARE(w.shots().first().tableTexts, QStringList({"V2_0", "V2_1"}));
    QCOMPARE(child<QTableWidget>(&w, "tableWidget_defectList")->rowCount(), 2);
}

void TestMainWindow::imageHandOffRoutesByCameraKey()
{
    writeDocument(stationDocument(2));
    Qt_epWindow w;
    Logic_transfer *bridge = w.bridge();
    QVERIFY(w.cameraViewItems().at(0) == nullptr);

    bridge->decodeImage(QStringLiteral("Cam02_0_result"), cv::Mat(40, 60, CV_8UC1, cv::Scalar(7)));
    QTRY_VERIFY(w.cameraViewItems().at(1) != nullptr);
    QVERIFY(w.cameraViewItems().at(0) == nullptr);
    QCOMPARE(w.cameraScenes().at(1)->items().size(), 1);
    QCOMPARE(w.cameraViews().at(1)->scene(), w.cameraScenes().at(1));
    const QRectF rect = w.cameraViews().at(1)->sceneRect();
    const QSize viewSize = w.cameraViews().at(0)->size();
    QCOMPARE(rect, QRectF(-(viewSize.width() / 2), -(viewSize.height() / 2), viewSize.width(), viewSize.height()));

    // A matrix type without conversion is skipped; the view keeps its picture.
    QGraphicsItem *shown = w.cameraViewItems().at(1);
    bridge->decodeImage(QStringLiteral("Cam02_1"), cv::Mat(4, 4, CV_32FC1, cv::Scalar(1.0)));
    bridge->decodeImage(QStringLiteral("Cam01_0"), cv::Mat(8, 8, CV_8UC1, cv::Scalar(1)));
    QTRY_VERIFY(w.cameraViewItems().at(0) != nullptr);
    QCOMPARE(w.cameraViewItems().at(1), shown);
    QCOMPARE(w.cameraScenes().at(1)->items().size(), 1);
}

void TestMainWindow::showImageRouting()
{
    writeDocument(stationDocument(2));
    Qt_epWindow w;
    w.imageTimer()->stop();
    auto image = [] {
        QImage img(16, 8, QImage::Format_Grayscale8);
        img.fill(200);
        return img;
    };
    w.showImage(QStringLiteral("CamX_0"), image()); // unknown key
    w.showImage(QStringLiteral("Cam01"), image());  // no "_"
    QVERIFY(w.cameraViewItems().at(0) == nullptr);
    QVERIFY(w.cameraViewItems().at(1) == nullptr);

    w.showImage(QStringLiteral("Cam01_7_x"), image());
    QGraphicsItem *first = w.cameraViewItems().at(0);
    QVERIFY(first);
    w.showImage(QStringLiteral("Cam01_8"), image()); // replaces: one item per scene
    QVERIFY(w.cameraViewItems().at(0) != nullptr);
    QCOMPARE(w.cameraScenes().at(0)->items().size(), 1);

    w.showImage(QStringLiteral("Cam02_0"), QImage()); // a null picture still shows safely
    QCOMPARE(w.cameraScenes().at(1)->items().size(), 1);
}

void TestMainWindow::stopConfirmationAndDebounce()
{
    Qt_epWindow w;
    auto *stop = child<QPushButton>(&w, "pushButton_stop");
    auto *operat = child<QPlainTextEdit>(&w, "plainTextEdit_operat");

    // No: keeps running.
    m_clock += 1000;
    m_boxes->answer = QMessageBox::No;
    QTest::mousePress(stop, Qt::LeftButton);
    QTest::mouseRelease(stop, Qt::LeftButton);
    QCOMPARE(m_boxes->titles(), QStringList{"确认停止？"});
    QCOMPARE(m_boxes->boxes.first().text, QStringLiteral("确认停止：清除所有容器数据？"));
    QCOMPARE(logTexts(operat).last(), QStringLiteral("停止，取消"));
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("程序运行"));
    QVERIFY(!w.isReceivingStopped());

    // 50 ms later: ignored without a box.
    m_clock += 50;
    m_boxes->clear();
    m_boxes->answer = QMessageBox::Yes;
    QTest::mousePress(stop, Qt::LeftButton);
    QTest::mouseRelease(stop, Qt::LeftButton);
    QVERIFY(m_boxes->boxes.isEmpty());

    // 100 ms after the last accepted press: processed.
    m_clock += 50;
    QTest::mousePress(stop, Qt::LeftButton);
    QTest::mouseRelease(stop, Qt::LeftButton);
    QCOMPARE(m_boxes->titles(), QStringList{"确认停止？"});
    QCOMPARE(logTexts(operat).last(), QStringLiteral("停止按钮按下，清除所有容器数据"));
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("程序停止.."));
    QCOMPARE(child<QLabel>(&w, "label_15")->styleSheet(), QStringLiteral("color: red;"));
    QCOMPARE(iconOf(&w, "pushButton_stop"), QStringLiteral("6.5.项目停止.png"));
    QCOMPARE(iconOf(&w, "pushButton_start"), QStringLiteral("4.1.项目运行.png"));
    QVERIFY(w.isReceivingStopped());
    QCOMPARE(messageDeliveries(w), 0);

    // Images still delivered after Stop are dropped unseen; views and bridge stay.
    QVERIFY(w.imageTimer()->isActive());
    w.bridge()->decodeImage(QStringLiteral("Cam01_0"), cv::Mat(8, 8, CV_8UC1, cv::Scalar(1)));
    QTest::qWait(200); // the 5 ms hand-off runs meanwhile
    QList<ImageEntry> rest;
    QVERIFY(!w.bridge()->takeImages(&rest)); // taken by the hand-off...
    QVERIFY(w.cameraViewItems().at(0) == nullptr); // ...and dropped
    QCOMPARE(w.cameraViews().size(), 2);

    // Start resumes.
    m_boxes->clear();
    child<QPushButton>(&w, "pushButton_start")->click();
    QVERIFY(m_boxes->boxes.isEmpty());
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("程序运行"));
    QVERIFY(!w.isReceivingStopped());
    QCOMPARE(messageDeliveries(w), windowHasDispatch() ? 1 : 0);
    w.bridge()->decodeImage(QStringLiteral("Cam01_0"), cv::Mat(8, 8, CV_8UC1, cv::Scalar(1)));
    QTRY_VERIFY(w.cameraViewItems().at(0) != nullptr);
}

void TestMainWindow::stopRefusedByModuleKeepsReceiving()
{
    writeDocument(stationDocument(1, QJsonObject{{"stopTask失败", "true"}}));
    Qt_epWindow w;
    m_clock += 1000;
    QTest::mousePress(child<QPushButton>(&w, "pushButton_stop"), Qt::LeftButton);
    QCOMPARE(m_boxes->titles(), QStringList({"确认停止？", "stopTask错误"}));
    QCOMPARE(m_boxes->boxes.last().text, QStringLiteral("stopTask失败,请阅读Log日志进行分析"));
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("程序运行"));
    QVERIFY(!w.isReceivingStopped());
    QCOMPARE(messageDeliveries(w), windowHasDispatch() ? 1 : 0);
    QCOMPARE(iconOf(&w, "pushButton_stop"), QStringLiteral("6.1.项目停止.png"));
}

void TestMainWindow::startWhileRunningConnectsOnce()
{
    Qt_epWindow w;
    QTimer *firstTimer = w.imageTimer();
    QVERIFY(firstTimer);
    child<QPushButton>(&w, "pushButton_start")->click();
    child<QPushButton>(&w, "pushButton_start")->click();
    QCOMPARE(messageDeliveries(w), windowHasDispatch() ? 1 : 0);
    QVERIFY(w.imageTimer() && w.imageTimer()->isActive());
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("程序运行"));
}

void TestMainWindow::reRunRebuildsOnce()
{
    Qt_epWindow w;
    QPointer<Logic_transfer> oldBridge = w.bridge();
    QPointer<QGraphicsView> oldView = w.cameraViews().first();
    auto *operat = child<QPlainTextEdit>(&w, "plainTextEdit_operat");

    m_boxes->answer = QMessageBox::No;
    child<QPushButton>(&w, "pushButton_reStart")->click();
    QCOMPARE(m_boxes->titles(), QStringList{"确认重新运行？"});
    QCOMPARE(m_boxes->boxes.first().text, QStringLiteral("确认重新运行：卸载任务并重新加载通用逻辑后运行？"));
    QCOMPARE(logTexts(operat).last(), QStringLiteral("重新运行，取消"));
    QCOMPARE(w.bridge(), oldBridge.data());

    QJsonObject three = stationDocument(3, QJsonObject(), QStringList{"1", "1", "2"});
    three.insert(QStringLiteral("是否为标准通信流程"), QStringLiteral("false"));
    three.insert(QStringLiteral("任务名"), QStringLiteral("三相机任务"));
    writeDocument(three);
    QCOMPARE(w.communicationMode(), 2);
    m_boxes->clear();
    m_boxes->answer = QMessageBox::Yes;
    child<QPushButton>(&w, "pushButton_reStart")->click();
    QCOMPARE(m_boxes->titles(), QStringList{"确认重新运行？"});
    QVERIFY(oldBridge.isNull());
    QVERIFY(oldView.isNull());
    QVERIFY(w.bridge());
    QCOMPARE(w.cameraViews().size(), 3);
    QCOMPARE(child<QWidget>(&w, "widget_image")->findChildren<QGraphicsView *>().size(), 3);
    QCOMPARE(child<QWidget>(&w, "widget_image")->findChildren<QLabel *>().size(), 3);
    QCOMPARE(child<QTableWidget>(&w, "tableWidget_defectList")->rowCount(), 4);
    QCOMPARE(w.communicationMode(), 1);
    QCOMPARE(child<QLabel>(&w, "label_type")->text(), QStringLiteral("三相机任务"));
    QCOMPARE(w.shotDefectCounts().size(), 4);
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("程序运行"));
    QCOMPARE(child<QPushButton>(&w, "pushButton_PLCstatus")->styleSheet(), kLampGreen);
    QCOMPARE(iconOf(&w, "pushButton_start"), QStringLiteral("4.1.项目运行.png"));
    QCOMPARE(iconOf(&w, "pushButton_stop"), QStringLiteral("6.1.项目停止.png"));
    const QStringList texts = logTexts(operat);
    QCOMPARE(texts.mid(texts.size() - 2),
             QStringList({QStringLiteral("重新运行按钮按下，卸载任务并重新加载通用逻辑后运行"),
                          QStringLiteral("通用逻辑加载成功，程序自动运行")}));
    QCOMPARE(messageDeliveries(w), windowHasDispatch() ? 1 : 0);

    // A failing re-run: the module's box first, then the run control's.
    writeDocument(stationDocument(1, QJsonObject{{"startTask失败", "true"}}));
    m_boxes->clear();
    child<QPushButton>(&w, "pushButton_reStart")->click();
    QCOMPARE(m_boxes->titles(), QStringList({"确认重新运行？", "startTask错误", "startTask错误"}));
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("初始化失败"));
    QVERIFY(w.cameraViews().isEmpty());
    QCOMPARE(child<QPushButton>(&w, "pushButton_PLCstatus")->styleSheet(), kLampRed);
}

void TestMainWindow::reRunAfterFailedStartUpSetsInitialised()
{
    writeDocument(stationDocument(1, QJsonObject{{"检查拒绝原因", "坏"}}));
    Qt_epWindow w;
    QVERIFY(!w.isInitialised());

    writeDocument(stationDocument(1));
    child<QPushButton>(&w, "pushButton_reStart")->click();
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("程序运行"));
    QVERIFY(w.isInitialised());

    // Stop and Start now act on the running task.
    m_clock += 1000;
    m_boxes->clear();
    QTest::mousePress(child<QPushButton>(&w, "pushButton_stop"), Qt::LeftButton);
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("程序停止.."));
    QVERIFY(w.isReceivingStopped());
    child<QPushButton>(&w, "pushButton_start")->click();
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("程序运行"));
    QCOMPARE(m_boxes->titles(), QStringList{"确认停止？"});
}

void TestMainWindow::stopAndClearReleasesEveryView()
{
    writeDocument(stationDocument(3));
    Qt_epWindow w;
    w.bridge()->decodeImage(QStringLiteral("Cam02_0"), cv::Mat(8, 8, CV_8UC1, cv::Scalar(1)));
    QTRY_VERIFY(w.cameraViewItems().at(1) != nullptr);

    QList<QPointer<QObject>> watched;
    for (QGraphicsView *v : w.cameraViews())
        watched << QPointer<QObject>(v);
    for (QGraphicsScene *s : w.cameraScenes())
        watched << QPointer<QObject>(s);
    for (QLabel *l : child<QWidget>(&w, "widget_image")->findChildren<QLabel *>())
        watched << QPointer<QObject>(l);
    QCOMPARE(watched.size(), 9);
    QPointer<QLayout> oldGrid = child<QWidget>(&w, "widget_image")->layout();
    QPointer<Logic_transfer> bridge = w.bridge();

    w.stopAndClear();
    for (const QPointer<QObject> &p : watched)
        QVERIFY(p.isNull());
    QVERIFY(bridge.isNull());
    QVERIFY(!w.bridge());
    QVERIFY(oldGrid.isNull());
    QLayout *grid = child<QWidget>(&w, "widget_image")->layout();
    QVERIFY(grid);
    QCOMPARE(grid->objectName(), QStringLiteral("gridLayout"));
    QCOMPARE(grid->count(), 0);
    QCOMPARE(grid->spacing(), 6);
    QCOMPARE(grid->contentsMargins(), QMargins(11, 11, 11, 11));
    QVERIFY(w.cameraViews().isEmpty());
    QVERIFY(w.cameraKeys().isEmpty());
    QVERIFY(w.cameraViewItems().isEmpty());
    QVERIFY(w.shots().isEmpty());
    QCOMPARE(child<QTableWidget>(&w, "tableWidget_defectList")->rowCount(), 0);
    QVERIFY(!w.imageTimer()->isActive());

    // A new build uses the replacement grid (no dangling form pointer).
    const QJsonObject doc = stationDocument(2);
    w.adjustLayout(station::Document(doc));
    QCOMPARE(grid->count(), 4);
    QCOMPARE(child<QWidget>(&w, "widget_image")->layout(), grid);

    // Without a bridge the teardown touches nothing but the counters.
    w.stopAndClear();
    QCOMPARE(w.cameraViews().size(), 2);
}

void TestMainWindow::refusedReloadKeepsDocument()
{
    Qt_epWindow w;
    const QJsonObject before = w.cameraCfg();
    QVERIFY(w.reloadCameraCfg());

    QJsonObject refused = stationDocument(2, QJsonObject{{"检查拒绝原因", "参数越界"}});
    refused.insert(QStringLiteral("任务名"), QStringLiteral("被拒绝的文档"));
    writeDocument(refused);
    QVERIFY(!w.reloadCameraCfg());
    QCOMPARE(m_boxes->titles(), QStringList{"camera_cfg错误"});
    QCOMPARE(m_boxes->boxes.first().text, QStringLiteral("参数越界"));
    QCOMPARE(w.cameraCfg(), before);

    QJsonObject accepted = stationDocument(2);
    accepted.insert(QStringLiteral("任务名"), QStringLiteral("新任务"));
    writeDocument(accepted);
    QVERIFY(w.reloadCameraCfg());
    QCOMPARE(w.cameraCfg().value("任务名").toString(), QStringLiteral("新任务"));

    w.stopAndClear();
    QVERIFY(!w.reloadCameraCfg()); // no bridge
}

void TestMainWindow::operatorGate()
{
    Qt_epWindow w;
    auto *operat = child<QPlainTextEdit>(&w, "plainTextEdit_operat");
    const char *admin[] = {"pushButton_set", "pushButton_DefectName", "pushButton_SaveImgSet",
                           "pushButton_cameraDebug"};

    w.getLoginSuccess(QStringLiteral("操作员:\r\nbob"));
    // The module's first link messages write their own lines: let them arrive first.
    QTRY_VERIFY(operat->toPlainText().contains(QStringLiteral("PLC通信，重连成功")));
    const QString logBefore = operat->toPlainText();
    for (const char *name : admin) {
        m_boxes->clear();
        child<QPushButton>(&w, name)->click();
        QCOMPARE(m_boxes->titles(), QStringList{"无权限"});
        QCOMPARE(m_boxes->boxes.first().text, QStringLiteral("当前为操作员，请切换为管理员进行操作。"));
    }
    QCOMPARE(operat->toPlainText(), logBefore);
    QCOMPARE(child<QLabel>(&w, "label_15")->text(), QStringLiteral("程序运行")); // the run goes on

    // An administrator whose name holds the word is refused too; a plain one passes.
    w.getLoginSuccess(QStringLiteral("管理员:\r\n操作员甲"));
    m_boxes->clear();
    child<QPushButton>(&w, "pushButton_set")->click();
    QCOMPARE(m_boxes->titles(), QStringList{"无权限"});
    w.getLoginSuccess(QStringLiteral("管理员:\r\nann"));
    m_boxes->clear();
    for (int i = 0; i < 3; ++i) // the editors; the camera debug tool asks first
        child<QPushButton>(&w, admin[i])->click();
    QVERIFY(m_boxes->boxes.isEmpty());
    const QList<QWidget *> editors{w.parameterSettings(), w.defectSet(), w.saveImgSet()};
    for (QWidget *editor : editors)
        QVERIFY(editor && editor->isVisible());

    // An operator's login closes the administration windows; the login window is never gated.
    w.getLoginSuccess(QStringLiteral("操作员:\r\nbob"));
    for (QWidget *editor : editors)
        QVERIFY(!editor->isVisible());
    m_boxes->clear();
    child<QPushButton>(&w, "pushButton_operator")->click();
    QVERIFY(m_boxes->boxes.isEmpty());
    QVERIFY(w.loginWindow()->isVisible());
    QVERIFY(w.loginWindow()->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(logTexts(operat).last(), QStringLiteral("打开工具:密码登录界面"));
    w.loginWindow()->hide();
}

void TestMainWindow::externalTools()
{
    const QString folder = QCoreApplication::applicationDirPath();
    const QString marker = folder + QStringLiteral("/log_tool_ran.txt");
    QFile::remove(marker);
    // A Log analysis tool without ".exe", as installed on Linux.
    const QString tool = folder + QStringLiteral("/工具-Log分析");
    {
        QFile f(tool);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QStringLiteral("#!/bin/sh\necho started > \"%1\"\n").arg(marker).toUtf8());
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    QFile::remove(folder + QStringLiteral("/工具-配置文件"));
    QFile::remove(folder + QStringLiteral("/工具-配置文件.exe"));
    const QString viewer = folder + QStringLiteral("/工具-查看结果图");
    QFile::remove(viewer);

    Qt_epWindow w;
    auto *operat = child<QPlainTextEdit>(&w, "plainTextEdit_operat");
    child<QPushButton>(&w, "pushButton_LogTool")->click();
    QCOMPARE(logTexts(operat).last(), QStringLiteral("打开工具:工具-Log分析.exe"));
    QTRY_VERIFY(QFile::exists(marker));

    QVERIFY(!logTexts(operat).join('\n').contains(QStringLiteral("打开工具失败")));

    // Each failure says what went wrong, after the line of the press.
    auto press = [&](const char *button) {
        child<QPushButton>(&w, button)->click();
        const QStringList texts = logTexts(operat);
        return texts.mid(texts.size() - 2);
    };
    QCOMPARE(press("pushButton_cfgTool"),
             QStringList({"打开工具:工具-配置文件.exe",
                          "打开工具失败:工具-配置文件.exe，程序目录中未找到该工具：" + folder + "/工具-配置文件.exe"}));
    // Present but not executable (root runs these suites: the bits decide, not access()).
    {
        QFile f(viewer);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("#!/nonexistent/interpreter\n");
        f.close();
        QVERIFY(f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                 | QFileDevice::ReadOther)); // 0644
    }
    QCOMPARE(press("pushButton_resultImgTool"),
             QStringList({"打开工具:工具-查看结果图.exe", "打开工具失败:工具-查看结果图.exe，工具文件不可执行：" + viewer}));
    // Executable, but the system cannot start it.
    QVERIFY(QFile::setPermissions(viewer, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                              | QFileDevice::ReadGroup | QFileDevice::ExeGroup
                                              | QFileDevice::ReadOther | QFileDevice::ExeOther)); // 0755
    QCOMPARE(press("pushButton_resultImgTool"),
             QStringList({"打开工具:工具-查看结果图.exe", "打开工具失败:工具-查看结果图.exe，工具无法启动：" + viewer}));
    QVERIFY(m_boxes->boxes.isEmpty());

    QFile::remove(viewer);
    QFile::remove(tool);
    QFile::remove(marker);
}

void TestMainWindow::toolStripSetUpTwiceConnectsOnce()
{
    Qt_epWindow w;
    w.setTools(); // the program switch does this again
    w.pushButtonS();
    auto *operat = child<QPlainTextEdit>(&w, "plainTextEdit_operat");
    const int before = logLines(operat).size();
    child<QPushButton>(&w, "pushButton_resultImgTool")->click();
    const QStringList texts = logTexts(operat);
    QCOMPARE(texts.size(), before + 2); // the open line and the failure line, once
    QCOMPARE(texts.at(before), QStringLiteral("打开工具:工具-查看结果图.exe"));

    m_boxes->answer = QMessageBox::No;
    child<QPushButton>(&w, "pushButton_reStart")->click();
    QCOMPARE(m_boxes->titles(), QStringList{"确认重新运行？"}); // asked once
    QCOMPARE(iconOf(&w, "pushButton_LogTool"), QStringLiteral("4.Log分析.png"));
    QCOMPARE(iconOf(&w, "pushButton_SaveImgSet"), QStringLiteral("22.阴影校正小.png"));
    QCOMPARE(iconOf(&w, "pushButton_DefectName"), QStringLiteral("9.参数设置.png"));
}

void TestMainWindow::exitPromptCountsDown()
{
    Qt_epWindow w;
    QStringList texts;
    // Drive the countdown by hand: every tick of the prompt's timer, fifteen times.
    m_boxes->hook = [&](QMessageBox *box) {
        if (box != w.exitPrompt())
            return false;
        texts << box->text();
        if (texts.size() <= 15) {
            QMetaObject::invokeMethod(w.exitTimer(), "timeout");
            return true;
        }
        return true; // the last tick closed it already
    };
    child<QPushButton>(&w, "pushButton_close")->click();
    QCOMPARE(texts.first(), QStringLiteral("确认退出程序？15秒后自动取消此操作。"));
    QVERIFY(texts.contains(QStringLiteral("确认退出程序？14秒后自动取消此操作。")));
    QCOMPARE(texts.last(), QStringLiteral("确认退出程序？1秒后自动取消此操作。"));
    QCOMPARE(w.exitPrompt()->text(), QStringLiteral("确认退出程序？0秒后自动取消此操作。"));
    QVERIFY(w.isVisible()); // withdrawn: the window stays
    QVERIFY(!w.exitTimer()->isActive());
    QCOMPARE(w.exitPrompt()->windowTitle(), QStringLiteral("确认退出程序？"));

    // A fresh prompt counts from 15 again; Yes closes the window.
    texts.clear();
    m_boxes->hook = [&](QMessageBox *box) {
        texts << box->text();
        return false;
    };
    m_boxes->answer = QMessageBox::Yes;
    child<QPushButton>(&w, "pushButton_close")->click();
    QCOMPARE(texts.first(), QStringLiteral("确认退出程序？15秒后自动取消此操作。"));
    QVERIFY(!w.isVisible());
}

void TestMainWindow::titleBarAndBorder()
{
    Qt_epWindow w;
    QCOMPARE(child<QLabel>(&w, "label_icon")->styleSheet(), QStringLiteral("image: url(./Icon/logo_Corvault.png);"));
    for (const char *name : {"pushButton_min", "pushButton_max", "pushButton_close"})
        QVERIFY(child<QPushButton>(&w, name)->text().isEmpty());
    QCOMPARE(child<QPushButton>(&w, "pushButton_max")->styleSheet(),
             QStringLiteral("background-color:transparent;image: url(./Icon/Max_n.png);"));

    const QSize screen = QtFramelessWindow::screenSize();
    const QRect restored = frameless::restoredGeometry(screen);
    auto *max = child<QPushButton>(&w, "pushButton_max");
    auto *right = child<QFrame>(&w, "frame_right");
    QTest::mousePress(max, Qt::LeftButton); // acts on press
    QVERIFY(w.isMaximized());
    QCOMPARE(right->minimumSize().expandedTo(QSize(screen.width() / 5, 300)), right->minimumSize());
    QTest::mouseRelease(max, Qt::LeftButton);
    QTest::mousePress(max, Qt::LeftButton);
    QVERIFY(!w.isMaximized());
    QCOMPARE(right->minimumSize().expandedTo(QSize(restored.width() / 5, 300)), right->minimumSize());
    QCOMPARE(w.geometry(), restored);
    QTest::mouseRelease(max, Qt::LeftButton);

    // The window's own mouse handlers drive the shared frameless behaviour (margin 3).
    QApplication::setActiveWindow(&w);
    QCOMPARE(QApplication::activeWindow(), &w);
    QMouseEvent hover(QEvent::MouseMove, QPointF(1, 1), w.mapToGlobal(QPoint(1, 1)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&w, &hover);
    QCOMPARE(w.cursor().shape(), Qt::SizeFDiagCursor);
    QCOMPARE(w.frameless()->margin(), 3);
    QMouseEvent inside(QEvent::MouseMove, QPointF(3, 1), w.mapToGlobal(QPoint(3, 1)), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
    QApplication::sendEvent(&w, &inside);
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);

    QTest::mousePress(child<QPushButton>(&w, "pushButton_min"), Qt::LeftButton);
    QVERIFY(w.isMinimized());
}

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
