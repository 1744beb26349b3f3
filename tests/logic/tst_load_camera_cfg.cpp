// The configuration loader: every outcome with its log lines.
#include "LogCapture.h"
#include "Logic_transfer.h"
#include "SparseFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QScopeGuard>
#include <QtTest>

#include <sys/stat.h>

class TestLoadCameraCfg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void validDocument_loadsWholeObject();
    void topLevelArray_givesEmptyWithoutLog();
    void missingFile_logsNotReadableThenEmpty_data();
    void missingFile_logsNotReadableThenEmpty();
    void emptyFile_logsContentEmptyOnly();
    void syntaxError_logsIsError();
    void everyCallReadsTheFileAgain();

private:
    QString configFolder() const { return QCoreApplication::applicationDirPath() + QStringLiteral("/config/"); }
    void writeFile(const QString &name, const QByteArray &content);
    QStringList m_written;
    std::unique_ptr<Logic_transfer> m_bridge;
};

void TestLoadCameraCfg::initTestCase()
{
    QVERIFY(QDir().mkpath(configFolder()));
    m_bridge.reset(new Logic_transfer); // no module in this folder; only the loader is used
}

void TestLoadCameraCfg::cleanupTestCase()
{
    m_bridge.reset();
    for (const QString &name : qAsConst(m_written))
        QFile::remove(configFolder() + name);
}

void TestLoadCameraCfg::writeFile(const QString &name, const QByteArray &content)
{
    QFile f(configFolder() + name);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(content), qint64(content.size()));
    if (!m_written.contains(name))
        m_written << name;
}

void TestLoadCameraCfg::validDocument_loadsWholeObject()
{
    const QByteArray text = R"({
        "任务名": "站一",
        "是否为标准通信流程": "true",
        "模块私有": {"节拍": "100", "列表": ["1", "", "3"]},
        "工站列表": [{"工站名": "S1", "相机模块列表": [{"相机key": "cam1"}], "算法列表": []}]
    })";
    writeFile(QStringLiteral("tst_valid.json"), text);
    LogCapture log;
    const QJsonObject obj = m_bridge->load_camera_cfg(QStringLiteral("tst_valid.json"));
    QCOMPARE(obj, QJsonDocument::fromJson(text).object());
    QCOMPARE(obj.value(QStringLiteral("模块私有")).toObject().value(QStringLiteral("列表")).toArray().size(), 3);
    QCOMPARE(log.size(), 0);
}

void TestLoadCameraCfg::topLevelArray_givesEmptyWithoutLog()
{
    writeFile(QStringLiteral("tst_array.json"), "[{\"任务名\": \"x\"}]");
    LogCapture log;
    QVERIFY(m_bridge->load_camera_cfg(QStringLiteral("tst_array.json")).isEmpty());
    QCOMPARE(log.size(), 0);
}

void TestLoadCameraCfg::missingFile_logsNotReadableThenEmpty_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("named pipe") << "fifo"; // refused unopened: never blocks
    QTest::newRow("folder") << "dir";
    QTest::newRow("larger than any document") << "huge"; // sparse: nothing is allocated
}

void TestLoadCameraCfg::missingFile_logsNotReadableThenEmpty()
{
    QFETCH(QString, kind);
    const QString path = configFolder() + QStringLiteral("tst_missing.json");
    QFile::remove(path);
    QDir(path).removeRecursively();
    if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == "dir")
        QVERIFY(QDir().mkpath(path));
    else if (kind == "huge")
        QVERIFY(sparseFile(path, qint64(3) << 30));
    const auto cleanup = qScopeGuard([&] { QFile::remove(path); QDir(path).removeRecursively(); });
    LogCapture log;
    QVERIFY(m_bridge->load_camera_cfg(QStringLiteral("tst_missing.json")).isEmpty());
    const auto messages = log.messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0].first, QtCriticalMsg);
    QVERIFY(messages[0].second.startsWith(QStringLiteral("Logic_transfer::load_camera_cfg  line: ")));
    QVERIFY(messages[0].second.endsWith(QStringLiteral(" camera_cfg.json not isReadable!")));
    QCOMPARE(messages[1].first, QtDebugMsg);
    QVERIFY(messages[1].second.startsWith(QStringLiteral("Logic_transfer::load_camera_cfg  line: ")));
    QVERIFY2(messages[1].second.endsWith(configFolder() + QStringLiteral("tst_missing.json Content is empty")),
             qPrintable(messages[1].second));
}

void TestLoadCameraCfg::emptyFile_logsContentEmptyOnly()
{
    writeFile(QStringLiteral("tst_empty.json"), QByteArray());
    LogCapture log;
    QVERIFY(m_bridge->load_camera_cfg(QStringLiteral("tst_empty.json")).isEmpty());
    const auto messages = log.messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].first, QtDebugMsg);
    QVERIFY(messages[0].second.endsWith(configFolder() + QStringLiteral("tst_empty.json Content is empty")));
}

void TestLoadCameraCfg::syntaxError_logsIsError()
{
    writeFile(QStringLiteral("tst_comma.json"), "{\"任务名\": \"x\",}");
    LogCapture log;
    QVERIFY(m_bridge->load_camera_cfg(QStringLiteral("tst_comma.json")).isEmpty());
    const auto messages = log.messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].first, QtCriticalMsg);
    QVERIFY(messages[0].second.startsWith(QStringLiteral("Logic_transfer::load_camera_cfg  line: ")));
    QVERIFY(messages[0].second.endsWith(configFolder() + QStringLiteral("tst_comma.json is error!")));
}

void TestLoadCameraCfg::everyCallReadsTheFileAgain()
{
    writeFile(QStringLiteral("tst_again.json"), "{\"任务名\": \"一\"}");
    QCOMPARE(m_bridge->load_camera_cfg(QStringLiteral("tst_again.json")).value(QStringLiteral("任务名")).toString(),
             QStringLiteral("一"));
    writeFile(QStringLiteral("tst_again.json"), "{\"任务名\": \"二\"}");
    QCOMPARE(m_bridge->load_camera_cfg(QStringLiteral("tst_again.json")).value(QStringLiteral("任务名")).toString(),
             QStringLiteral("二"));
}

QTEST_GUILESS_MAIN(TestLoadCameraCfg)
#include "tst_load_camera_cfg.moc"
