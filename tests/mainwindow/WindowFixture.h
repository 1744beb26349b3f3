// Helpers of the main-window statistics tests: fixed clocks, the window against the
// simulated module, message boxes answered by the test, chart and log readers.
#pragma once

#include "LogView.h"
#include "Platform.h"
#include "Qt_epWindow.h"
#include "StationFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include "BoxAnswerer.h"

#include <QtTest>

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTextBlock>
#include <QTimer>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>

#include <memory>

namespace fixture {

// Local time and millisecond clock under the test's control.
struct FakeClock
{
    QDateTime now{QDate(2026, 12, 7), QTime(10, 0)};
    qint64 ms = 1000000;

    void install()
    {
        platform::setLocalNowForTest([this] { return now; });
        platform::setClockForTest([this] { return ms; });
    }
    static void uninstall()
    {
        platform::setLocalNowForTest({});
        platform::setClockForTest({});
    }
    void at(int hour, int minute, int second = 0, int msec = 0)
    {
        now = QDateTime(now.date(), QTime(hour, minute, second, msec));
    }
    QString stamp() const { return now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss:zzz")); }
};

// The window's form widgets, found by object name.
struct Form
{
#define EP_FORM_WIDGETS(X)                                                                         \
    X(QLabel, label_15) X(QLabel, label_allNum) X(QLabel, label_OKNum) X(QLabel, label_NGnum)     \
    X(QLabel, label_OKPercent) X(QLabel, label_allNum_day) X(QLabel, label_OKNum_day)             \
    X(QLabel, label_NGnum_day) X(QLabel, label_OKPercent_day) X(QLabel, label_allNum_night)       \
    X(QLabel, label_OKNum_night) X(QLabel, label_NGnum_night) X(QLabel, label_OKPercent_night)    \
    X(QLabel, label_result) X(QLabel, label_SN) X(QLabel, label_CT) X(QLabel, label_type)         \
    X(QLabel, label_programNum) X(QLabel, label_runTime)                                          \
    X(QPlainTextEdit, plainTextEdit_operat) X(QPlainTextEdit, plainTextEdit_run)                  \
    X(QPlainTextEdit, plainTextEdit_history) X(QPushButton, pushButton_PLCstatus)                 \
    X(QPushButton, pushButton_CameraStatus) X(QPushButton, pushButton_tab_history)                \
    X(QPushButton, pushButton_tab_defectList) X(QPushButton, pushButton_tab_24H)                  \
    X(QPushButton, pushButton_tab_run) X(QPushButton, pushButton_tab_operat)                      \
    X(QTableWidget, tableWidget_day) X(QTableWidget, tableWidget_night)                           \
    X(QTableWidget, tableWidget_defectList) X(QTableWidget, tableWidget_24H)                      \
    X(QGroupBox, groupBox_2) X(QGroupBox, groupBox_3) X(QGroupBox, groupBox_4)                    \
    X(QTabWidget, tabWidget)
#define EP_FORM_MEMBER(Type, name) Type *name = nullptr;
    EP_FORM_WIDGETS(EP_FORM_MEMBER)
#undef EP_FORM_MEMBER

