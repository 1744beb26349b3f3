// PLC signal sender window: grid build and rebuild, window size, every send path, the guard.
#include "BoxAnswerer.h"
#include "Platform.h"
#include "QtSendPLC.h"

#include <QGuiApplication>
#include <QJsonObject>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

namespace {

QJsonArray entries(const QList<int> &valueCounts)
{
    QJsonArray array;
    for (int i = 0; i < valueCounts.size(); ++i) {
        QJsonArray values;
        for (int v = 0; v < valueCounts[i]; ++v)
            values.append(QJsonObject{{"标签名", QString("值%1").arg(v)}, {"标签值", QString::number(v)}});
        array.append(QJsonObject{{"信号名", QString("信号%1").arg(i)},
                                 {"指令地址", QString("D%1").arg(i + 1)},
                                 {"信号值", values}});
    }
    return array;
}

QJsonArray ones(int n)
{
    QList<int> counts;
    for (int i = 0; i < n; ++i)
        counts << 1;
    return entries(counts);
}

struct Sender
{
    Sender() : spy(&w, &QtSendPLC::sendPLC)
    {
        platform::setClockForTest([this] { return now; });
        w.show();
    }
    ~Sender() { platform::setClockForTest({}); }

    QWidget *gridPanel() { return w.findChild<QWidget *>("scrollAreaWidgetContents"); }
    QGridLayout *grid() { return w.findChild<QGridLayout *>("gridLayout"); }
    // Text of the widget at a grid cell, "" when empty.
    QString at(int row, int col)
    {
        QLayoutItem *item = grid()->itemAtPosition(row, col);
        if (!item || !item->widget())
            return QString();
        if (auto *b = qobject_cast<QPushButton *>(item->widget()))
            return b->text();
        return qobject_cast<QLabel *>(item->widget())->text();
    }
    void later(qint64 ms = 100) { now += ms; }
    void click(const char *name) { w.findChild<QPushButton *>(name)->click(); }
    void type(const QString &text) { w.findChild<QLineEdit *>("lineEdit")->setText(text); }
    QStringList sent()
    {
        QStringList out;
        for (const auto &args : spy)
            out << args.at(0).toString();
        spy.clear();
        return out;
    }

    qint64 now = qint64(1) << 33; // beyond 32 bits
    BoxAnswerer boxes;
    QtSendPLC w;
    QSignalSpy spy;
};

QRect available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

} // namespace

class TestSendPLC : public QObject
{
    Q_OBJECT
private slots:
    void gridOfTwoOneAndZeroValues();
    void emptyList();
    void blocksOf20Rows();
    void largeGridStaysOnScreen();
    void gridButtonsSendTheirCommand();
    void typedCommands();
    void sendAll();
    void clickGuard();
    void rebuildLeavesNoOldWidget();
};

void TestSendPLC::gridOfTwoOneAndZeroValues()
{
    Sender s;
    s.w.setCommandList(entries({2, 1, 0}));
    QCOMPARE(s.w.commandList(), (QStringList{"D1_0", "D1_1", "D2_0"}));
    QCOMPARE(s.w.buttonList().size(), 3);
    QCOMPARE(s.at(0, 2), QString("  指令: D1_1  "));
    QCOMPARE(s.at(0, 3), QString("信号0_值1"));
    QCOMPARE(s.at(1, 1), QString("信号1_值0"));
    QCOMPARE(s.w.maxCol(), 4);
    QCOMPARE(s.w.maxRow(), 1);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    QCOMPARE(s.w.size(), QSize(580, 275));
    QCOMPARE(s.w.pos(), QPoint(screen.width() / 4, screen.height() / 4));
}

void TestSendPLC::emptyList()
{
    Sender s;
    s.w.setCommandList(QJsonArray());
    QVERIFY(s.w.buttonList().isEmpty());
    QVERIFY(s.gridPanel()->findChildren<QLabel *>().isEmpty());
    QCOMPARE(s.w.size(), QSize(300, 230));
    s.later();
    s.click("pushButton_sendALL");
    QCOMPARE(s.boxes.titles(), QStringList{"失败"});
    QCOMPARE(s.boxes.boxes.first().text, QString("无指令"));
    QVERIFY(s.sent().isEmpty());
}

void TestSendPLC::blocksOf20Rows()
{
    Sender s;
    s.w.setCommandList(ones(21));
    QCOMPARE(s.at(19, 1), QString("信号19_值0"));
    QCOMPARE(s.at(0, 2), QString("      "));
    QCOMPARE(s.at(0, 3), QString("  指令: D21_0  "));
    QCOMPARE(s.at(0, 4), QString("信号20_值0"));
    QCOMPARE(s.gridPanel()->findChildren<QLabel *>().size(), 22);
}

void TestSendPLC::largeGridStaysOnScreen()
{
    Sender s;
    QList<int> counts;
    for (int i = 0; i < 60; ++i)
        counts << 6;
    s.w.setCommandList(entries(counts)); // 3 blocks of 12 columns, 20 rows
    QCOMPARE(s.w.maxCol(), 38);
    QVERIFY(available().contains(s.w.geometry()));
    QVERIFY(s.w.width() < 38 * 140 + 20);
    auto *area = s.w.findChild<QScrollArea *>("scrollArea");
    QTRY_VERIFY(area->horizontalScrollBar()->maximum() > 0);
    QVERIFY(area->verticalScrollBar()->maximum() > 0);
}

