// Password document: defaults, reading, fail-closed loading, add/remove rules and atomic saves.
#include "PasswordStore.h"
#include "ReadOnlyFolder.h"
#include "SparseFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>


using Role = PasswordStore::Role;
using Check = PasswordStore::AddCheck;

namespace {

const QString kSuper = QStringLiteral("超级用户");
const QString kDefault = QStringLiteral("默认用户");
const QString kPassword = QStringLiteral("482917365");

QString docPath(const QTemporaryDir &dir) { return dir.path() + "/config/password.json"; }

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QJsonObject readJson(const QString &path)
{
    return QJsonDocument::fromJson(readFile(path)).object();
}

QStringList names(const QJsonObject &doc, const QString &key)
{
    QStringList out;
    for (const QJsonValue &v : doc.value(key).toArray())
        out << v.toObject().value(QStringLiteral("用户名称")).toString();
    return out;
}

} // namespace

class TestPasswordStore : public QObject
{
    Q_OBJECT
private slots:
    void defaultsWrittenOnceAndReadBack();
    void readingRules();
    void failClosed_data();
    void failClosed();
    void loginNeedsAnAccountOfTheRole();
    void addChecksInOrder_data();
    void addChecksInOrder();
    void saveSortsAndRewritesWhole();
    void failedSaveRollsBack();
    void readOnlyFolderSaveFails();
    void constantTimeCompare();
    void limitedWriteKeepsTheOldDocument_data();
    void limitedWriteKeepsTheOldDocument();
};

void TestPasswordStore::defaultsWrittenOnceAndReadBack()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    PasswordStore first;
    QCOMPARE(first.load(dir.path()), PasswordStore::LoadResult::DefaultsWritten);
    QCOMPARE(first.documentPath(), docPath(dir));
    QCOMPARE(readJson(docPath(dir)), PasswordStore::defaultDocument());
    const QJsonObject doc = readJson(docPath(dir));
    QCOMPARE(doc.keys(), QStringList({"操作员", "管理员"}));
    QCOMPARE(doc.value("管理员").toArray().size(), 1);
    QCOMPARE(doc.value("管理员").toArray().at(0).toObject(),
             QJsonObject({{"用户名称", kSuper}, {"密码", kPassword}}));
    QCOMPARE(doc.value("操作员").toArray().at(0).toObject(),
             QJsonObject({{"用户名称", kDefault}, {"密码", kPassword}}));
    QCOMPARE(QFileInfo(docPath(dir)).permissions() & 0x0077, QFileDevice::Permissions());
    QVERIFY(first.checkUnlock(kPassword));
    QVERIFY(first.checkPassword(Role::Operator, kDefault, kPassword));

    const QByteArray bytes = readFile(docPath(dir));
    const QDateTime written = QFileInfo(docPath(dir)).lastModified();
    PasswordStore second;
    QCOMPARE(second.load(dir.path()), PasswordStore::LoadResult::Read);
    QCOMPARE(readFile(docPath(dir)), bytes);
    QCOMPARE(QFileInfo(docPath(dir)).lastModified(), written);
    QCOMPARE(second.accounts(Role::Administrator), first.accounts(Role::Administrator));
    QCOMPARE(second.accounts(Role::Operator), first.accounts(Role::Operator));
}

void TestPasswordStore::readingRules()
{
    QTemporaryDir dir;
    writeFile(docPath(dir), R"({
        "管理员": [ {"用户名称": "超级用户", "密码": "111111111"}, {"用户名称": "both", "密码": ""} ],
        "操作员": [ {"用户名称": "op", "密码": "first"}, {"用户名称": "op", "密码": "second"},
                   {"用户名称": "both", "密码": "b"} ],
        "其他": 1 })");
    PasswordStore store;
    QCOMPARE(store.load(dir.path()), PasswordStore::LoadResult::Read);
    // Later duplicate wins.
    QCOMPARE(store.accounts(Role::Operator).value("op"), QString("second"));
    QCOMPARE(store.accounts(Role::Administrator).value("both"), QString());
    // A name in both roles stays in both and is taken for adding.
    QVERIFY(store.holds(Role::Operator, "both"));
    QCOMPARE(store.checkAdd("both", "123456789", "123456789"), Check::Duplicate);
    // Exact comparison.
    QVERIFY(store.checkPassword(Role::Administrator, kSuper, "111111111"));
    QVERIFY(!store.checkPassword(Role::Administrator, kSuper, "111111111 "));
    QVERIFY(!store.checkPassword(Role::Operator, "OP", "second"));
    // The file is read only; nothing is written on load.
    QVERIFY(readFile(docPath(dir)).contains("其他"));

    // A missing role list reads as empty.
    QTemporaryDir dir2;
    writeFile(docPath(dir2), R"({"其他": "x"})");
    PasswordStore sparse;
    QCOMPARE(sparse.load(dir2.path()), PasswordStore::LoadResult::Read);
    QVERIFY(sparse.accounts(Role::Administrator).isEmpty());
    QVERIFY(sparse.accounts(Role::Operator).isEmpty());
}

