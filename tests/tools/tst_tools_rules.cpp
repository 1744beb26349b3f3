// Paging, matching and extracts of the result-log filter; grid, checks and guard of the
// PLC signal sender; what a log view shows of an overlong line.
#include "HistoryLogRules.h"
#include "LogLine.h"
#include "SendPlcRules.h"

#include <QDir>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace historylog;

namespace {

QJsonArray signalEntries(const QList<int> &valueCounts)
{
    QJsonArray entries;
    for (int i = 0; i < valueCounts.size(); ++i) {
        QJsonArray values;
        for (int v = 0; v < valueCounts[i]; ++v)
            values.append(QJsonObject{{"标签名", QString("L%1").arg(v)}, {"标签值", QString::number(v)}});
        entries.append(QJsonObject{{"信号名", QString("S%1").arg(i)},
                                   {"指令地址", QString("D%1").arg(i + 1)},
                                   {"信号值", values}});
    }
    return entries;
}

QString cells(const sendplc::Grid &grid)
{
    QStringList out;
    for (const auto &c : grid.cells)
        out << QString("%1@%2,%3").arg("LBS"[c.kind]).arg(c.row).arg(c.col);
    return out.join(' ');
}

} // namespace

class TestToolsRules : public QObject
{
    Q_OBJECT
private slots:
    void pagingThousandLines();
    void matchIsCaseSensitiveSubstring();
    void extractNames_data();
    void extractNames();
    void extractNameStaysWithin255Bytes();
    void extractBytesAndFailures();
    void shownLines_data();
    void shownLines();
    void gridOfTwoOneAndZeroValues();
    void gridBlocks_data();
    void gridBlocks();
    void windowFitsTheAvailableScreen();
    void typedCommands_data();
    void typedCommands();
    void sendAllAndGuard();
};

void TestToolsRules::pagingThousandLines()
{
    // The worked example runs through the window's suite; here the hysteresis branches.
    const int n = 1000, m = 1000;
    QCOMPARE(firstPageCount(n), 200);
    Page p = pageForValue(n, m, 200, 197); // up, within three lines: three lines of overlap
    QCOMPARE(QPair(p.first, p.last), QPair(197, 397));
    QCOMPARE(viewValue(p.view, 180), 4);
    p = pageForValue(n, m, 700, 550); // up, less than a page
    QCOMPARE(QPair(p.first, p.last), QPair(350, 550));
    p = pageForValue(n, m, 200, 350); // down, less than a page
    QCOMPARE(QPair(p.first, p.last), QPair(150, 350));
    QCOMPARE(viewValue(p.view, 180), 160);
    QVERIFY(!pageForValue(n, m, 1000, 850).rebuild); // the last page is already shown
    QVERIFY(!pageForValue(n, m, 0, 150).rebuild);    // down, still inside the first page
    QCOMPARE(pagerValueForView(500, m, 90, 180), -1); // middle of the view
    QCOMPARE(pagerValueForView(100, 150, 40, 40), 143); // bottom of a short first page
    const Page clamped = pageForValue(300, 5000, 200, 4000); // a bar longer than the list
    QCOMPARE(QPair(clamped.first, clamped.last), QPair(100, 300));
}

void TestToolsRules::matchIsCaseSensitiveSubstring()
{
    const QList<QString> lines{"x a::b y", "a:b", "a b"};
    QCOMPARE(matchLines(lines, "a::b"), QList<QString>{"x a::b y"}); // not split
    QCOMPARE(matchLines(lines, ""), lines);
    QList<int> calls;
    QList<QString> big;
    for (int i = 0; i < 200001; ++i)
        big << "l";
    matchLines(big, "l", [&](int i) { calls << i; });
    QCOMPARE(calls, (QList<int>{0, 100000, 200000}));
}

