// The debug-image writer: exact files per type, bounded queue, failures raised once, flush.
#include "BitmapWriter.h"
#include "FileSizeLimit.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <opencv2/imgcodecs.hpp>

namespace {
cv::Mat ramp(int type)
{
    cv::Mat m(37, 53, type);
    cv::randu(m, cv::Scalar::all(0), cv::Scalar::all(CV_MAT_DEPTH(type) == CV_16U ? 65535 : 255));
    return m;
}
bool same(const cv::Mat &a, const cv::Mat &b)
{
    return a.type() == b.type() && a.size() == b.size() && cv::norm(a, b, cv::NORM_INF) == 0;
}
} // namespace

class TestBitmapWriter : public QObject
{
    Q_OBJECT
private slots:
    void writesEveryTypeExactly();
    void queueIsDeepCopy();
    void failureRaisedOnceAndStops();
    void fullDisk_noCutFile();
    void boundedQueue_flushedAtDestruction();
};

void TestBitmapWriter::writesEveryTypeExactly()
{
    QTemporaryDir dir;
    BitmapWriter writer;
    const QList<QPair<int, QString>> cases{{CV_8UC1, "a.bmp"}, {CV_8UC3, "b.bmp"},
                                           {CV_8UC4, "c.png"}, {CV_16UC1, "d.png"}};
    QList<cv::Mat> frames;
    for (const auto &c : cases) {
        frames << ramp(c.first);
        QCOMPARE(writer.enqueue(frames.last(), "key", dir.filePath(c.second)),
                 BitmapWriter::Enqueue::Queued);
    }
    // A sub-matrix is written as its own pixels.
    cv::Mat big = ramp(CV_8UC1);
    const cv::Mat part = big(cv::Rect(5, 3, 20, 10));
    writer.enqueue(part, "key", dir.filePath("e.bmp"));
    QVERIFY(writer.waitIdle(10000));
    QCOMPARE(writer.writtenCount(), qint64(5));
    for (int i = 0; i < cases.size(); ++i) {
        const cv::Mat back = cv::imread(dir.filePath(cases[i].second).toStdString(), cv::IMREAD_UNCHANGED);
        QVERIFY2(same(back, frames[i]), qPrintable(cases[i].second));
    }
    QVERIFY(same(cv::imread(dir.filePath("e.bmp").toStdString(), cv::IMREAD_UNCHANGED), part));
}

void TestBitmapWriter::queueIsDeepCopy()
{
    QTemporaryDir dir;
    cv::Mat frame(8, 8, CV_8UC1, cv::Scalar(10));
    {
        BitmapWriter writer;
        writer.enqueue(frame, "key", dir.filePath("f.bmp"));
        frame.setTo(200); // the caller reuses its matrix at once
    }
    const cv::Mat back = cv::imread(dir.filePath("f.bmp").toStdString(), cv::IMREAD_UNCHANGED);
    QCOMPARE(int(back.at<uchar>(0, 0)), 10);
}

void TestBitmapWriter::failureRaisedOnceAndStops()
{
    QTemporaryDir dir;
    BitmapWriter writer;
    QSignalSpy failed(&writer, &BitmapWriter::writeFailed);
    const cv::Mat frame(4, 4, CV_8UC1, cv::Scalar(1));
    for (int i = 0; i < 3; ++i)
        writer.enqueue(frame, "key", dir.filePath("missing/x%1.bmp").arg(i));
    QVERIFY(writer.waitIdle(10000)); // idle only once the failure has been announced
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.at(0).at(0).toString(), dir.filePath("missing/x0.bmp"));
    QVERIFY(writer.stopped());
    QCOMPARE(writer.enqueue(frame, "key", dir.filePath("y.bmp")), BitmapWriter::Enqueue::Stopped);
    writer.resume();
    QCOMPARE(writer.enqueue(frame, "key", dir.filePath("y.bmp")), BitmapWriter::Enqueue::Queued);
    QVERIFY(writer.waitIdle(10000));
    QVERIFY(QFile::exists(dir.filePath("y.bmp")));
    QCOMPARE(failed.count(), 1);
}

void TestBitmapWriter::fullDisk_noCutFile()
{
    QTemporaryDir dir;
    BitmapWriter writer;
    QSignalSpy failed(&writer, &BitmapWriter::writeFailed);
    const cv::Mat small = ramp(CV_8UC1);
    const cv::Mat big(1024, 1024, CV_8UC1, cv::Scalar(3)); // about 1 MB as a bitmap
    {
        FileSizeLimit limit(256 * 1024);
        if (!limit.active())
            QSKIP("cannot limit the file size here");
        writer.enqueue(small, "key", dir.filePath("a.bmp"));
        writer.enqueue(big, "key", dir.filePath("b.bmp"));
        writer.enqueue(big, "key", dir.filePath("c.bmp"));
        QVERIFY(writer.waitIdle(10000));
    }
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.at(0).at(0).toString(), dir.filePath("b.bmp"));
    QVERIFY(!failed.at(0).at(1).toString().isEmpty());
    QVERIFY(writer.stopped());
    QCOMPARE(writer.writtenCount(), qint64(1));
    // Only the whole bitmap is there: no cut file, no temporary left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"a.bmp"}));
    QVERIFY(same(cv::imread(dir.filePath("a.bmp").toStdString(), cv::IMREAD_UNCHANGED), small));
}

void TestBitmapWriter::boundedQueue_flushedAtDestruction()
{
    QTemporaryDir dir;
    const cv::Mat frame(512, 512, CV_8UC1, cv::Scalar(7));
    int queued = 0;
    bool refused = false;
    {
        BitmapWriter writer;
        for (int i = 0; i < BitmapWriter::kCapacity * 3 && !refused; ++i) {
            const auto r = writer.enqueue(frame, "key", dir.filePath("q%1.bmp").arg(i));
            refused = r == BitmapWriter::Enqueue::Full;
            queued += r == BitmapWriter::Enqueue::Queued;
            QVERIFY(writer.queued() <= BitmapWriter::kCapacity);
        }
    }
    // Whether or not the writer kept up, everything accepted is on disk after destruction.
    QCOMPARE(QDir(dir.path()).entryList({"q*.bmp"}, QDir::Files).size(), queued);
}

QTEST_GUILESS_MAIN(TestBitmapWriter)
#include "tst_bitmap_writer.moc"
