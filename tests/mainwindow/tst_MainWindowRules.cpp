#include "MainWindowRules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace MainWindowRules;

class TestMainWindowRules : public QObject
{
    Q_OBJECT

private slots:
    void documentNameAndMode();
    void gridLayout_data();
    void gridLayout();
    void shotLists();
    void shotCountsOutsideTheLimit_data();
    void shotCountsOutsideTheLimit();
    void imageRouting();
    void geometry();
    void stopDebounce();
    void roleGate();
    void logLineFormat();
};

void TestMainWindowRules::documentNameAndMode()
{
    QCOMPARE(configFileName(2), QStringLiteral("camera_cfg2.json"));
    for (int n : {0, 1, 3, -2, 20})
        QCOMPARE(configFileName(n), QStringLiteral("camera_cfg.json"));

    QCOMPARE(communicationMode(QStringLiteral("false"), 0), 1);
    QCOMPARE(communicationMode(QStringLiteral("true"), 0), 2);
    QCOMPARE(communicationMode(QStringLiteral("true,false"), 2), 1); // "false" wins
    QCOMPARE(communicationMode(QString(), 2), 2);                     // absent key keeps the mode
    QCOMPARE(communicationMode(QStringLiteral("TRUE"), 1), 1);        // case-sensitive
}

void TestMainWindowRules::gridLayout_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("perRowPair");
    QTest::newRow("1") << 1 << QList<int>{1};
    QTest::newRow("2") << 2 << QList<int>{2};
    QTest::newRow("3") << 3 << QList<int>{2, 1};
    QTest::newRow("4") << 4 << QList<int>{2, 2};
    QTest::newRow("5") << 5 << QList<int>{3, 2};
    QTest::newRow("6") << 6 << QList<int>{3, 3};
    QTest::newRow("7") << 7 << QList<int>{3, 3, 1};
    QTest::newRow("8") << 8 << QList<int>{3, 3, 2};
    QTest::newRow("9") << 9 << QList<int>{3, 3, 3};
    QTest::newRow("10") << 10 << QList<int>{3, 3, 3, 1};
}

void TestMainWindowRules::gridLayout()
{
    QFETCH(int, count);
    QFETCH(QList<int>, perRowPair);
    QList<int> got;
    for (int c = 0; c < count; ++c) {
        const GridCell cell = gridCell(c, count);
        QCOMPARE(cell.viewRow, cell.captionRow + 1);
        QCOMPARE(cell.captionRow % 2, 0);
        const int pair = cell.captionRow / 2;
        while (got.size() <= pair)
            got.append(0);
        QCOMPARE(cell.column, got[pair]); // filled left to right
        ++got[pair];
    }
    QCOMPARE(got, perRowPair);
}

void TestMainWindowRules::shotLists()
{
    const ShotList two = shotList(QStringLiteral("CamA"), QStringLiteral("Top"), QStringLiteral("2"));
    QCOMPARE(two.entries, QStringList({"CamA#Top_0", "CamA#Top_1"}));
    QCOMPARE(two.shotNames, QStringList({"CamA_0", "CamA_1"}));
    QCOMPARE(two.tableTexts, QStringList({"Top_0", "Top_1"}));
    QVERIFY(two.error.isEmpty());

    // Not a number, zero or negative: a view but no shots, and no error for text.
    for (const char *text : {"0", "", "abc", "2x"})
        QVERIFY(shotList("K", "W", QString::fromLatin1(text)).entries.isEmpty());

    // Keys and names holding the separators keep every part in place.
    const ShotList odd = shotList(QStringLiteral("C#a_b"), QStringLiteral("W_1#x"), QStringLiteral("1"));
    QCOMPARE(odd.shotNames, QStringList{"C#a_b_0"});
    QCOMPARE(odd.tableTexts, QStringList{"W_1#x_0"});
    QCOMPARE(odd.entries, QStringList{"C#a_b#W_1#x_0"});

    const ShotList most = shotList("K", "W", QString::number(kMaxShotsPerCamera));
    QCOMPARE(most.entries.size(), kMaxShotsPerCamera);
    QCOMPARE(most.shotNames.last(), QStringLiteral("K_999"));
}

void TestMainWindowRules::shotCountsOutsideTheLimit_data()
{
    QTest::addColumn<QString>("count");
    QTest::newRow("1001") << "1001";
    QTest::newRow("1e9") << "1000000000";
    QTest::newRow("past 64 bits") << "99999999999999999999999";
    QTest::newRow("negative") << "-3";
}

void TestMainWindowRules::shotCountsOutsideTheLimit()
{
    QFETCH(QString, count);
    const ShotList list = shotList("K", "W", count);
    QVERIFY(list.entries.isEmpty());
    QVERIFY(list.shotNames.isEmpty());
    QVERIFY(list.error.contains(count));
}

void TestMainWindowRules::imageRouting()
{
    const QStringList keys{"CamA", "CamB", "CamA", "Cam_A", ""};
    QCOMPARE(cameraForImage("CamA_0", keys), 0);
    QCOMPARE(cameraForImage("CamA_7_x", keys), 0); // first of two equal keys wins
    QCOMPARE(cameraForImage("CamB_", keys), 1);
    QCOMPARE(cameraForImage("CamA", keys), -1);    // no "_"
    QCOMPARE(cameraForImage("CamC_1", keys), -1);
    QCOMPARE(cameraForImage("Cam_A_0", keys), -1); // read as "Cam"
    QCOMPARE(cameraForImage("_x", keys), 4);       // empty key
    QCOMPARE(cameraForImage("cama_0", keys), -1);  // case-sensitive
}

void TestMainWindowRules::geometry()
{
    QCOMPARE(sceneRect(801, 600), QRect(-400, -300, 801, 600));
    QCOMPARE(sceneRect(0, 0), QRect(0, 0, 0, 0));
}

void TestMainWindowRules::stopDebounce()
{
    QVERIFY(!stopPressAccepted(1050, 1000));
    QVERIFY(!stopPressAccepted(1099, 1000));
    QVERIFY(stopPressAccepted(1100, 1000));
    QVERIFY(stopPressAccepted(5000000000LL, 1000)); // 64-bit clock
}

void TestMainWindowRules::roleGate()
{
    QVERIFY(isAdministrator(QStringLiteral("管理员：超级用户")));
    QVERIFY(!isOperator(QStringLiteral("管理员：超级用户")));
    QVERIFY(isOperator(QStringLiteral("操作员:\r\nzhang")));
    QVERIFY(!isAdministrator(QStringLiteral("操作员:\r\nzhang")));
    QVERIFY(isOperator(QStringLiteral("管理员:\r\n操作员王"))); // the shown text decides
}

void TestMainWindowRules::logLineFormat()
{
    const QDateTime t(QDate(2024, 3, 5), QTime(14, 7, 9, 42));
    QCOMPARE(logLine(t, QStringLiteral("程序自动运行。")), QStringLiteral("2024-03-05 14:07:09:042 程序自动运行。"));
}

QTEST_APPLESS_MAIN(TestMainWindowRules)
#include "tst_MainWindowRules.moc"