void TestSendPLC::gridButtonsSendTheirCommand()
{
    Sender s;
    s.w.setCommandList(entries({2, 1}));
    s.later();
    s.boxes.queue(QMessageBox::Yes);
    s.w.buttonList().at(1)->click();
    QCOMPARE(s.boxes.titles(), QStringList{"确认发送此指令,指令错误可能导致程序崩溃!"});
    QCOMPARE(s.boxes.boxes.first().text, QString("D1_1"));
    QCOMPARE(s.sent(), QStringList{"D1_1"});
    s.later();
    s.boxes.queue(QMessageBox::No);
    s.w.buttonList().at(2)->click();
    QVERIFY(s.sent().isEmpty());
}

void TestSendPLC::typedCommands()
{
    Sender s;
    s.w.setCommandList(entries({1}));
    const QString refused = "指令可能错误";
    const QString ask = "确认发送此指令,指令错误可能导致程序崩溃？";
    const QList<QPair<QString, QString>> cases{
        {"AB_C", refused}, {"补全部信号#D1_0#D2_1", refused}, {"D100_1", ask}};
    for (const auto &c : cases) {
        s.later();
        s.boxes.clear();
        s.boxes.queue(QMessageBox::Yes);
        s.type(c.first);
        s.click("pushButton_send");
        QCOMPARE(s.boxes.titles(), QStringList{c.second});
        if (c.second == ask) {
            QCOMPARE(s.boxes.boxes.first().text, c.first);
            QCOMPARE(s.sent(), QStringList{c.first});
        } else {
            s.boxes.take();
            QVERIFY(s.sent().isEmpty());
        }
    }
    s.later();
    s.boxes.clear();
    s.type("AB_C");
    s.click("pushButton_send");
    QCOMPARE(s.boxes.boxes.first().text, QString("长度小于5，或者未包含_，指令：AB_C"));
    QCOMPARE(s.w.findChild<QLineEdit *>("lineEdit")->text(), QString("AB_C"));
}

void TestSendPLC::sendAll()
{
    Sender s;
    s.w.setCommandList(entries({1, 0, 2}));
    s.later();
    s.boxes.queue(QMessageBox::Yes);
    s.click("pushButton_sendALL");
    QCOMPARE(s.boxes.titles(), QStringList{"确认补全部信号？"});
    QCOMPARE(s.boxes.boxes.first().text, QString("补全部信号，可能导致通信流程变更！"));
    QCOMPARE(s.sent(), QStringList{"补全部信号#D1_0#D3_0#D3_1"});

    s.w.setCommandList(entries({1, 1}));
    s.later();
    s.boxes.queue(QMessageBox::Yes);
    s.click("pushButton_sendALL");
    QCOMPARE(s.sent(), QStringList{"补全部信号#D1_0#D2_0"});
    s.later();
    s.boxes.queue(QMessageBox::No);
    s.click("pushButton_sendALL");
    QVERIFY(s.sent().isEmpty());
}

void TestSendPLC::clickGuard()
{
    Sender s;
    s.boxes.answer = QMessageBox::Yes;
    s.w.setCommandList(entries({1}));
    s.later(99); // right after a build
    s.click("pushButton_sendALL");
    s.w.buttonList().first()->click();
    QCOMPARE(s.boxes.count(), 0);
    s.later(1);
    s.w.buttonList().first()->click();
    QCOMPARE(s.sent(), QStringList{"D1_0"});
    s.later(50); // right after a send, on another control
    s.type("D100_1");
    s.click("pushButton_send");
    QCOMPARE(s.boxes.count(), 1);
    s.later(50);
    s.click("pushButton_send");
    QCOMPARE(s.sent(), QStringList{"D100_1"});
    s.later(99); // a refusal counts too
    s.boxes.answer = QMessageBox::No;
    s.click("pushButton_sendALL");
    QCOMPARE(s.boxes.count(), 2);
}

void TestSendPLC::rebuildLeavesNoOldWidget()
{
    Sender s;
    s.w.setCommandList(ones(25));
    const QSize firstSize = s.w.size();
    QList<QPointer<QWidget>> old;
    for (QWidget *w : s.gridPanel()->findChildren<QWidget *>())
        old << w;
    QPointer<QPushButton> oldButton = s.w.buttonList().first();

    s.w.setCommandList(entries({1}));
    QCOMPARE(s.gridPanel()->findChildren<QWidget *>().size(), 2);
    s.later();
    s.boxes.answer = QMessageBox::Yes;
    if (oldButton)
        oldButton->click(); // disconnected
    QCOMPARE(s.boxes.count(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const auto &w : old)
        QVERIFY(w.isNull());

    s.w.setCommandList(ones(25)); // the same array gives the same grid and size again
    QCOMPARE(s.w.size(), firstSize);
    QCOMPARE(s.at(0, 2), QString("      "));
    QCOMPARE(s.at(4, 4), QString("信号24_值0"));

    // A rebuild while a grid button's question is open drops that send.
    s.later();
    s.boxes.answer = QMessageBox::NoButton;
    s.boxes.hook = [&](QMessageBox *box) {
        s.w.setCommandList(entries({1}));
        s.boxes.hook = nullptr;
        box->button(QMessageBox::Yes)->click();
        return true;
    };
    s.w.buttonList().at(3)->click();
    QVERIFY(s.sent().isEmpty());
    QCOMPARE(s.w.commandList(), QStringList{"D1_0"});
}

QTEST_MAIN(TestSendPLC)
#include "tst_send_plc.moc"