void TestToolsRules::extractNames_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "NG" << "2026-12-09-08-05-03-007_NG-.log";
    QTest::newRow("a::b") << "a::b" << "2026-12-09-08-05-03-007_a-b-.log";
    QTest::newRow("a::") << "a::" << "2026-12-09-08-05-03-007_a--.log";
    QTest::newRow("empty") << "" << "2026-12-09-08-05-03-007_-.log";
    QTest::newRow("path") << "../../etc/x" << "2026-12-09-08-05-03-007_.._.._etc_x-.log";
    QTest::newRow("refused") << "a\\b:c*d?e\"f<g>h|i\tj\nk"
                             << "2026-12-09-08-05-03-007_a_b_c_d_e_f_g_h_i_j_k-.log";
}

void TestToolsRules::extractNames()
{
    QFETCH(QString, keyword);
    QFETCH(QString, name);
    const QDateTime when(QDate(2026, 12, 9), QTime(8, 5, 3, 7));
    QCOMPARE(extractFileName(when, keyword), name);
}

void TestToolsRules::extractNameStaysWithin255Bytes()
{
    const QDateTime when(QDate(2026, 12, 9), QTime(8, 5, 3, 7));
    const QString name = extractFileName(when, QString(200, QChar(0x7ed3)) + QString::fromUtf8("😀"));
    QVERIFY(name.toUtf8().size() <= 255);
    QVERIFY(name.toUtf8().size() > 250);
    QVERIFY(name.startsWith("2026-12-09-08-05-03-007_"));
    QVERIFY(name.endsWith(QString(QChar(0x7ed3)) + ".log"));
    // A surrogate pair is never cut in half.
    QString emojis;
    for (int i = 0; i < 60; ++i)
        emojis += QString::fromUtf8("😀");
    const QString emoji = extractFileName(when, emojis);
    QVERIFY(emoji.toUtf8().size() <= 255);
    QCOMPARE(QString::fromUtf8(emoji.toUtf8()), emoji);
}

void TestToolsRules::extractBytesAndFailures()
{
    const QByteArray bytes = extractContent({"序号：1 结果：NG", "b", ""});
    QCOMPARE(bytes, QByteArray("\r") + QString("序号：1 结果：NG").toUtf8() + "\rb\r");
    QCOMPARE(extractContent({}), QByteArray());

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("ok/taken.log")); // the name is a folder
    QString error;
    QVERIFY(!appendExtract(dir.path() + "/ok", "taken.log", "\ra", &error));
    QVERIFY(error.contains("taken.log"));
}

void TestToolsRules::shownLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("shown");
    const QString a1999(1999, 'a');
    const QString smile = QString::fromUcs4(U"\U0001F600");
    QTest::newRow("at the limit") << a1999 + "b" << a1999 + "b";
    QTest::newRow("one over") << a1999 + "bc" << a1999 + "b…（省略1字）";
    QTest::newRow("pair across the cut") << a1999 + smile + "bb" << a1999 + "…（省略3字）";
    QTest::newRow("pairs left out count once") << a1999 + "b" + smile + smile << a1999 + "b…（省略2字）";
}

void TestToolsRules::shownLines()
{
    QFETCH(QString, line);
    QFETCH(QString, shown);
    QCOMPARE(logline::shown(line), shown);
}

void TestToolsRules::gridOfTwoOneAndZeroValues()
{
    const sendplc::Grid grid = sendplc::buildGrid(signalEntries({2, 1, 0}));
    QCOMPARE(cells(grid), QString("L@0,0 B@0,1 L@0,2 B@0,3 L@1,0 B@1,1"));
    QCOMPARE(grid.cells[3].command, 1);
    QCOMPARE(sendplc::gridWindowSize(grid.maxRow, grid.maxCol), QSize(580, 275));
    // Missing keys read as empty texts.
    const sendplc::Grid bare = sendplc::buildGrid(QJsonArray{QJsonObject{{"信号值", QJsonArray{QJsonObject{}}}}});
    QCOMPARE(bare.commands, QStringList{"_"});
    QCOMPARE(bare.cells[1].text, QString("_"));
}

