// Document file reading and writing: size ceiling, read-only documents, all-or-nothing appends.
#include "DocumentFile.h"
#include "FileSizeLimit.h"
#include "SparseFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool makeFile(const QString &path, const QByteArray &bytes, QFileDevice::Permissions perms = {})
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return false;
    f.close();
    return !perms || QFile::setPermissions(path, perms);
}

const QFileDevice::Permissions kReadOnly =
    QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
// The bits themselves: the "user" flags follow access(), which root always passes.
const QFileDevice::Permissions kAnyWrite =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

} // namespace

class TestDocumentFile : public QObject
{
    Q_OBJECT
private slots:
    void sizeCeiling();
    void readOnlyRefusedForEveryUser();
    void appendAllOrNothing();
};

void TestDocumentFile::sizeCeiling()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("doc.json");
    QVERIFY(sparseFile(path, docfile::kMaxDocumentBytes));
    QCOMPARE(docfile::read(path).status, docfile::ReadStatus::Ok);
    QCOMPARE(docfile::read(path).bytes.size(), int(docfile::kMaxDocumentBytes));

    QVERIFY(sparseFile(path, docfile::kMaxDocumentBytes + 1));
    const docfile::ReadResult r = docfile::read(path);
    QCOMPARE(r.status, docfile::ReadStatus::TooLarge);
    QVERIFY(r.broken());
    QVERIFY(r.bytes.isEmpty());
    QVERIFY(r.error.startsWith(path));
}

void TestDocumentFile::readOnlyRefusedForEveryUser()
{
    // The suites run as root too: the permission bits decide, not access().
    QTemporaryDir dir;
    const QString path = dir.filePath("camera_cfg.json");
    QVERIFY(makeFile(path, "{\"a\": \"1\"}", kReadOnly));
    QVERIFY(docfile::readOnly(path));
    QVERIFY(!docfile::readOnly(dir.filePath("missing.json")));

    QString error;
    QVERIFY(!docfile::write(path, "{}", &error));
    QVERIFY(error.startsWith(path));
    QVERIFY(!docfile::append(path, "x", &error));
    QCOMPARE(readAll(path), QByteArray("{\"a\": \"1\"}"));
    QVERIFY(!(QFile::permissions(path) & kAnyWrite)); // not replaced by a writable copy

    QVERIFY(QFile::setPermissions(path, kReadOnly | QFileDevice::WriteOwner));
    QVERIFY(!docfile::readOnly(path));
    QVERIFY(docfile::write(path, "{}", &error));
    QCOMPARE(readAll(path), QByteArray("{}"));
}

void TestDocumentFile::appendAllOrNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("extract.log");
    QString error;
    QVERIFY(docfile::append(path, "\rfirst", &error));
    QVERIFY(docfile::append(path, "\rsecond", &error));
    QCOMPARE(readAll(path), QByteArray("\rfirst\rsecond"));

    {
        FileSizeLimit limit(20);
        QVERIFY(limit.active());
        QVERIFY(!docfile::append(path, QByteArray(100, 'x'), &error));
    }
    QVERIFY2(error.contains("File too large"), qPrintable(error));
    QCOMPARE(readAll(path), QByteArray("\rfirst\rsecond")); // no cut tail
}

QTEST_GUILESS_MAIN(TestDocumentFile)
#include "tst_document_file.moc"