void TestPasswordStore::failClosed_data()
{
    // What stands at the document path: file content, or a folder, a pipe or a link loop.
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("kind");
    QTest::newRow("array") << QByteArray("[]") << "file";
    QTest::newRow("garbage") << QByteArray("garbage") << "file";
    QTest::newRow("empty file") << QByteArray() << "file";
    QTest::newRow("admin list an object")
        << QByteArray(R"({"管理员": {"用户名称": "超级用户", "密码": "482917365"}, "操作员": []})") << "file";
    QTest::newRow("password a number")
        << QByteArray(R"({"管理员": [{"用户名称": "超级用户", "密码": 482917365}]})") << "file";
    QTest::newRow("entry not an object")
        << QByteArray(R"({"管理员": [{"用户名称": "超级用户", "密码": "482917365"}, 7]})") << "file";
    QTest::newRow("operator list a text") << QByteArray(R"({"操作员": "x"})") << "file";
    // A repeated key: the later value counts (here a text replacing a valid list).
    QTest::newRow("admin list repeated as a text")
        << QByteArray(R"({"管理员": [{"用户名称": "a", "密码": "1"}], "管理员": ""})") << "file";
    QTest::newRow("directory") << QByteArray() << "dir";
    QTest::newRow("named pipe") << QByteArray() << "fifo";
    QTest::newRow("link loop") << QByteArray() << "loop";
    QTest::newRow("over 2 GB") << QByteArray() << "huge"; // sparse
}

void TestPasswordStore::failClosed()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = docPath(dir);
    QDir().mkpath(QFileInfo(path).path());
    if (kind == "dir")
        QVERIFY(QDir().mkpath(path));
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == "loop")
        QVERIFY(QFile::link(path, path));
    else if (kind == "huge")
        QVERIFY(sparseFile(path, qint64(2) << 30 | 1));
    else
        writeFile(path, content);

    PasswordStore store;
    QCOMPARE(store.load(dir.path()), PasswordStore::LoadResult::Broken);
    QVERIFY(store.isBroken());
    QVERIFY(store.accounts(Role::Administrator).isEmpty());
    // No login and no unlock, not even with the empty password or the default one.
    QVERIFY(!store.checkUnlock(QString()));
    QVERIFY(!store.checkUnlock(kPassword));
    QVERIFY(!store.checkPassword(Role::Administrator, kSuper, QString()));
    QVERIFY(!store.checkPassword(Role::Operator, kDefault, QString()));
    // Never written over.
    QString error;
    QVERIFY(!store.add(Role::Operator, "worker", "123456789", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!store.holds(Role::Operator, "worker"));
    QVERIFY(!store.save());
    const QFileInfo after(path);
    if (kind == "dir")
        QVERIFY(after.isDir());
    else if (kind == "fifo")
        QVERIFY(!after.isFile() && after.exists());
    else if (kind == "loop")
        QCOMPARE(after.symLinkTarget(), path);
    else if (kind == "huge")
        QCOMPARE(after.size(), qint64(2) << 30 | 1);
    else
        QCOMPARE(readFile(path), content);
}

void TestPasswordStore::loginNeedsAnAccountOfTheRole()
{
    QTemporaryDir dir;
    writeFile(docPath(dir), R"({"管理员": [{"用户名称": "boss", "密码": "123456789"}],
                               "操作员": [{"用户名称": "nopw", "密码": ""}]})");
    PasswordStore store;
    QCOMPARE(store.load(dir.path()), PasswordStore::LoadResult::Read);
    // The super user is missing: neither login nor unlock with the empty password.
    QVERIFY(!store.checkUnlock(QString()));
    QVERIFY(!store.checkPassword(Role::Administrator, kSuper, QString()));
    // The empty name (user box emptied) is no account.
    QVERIFY(!store.checkPassword(Role::Administrator, QString(), QString()));
    // A name is checked only in the chosen role.
    QVERIFY(store.checkPassword(Role::Administrator, "boss", "123456789"));
    QVERIFY(!store.checkPassword(Role::Operator, "boss", QString()));
    QVERIFY(!store.checkPassword(Role::Operator, "boss", "123456789"));
    // An account that really has the empty password still logs in.
    QVERIFY(store.checkPassword(Role::Operator, "nopw", QString()));
}