void TestToolsRules::gridBlocks_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<int>("maxRow");
    QTest::addColumn<int>("maxCol");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("20") << 20 << "L@19,0 B@19,1 S@0,2" << 19 << 2 << QPoint(384, 135);
    QTest::newRow("21") << 21 << "B@19,1 S@0,2 L@0,3 B@0,4" << 19 << 5 << QPoint(384, 135);
    QTest::newRow("25") << 25 << "S@0,2 L@0,3 B@0,4 L@1,3 B@1,4 L@2,3 B@2,4 L@3,3 B@3,4 L@4,3 B@4,4"
                        << 19 << 5 << QPoint(384, 135);
    QTest::newRow("5") << 5 << "L@4,0 B@4,1" << 4 << 2 << QPoint(480, 270);
}

void TestToolsRules::gridBlocks()
{
    QFETCH(int, entries);
    QFETCH(QString, tail);
    QList<int> counts;
    for (int i = 0; i < entries; ++i)
        counts << 1;
    const sendplc::Grid grid = sendplc::buildGrid(signalEntries(counts));
    QVERIFY2(cells(grid).endsWith(tail), qPrintable(cells(grid)));
    QCOMPARE(grid.commands.size(), entries);
    QTEST(grid.maxRow, "maxRow");
    QTEST(grid.maxCol, "maxCol");
    QTEST(sendplc::gridWindowPlace(grid.maxRow, grid.maxCol, QSize(1920, 1080)), "place");
}

void TestToolsRules::windowFitsTheAvailableScreen()
{
    const QRect screen(0, 0, 1920, 1040);
    // 200 entries of 8 values: far wider and taller than the screen.
    const QRect wanted(QPoint(384, 135), sendplc::gridWindowSize(19, 169));
    const QRect kept = sendplc::keepOnScreen(wanted, screen);
    QCOMPARE(kept, screen);
    const QRect small(QPoint(1800, 1000), QSize(300, 200));
    QCOMPARE(sendplc::keepOnScreen(small, screen), QRect(QPoint(1620, 840), QSize(300, 200)));
    QCOMPARE(sendplc::keepOnScreen(QRect(480, 270, 580, 275), screen), QRect(480, 270, 580, 275));
}

void TestToolsRules::typedCommands_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("check");
    using C = sendplc::TypedCheck;
    QTest::newRow("AB_C") << "AB_C" << int(C::TooShortOrNoUnderscore);
    QTest::newRow("ABCDE") << "ABCDE" << int(C::TooShortOrNoUnderscore);
    QTest::newRow("AB_CD") << "AB_CD" << int(C::Ok);
    QTest::newRow("D100_1") << "D100_1" << int(C::Ok);
    QTest::newRow("blank padded") << " D_1 " << int(C::Ok);
    QTest::newRow("send-all form") << "补全部信号#D1_0#D2_1" << int(C::SendAllForm);
    QTest::newRow("send-all inside") << "X_1补全部信号" << int(C::SendAllForm);
}

void TestToolsRules::typedCommands()
{
    QFETCH(QString, text);
    QTEST(int(sendplc::checkTyped(text)), "check");
}

void TestToolsRules::sendAllAndGuard()
{
    QCOMPARE(sendplc::sendAllCommand({"D1_0", "D2_1"}), QString("补全部信号#D1_0#D2_1"));
    QCOMPARE(sendplc::sendAllCommand({"D1_0"}), QString("补全部信号#D1_0"));
    QCOMPARE(sendplc::sendAllCommand({}), QString());

    sendplc::ClickGuard guard;
    const qint64 big = qint64(1) << 40; // beyond 32 bits
    guard.reset(big);
    QVERIFY(!guard.accept(big + 99));
    QVERIFY(guard.accept(big + 100));
}

QTEST_GUILESS_MAIN(TestToolsRules)
#include "tst_tools_rules.moc"