    // False when a widget is missing (named in *missing).
    bool find(QWidget *window, QString *missing)
    {
#define EP_FORM_FIND(Type, name)                                                                   \
    name = window->findChild<Type *>(QStringLiteral(#name));                                      \
    if (!name) {                                                                                  \
        *missing = QStringLiteral(#name);                                                         \
        return false;                                                                             \
    }
        EP_FORM_WIDGETS(EP_FORM_FIND)
#undef EP_FORM_FIND
        return true;
    }
#undef EP_FORM_WIDGETS
};

inline QString cell(QTableWidget *table, int row, int column)
{
    QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QStringLiteral("<none>");
}

// The one bar chart view shown in a shift's group box.
inline QtCharts::QChartView *barView(QWidget *box)
{
    QtCharts::QChartView *found = nullptr;
    const auto views = box->findChildren<QtCharts::QChartView *>();
    for (QtCharts::QChartView *v : views) {
        const auto series = v->chart()->series();
        if (!series.isEmpty() && qobject_cast<QtCharts::QBarSeries *>(series.first())) {
            if (found)
                return nullptr; // more than one: a leftover chart
            found = v;
        }
    }
    return found;
}

inline QtCharts::QBarSet *barSet(QWidget *box)
{
    // Counts still waiting for the bars are shown first.
    QCoreApplication::sendPostedEvents(box->window(), QEvent::MetaCall);
    QtCharts::QChartView *v = barView(box);
    if (!v)
        return nullptr;
    auto *series = qobject_cast<QtCharts::QBarSeries *>(v->chart()->series().first());
    return series->barSets().isEmpty() ? nullptr : series->barSets().first();
}

inline double barAxisMax(QWidget *box)
{
    QtCharts::QChartView *v = barView(box);
    if (!v)
        return -1;
    const auto axes = v->chart()->axes(Qt::Vertical);
    auto *axis = axes.isEmpty() ? nullptr : qobject_cast<QtCharts::QValueAxis *>(axes.first());
    return axis ? axis->max() : -1;
}

// The quiet station of program 1 (config/camera_cfg.json) or 2 (camera_cfg2.json): one
// station of two cameras, three defect classes, two PLC signals, hour-long cycles.
inline QJsonObject quietDocument(int program)
{
    const bool first = program == 1;
    auto camera = [](const QString &key, const QString &window, const QString &shots) {
        const QJsonObject exposure{{QStringLiteral("参数名"), QStringLiteral("曝光时间")},
                                   {QStringLiteral("相机参数值"), QJsonArray{QStringLiteral("3500")}}};
        return QJsonObject{{QStringLiteral("相机key"), key},
                           {QStringLiteral("界面窗口名称"), window},
                           {QStringLiteral("单通道拍照数"), shots},
                           {QStringLiteral("模块名称"), QStringLiteral("HIK_2D")},
                           {QStringLiteral("触发方式"), QStringLiteral("hard")},
                           {QStringLiteral("取图超时"), QStringLiteral("1000")},
                           {QStringLiteral("相机参数"), QJsonArray{exposure}}};
    };
    const QJsonArray cameras =
        first ? QJsonArray{camera(QStringLiteral("CamA"), QStringLiteral("顶面"), QStringLiteral("2")),
                           camera(QStringLiteral("CamB"), QStringLiteral("底面"), QStringLiteral("1"))}
              : QJsonArray{camera(QStringLiteral("CamC"), QStringLiteral("左侧"), QStringLiteral("2")),
                           camera(QStringLiteral("CamD"), QStringLiteral("右侧"), QStringLiteral("2"))};
    const QJsonArray algorithms{
        QJsonObject{{QStringLiteral("算法名称"), first ? QStringLiteral("AlgoTop") : QStringLiteral("AlgoSide")},
                    {QStringLiteral("算法初始化参数"), QJsonArray()}}};

    auto defect = [](const char *number, const QString &name) {
        return QJsonObject{{QStringLiteral("缺陷类别"), QLatin1String(number)},
                           {QStringLiteral("缺陷名称"), name},
                           {QStringLiteral("是否检测"), QStringLiteral("是")}};
    };
    auto label = [](const QString &name, const char *value) {
        return QJsonObject{{QStringLiteral("标签名"), name}, {QStringLiteral("标签值"), QLatin1String(value)}};
    };
    auto signal = [](const QString &name, const char *address, const QJsonArray &values) {
        return QJsonObject{{QStringLiteral("信号名"), name},
                           {QStringLiteral("指令地址"), QLatin1String(address)},
                           {QStringLiteral("信号值"), values}};
    };
    const QJsonObject top{
        {QStringLiteral("任务名"), first ? QStringLiteral("统计测试") : QStringLiteral("统计测试2")},
        {QStringLiteral("是否为标准通信流程"), first ? QStringLiteral("true") : QStringLiteral("false")},
        {QStringLiteral("缺陷类别名称设置"),
         QJsonArray{defect("1", QStringLiteral("划痕")), defect("2", QStringLiteral("脏污")),
                    defect("3", QStringLiteral("凹坑"))}},
        {QStringLiteral("存图设置"), QJsonArray()},
        {QStringLiteral("手动补信号"),
         QJsonArray{signal(QStringLiteral("切换程序号"), "D100",
                           QJsonArray{label(QStringLiteral("程序1"), "1"), label(QStringLiteral("程序2"), "2")}),
                    signal(QStringLiteral("复位"), "D200", QJsonArray{label(QStringLiteral("复位"), "1")})}},
        {QStringLiteral("模拟设置"),
         QJsonObject{{QStringLiteral("周期毫秒"), QStringLiteral("3600000")},
                     {QStringLiteral("图像帧率"), QStringLiteral("0")},
                     {QStringLiteral("程序号指令地址"), QStringLiteral("D100")},
                     {QStringLiteral("随机种子"), QStringLiteral("7")}}}};
    return stationdoc::withSimulator(
        stationdoc::document(QJsonArray{stationdoc::station(
                                 cameras, algorithms, first ? QStringLiteral("正面") : QStringLiteral("侧面"))},
                             top),
        QJsonObject());
}

// Writes both quiet documents into the suite's program folder.
inline void writeQuietDocuments()
{
    const QString config = QCoreApplication::applicationDirPath() + QStringLiteral("/config/");
    QDir().mkpath(config);
    QVERIFY(stationdoc::write(config + QStringLiteral("camera_cfg.json"), quietDocument(1)));
    QVERIFY(stationdoc::write(config + QStringLiteral("camera_cfg2.json"), quietDocument(2)));
}

// Base of the window suites: a started window on the fake clock, its widgets found by name.
class WindowSuite : public QObject
{
protected:
    void startWindow()
    {
        writeQuietDocuments();
        clock = FakeClock();
        clock.install();
        w.reset(new Qt_epWindow);
        QString missing;
        QVERIFY2(ui.find(w.get(), &missing), qPrintable(missing));
        QCOMPARE(ui.label_15->text(), QStringLiteral("程序运行"));
    }
    void stopWindow()
    {
        w.reset();
        FakeClock::uninstall();
    }

    FakeClock clock;
    std::unique_ptr<Qt_epWindow> w;
    Form ui;
};

} // namespace fixture