void TestPasswordStore::addChecksInOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("repeat");
    QTest::addColumn<int>("result");
    // Each refusal wins over every later one.
    QTest::newRow("empty name") << "" << "" << "x" << int(Check::EmptyName);
    QTest::newRow("taken as admin") << kSuper << "" << "x" << int(Check::Duplicate);
    QTest::newRow("taken as operator") << kDefault << "12" << "x" << int(Check::Duplicate);
    QTest::newRow("empty password") << "new" << "" << "x" << int(Check::EmptyPassword);
    QTest::newRow("8 chars") << "new" << "12345678" << "x" << int(Check::WrongLength);
    QTest::newRow("10 chars") << "new" << "1234567890" << "1234567890" << int(Check::WrongLength);
    QTest::newRow("8 chinese chars") << "new" << "一二三四五六七八" << "一二三四五六七八"
                                     << int(Check::WrongLength);
    QTest::newRow("mismatch") << "new" << "123456789" << "123456780" << int(Check::Mismatch);
    QTest::newRow("ok ascii") << "new" << "123456789" << "123456789" << int(Check::Ok);
    // 9 characters, 27 bytes in UTF-8.
    QTest::newRow("ok 9 chinese chars") << "新人" << "一二三四五六七八九" << "一二三四五六七八九"
                                        << int(Check::Ok);
    QTest::newRow("name is exact") << " 超级用户" << "123456789" << "123456789" << int(Check::Ok);
}

void TestPasswordStore::addChecksInOrder()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, repeat);
    QFETCH(int, result);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    PasswordStore store;
    store.load(dir.path());
    QCOMPARE(int(store.checkAdd(name, password, repeat)), result);
}

void TestPasswordStore::saveSortsAndRewritesWhole()
{
    QTemporaryDir dir;
    writeFile(docPath(dir), R"({"管理员": [{"用户名称": "超级用户", "密码": "482917365"}],
        "操作员": [{"用户名称": "默认用户", "密码": "482917365"}, {"用户名称": "zed", "密码": "1"},
                   {"用户名称": "zed", "密码": "2", "extra": true}],
        "其他": 1})");
    PasswordStore store;
    store.load(dir.path());
    QVERIFY(store.add(Role::Administrator, "b2", "123456789"));
    QVERIFY(store.add(Role::Administrator, "A1", "一二三四五六七八九"));
    const QJsonObject doc = readJson(docPath(dir));
    QCOMPARE(doc.keys(), QStringList({"操作员", "管理员"}));
    QCOMPARE(names(doc, "管理员"), QStringList({"A1", "b2", kSuper}));
    QCOMPARE(names(doc, "操作员"), QStringList({"zed", kDefault}));
    QCOMPARE(doc.value("操作员").toArray().at(0).toObject(),
             QJsonObject({{"用户名称", "zed"}, {"密码", "2"}}));
    QCOMPARE(store.document(), doc);
    QCOMPARE(QFileInfo(docPath(dir)).permissions() & 0x0077, QFileDevice::Permissions());

    // A new start reads back what was saved.
    PasswordStore again;
    again.load(dir.path());
    QVERIFY(again.checkPassword(Role::Administrator, "A1", "一二三四五六七八九"));
    QVERIFY(again.remove(Role::Administrator, "A1"));
    QCOMPARE(names(readJson(docPath(dir)), "管理员"), QStringList({"b2", kSuper}));
    QVERIFY(!again.remove(Role::Operator, "b2"));
}

void TestPasswordStore::failedSaveRollsBack()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    PasswordStore store;
    store.load(dir.path());
    const QJsonObject before = store.document();
    QVERIFY(store.add(Role::Operator, "keep", "123456789"));
    const QJsonObject saved = store.document();

    // The folder disappears: the write fails and memory goes back to what the file holds.
    QVERIFY(QDir(dir.path() + "/config").removeRecursively());
    QString error;
    QVERIFY(!store.add(Role::Operator, "lost", "123456789", &error));
    QVERIFY(error.contains(docPath(dir)));
    QVERIFY(!store.holds(Role::Operator, "lost"));
    QCOMPARE(store.checkAdd("lost", "123456789", "123456789"), Check::Ok);
    QVERIFY(!store.remove(Role::Operator, "keep", &error));
    QVERIFY(store.holds(Role::Operator, "keep"));
    QCOMPARE(store.document(), saved);
    QVERIFY(before != saved);
    QVERIFY(!QFileInfo::exists(docPath(dir)));

    // Missing folder on the first start: the defaults are used, nothing is created.
    QTemporaryDir empty;
    PasswordStore fresh;
    QCOMPARE(fresh.load(empty.path()), PasswordStore::LoadResult::DefaultsWritten);
    QVERIFY(fresh.checkUnlock(kPassword));
    QVERIFY(!QFileInfo::exists(docPath(empty)));
    QVERIFY(!fresh.add(Role::Operator, "x", "123456789"));
}

void TestPasswordStore::readOnlyFolderSaveFails()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("config");
    PasswordStore store;
    store.load(dir.path());
    const QByteArray bytes = readFile(docPath(dir));
    {
        ReadOnlyFolder readOnly(dir.path() + "/config");
        if (!readOnly.isActive())
            QSKIP("cannot make a folder read-only here");
        QString error;
        QVERIFY(!store.add(Role::Operator, "x", "123456789", &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!store.remove(Role::Operator, kDefault));
        QVERIFY(store.holds(Role::Operator, kDefault));
    }
    QCOMPARE(readFile(docPath(dir)), bytes);
    QVERIFY(!store.holds(Role::Operator, "x"));
    QCOMPARE(QDir(dir.path() + "/config").entryList(QDir::Files), QStringList({"password.json"}));
}

void TestPasswordStore::constantTimeCompare()
{
    QVERIFY(PasswordStore::constantTimeEquals("", ""));
    QVERIFY(PasswordStore::constantTimeEquals("一二三", "一二三"));
    QVERIFY(!PasswordStore::constantTimeEquals("abc", "abd"));
    QVERIFY(!PasswordStore::constantTimeEquals("abc", "abcd"));
    QVERIFY(!PasswordStore::constantTimeEquals("", "a"));
    QVERIFY(!PasswordStore::constantTimeEquals("a", ""));
    QVERIFY(!PasswordStore::constantTimeEquals("Abc", "abc"));
}

void TestPasswordStore::limitedWriteKeepsTheOldDocument_data()
{
    // limit: file-size limit of the saving process; before: document there before.
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("before");
    QTest::newRow("first start") << "load" << 100 << false;
    QTest::newRow("add") << "add" << 40 << true;
    QTest::newRow("remove") << "remove" << 40 << true;
    QTest::newRow("raw over a document") << "raw" << 10 << true;
    QTest::newRow("raw, none before") << "raw" << 10 << false;
}

void TestPasswordStore::limitedWriteKeepsTheOldDocument()
{
    QFETCH(QString, action);
    QFETCH(int, limit);
    QFETCH(bool, before);
    QTemporaryDir dir;
    const QString path = docPath(dir);
    QDir().mkpath(QFileInfo(path).path());
    if (before) {
        PasswordStore seed;
        QCOMPARE(seed.load(dir.path()), PasswordStore::LoadResult::DefaultsWritten);
        QVERIFY(seed.add(Role::Operator, "worker", "123456789"));
    }
    const QByteArray old = readFile(path);

    QProcess child;
    const QString target = action == "raw" ? path : dir.path();
    const QString extra = action == "raw" ? QString(200, QChar('x')) : QStringLiteral("worker");
    child.start(QCoreApplication::applicationDirPath() + "/limited_save_child",
                {QString::number(limit), action, target, extra});
    QVERIFY(child.waitForFinished(30000));
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    if (action == "load") {
        // The defaults are used for the run; the file is absent or whole.
        QCOMPARE(child.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(path) || readJson(path) == PasswordStore::defaultDocument());
    } else {
        QCOMPARE(child.exitCode(), 1);
        QVERIFY2(out.startsWith("fail ") && out.contains(path), qPrintable(out));
        QVERIFY2(out.contains("large"), qPrintable(out)); // the system's reason (EFBIG)
    }
    QCOMPARE(QFileInfo::exists(path), before);
    QCOMPARE(readFile(path), old);
    // No temporary file left beside it.
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden).size(), before ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestPasswordStore)
#include "tst_passwordstore.moc"
