// A bridge whose program folder holds no logic module, and the image pipeline behind it.
#include "LogCapture.h"
#include "Logic_transfer.h"

#include <QtTest>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <memory>
#include <vector>

namespace {

// Every queued entry, taken.
struct Taken
{
    QList<ImageEntry> entries;
};

} // namespace

class TestBridgeNoLib : public QObject
{
    Q_OBJECT

private slots:
    void noLibrary_logsLoadErrorAndForwardsNothing();
    void decode_gray8_copiesPixels();
    void decode_gray16_stretchesIntoOwnBuffer();
    void decode_gray16_constantGivesZero();
    void decode_gray16_large_matchesMinMaxStretch();
    void decode_bgr_showsTrueColours();
    void decode_bgra_showsTrueColours();
    void decode_subMatrix_isAccepted_data();
    void decode_subMatrix_isAccepted();
    void decode_unsupportedType_queuesEntryWithoutImage();
    void decode_empty_queuesNothingAndLogsNothing();
    void decode_malformed_isRejectedWithMessage();
    void decode_imageDoesNotShareModulePixels();
    void takeImages_emptyQueue_leavesListUnchanged();
    void takeImages_appendsInOrderAndEmptiesQueue();
    void queue_isBounded_dropsOldest();
};

void TestBridgeNoLib::noLibrary_logsLoadErrorAndForwardsNothing()
{
    LogCapture log;
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);

    const auto messages = log.messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].first, QtDebugMsg);
    QVERIFY2(messages[0].second.startsWith(QStringLiteral("Logic_transfer::Logic_transfer ")), qPrintable(messages[0].second));
    QVERIFY(messages[0].second.contains(QStringLiteral("  Loaded error:")));
    QVERIFY(messages[0].second.contains(QStringLiteral("Bx_LogicDll_module")));
    QVERIFY(!messages[0].second.contains(QStringLiteral(" line:")));

    QString error = QStringLiteral("caller's text");
    QJsonObject doc{{QStringLiteral("任务名"), QStringLiteral("T")}};
    QCOMPARE(bridge->checkCameraCfg(doc, error), false);
    QCOMPARE(error, QStringLiteral("caller's text"));
    QCOMPARE(bridge->setCameraCfg(doc), false);
    QCOMPARE(bridge->initTask(), false);
    QCOMPARE(bridge->startTask(), false);
    QCOMPARE(bridge->stopTask(), false);
    QCOMPARE(bridge->unloadTask(), false);
    QCOMPARE(bridge->spareTask(), false);
    QCOMPARE(bridge->sendPLCCommand(QStringLiteral("D100_1")), false);
    QCOMPARE(bridge->reLoadJsonSetParameter({QStringLiteral("cam1")}), false);

    // fetchResults is not forwarded: the default leaves the list alone.
    QList<ResultEntry> results;
    QCOMPARE(bridge->fetchResults(&results), true);
    QVERIFY(results.isEmpty());

    QList<ImageEntry> images;
    QCOMPARE(bridge->takeImages(&images), false);
    bridge.reset();
    QCOMPARE(log.size(), 1);
}

void TestBridgeNoLib::decode_gray8_copiesPixels()
{
    Logic_transfer bridge;
    cv::Mat m(480, 640, CV_8UC1);
    for (int y = 0; y < m.rows; ++y)
        for (int x = 0; x < m.cols; ++x)
            m.at<uchar>(y, x) = static_cast<uchar>((x * 7 + y * 13) & 0xff);
    bridge.decodeImage(QStringLiteral("cam1_0"), m);

    Taken t;
    QVERIFY(bridge.takeImages(&t.entries));
    QCOMPARE(t.entries.size(), 1);
    QCOMPARE(t.entries[0].name, QStringLiteral("cam1_0"));
    const QImage *img = &t.entries[0].image;
    QVERIFY(!img->isNull());
    QCOMPARE(img->format(), QImage::Format_Grayscale8);
    QCOMPARE(img->size(), QSize(640, 480));
    for (int y = 0; y < m.rows; ++y)
        QVERIFY(memcmp(img->constScanLine(y), m.ptr(y), 640) == 0);
}

void TestBridgeNoLib::decode_gray16_stretchesIntoOwnBuffer()
{
    Logic_transfer bridge;
    cv::Mat m(3, 5, CV_16UC1);
    for (int i = 0; i < 15; ++i)
        m.at<ushort>(i / 5, i % 5) = static_cast<ushort>(1000 + i * 2000 / 14);
    m.at<ushort>(0, 0) = 1000;
    m.at<ushort>(2, 4) = 3000;
    m.at<ushort>(1, 2) = 2200;
    const cv::Mat before = m.clone();

    // The stretch the module's documentation promises: min-max to 0..255, then 8 bits.
    cv::Mat expected16, expected;
    cv::normalize(before, expected16, 0, 255, cv::NORM_MINMAX, -1);
    cv::convertScaleAbs(expected16, expected, 1, 0);

    bridge.decodeImage(QStringLiteral("cam2_x"), m);
    Taken t;
    QVERIFY(bridge.takeImages(&t.entries));
    const QImage *img = &t.entries[0].image;
    QVERIFY(!img->isNull());
    QCOMPARE(img->format(), QImage::Format_Grayscale8);
    QCOMPARE(img->size(), QSize(5, 3));
    QCOMPARE(int(img->constScanLine(0)[0]), 0);
    QCOMPARE(int(img->constScanLine(2)[4]), 255);
    QCOMPARE(int(img->constScanLine(1)[2]), 153);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            QCOMPARE(int(img->constScanLine(y)[x]), int(expected.at<uchar>(y, x)));
    // The module's buffer is left as it was.
    QCOMPARE(cv::norm(m, before, cv::NORM_INF), 0.0);
}

void TestBridgeNoLib::decode_gray16_constantGivesZero()
{
    Logic_transfer bridge;
    bridge.decodeImage(QStringLiteral("cam_c"), cv::Mat(4, 6, CV_16UC1, cv::Scalar(1234)));
    Taken t;
    QVERIFY(bridge.takeImages(&t.entries));
    const QImage *img = &t.entries[0].image;
    QVERIFY(!img->isNull());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            QCOMPARE(int(img->constScanLine(y)[x]), 0);
}

void TestBridgeNoLib::decode_gray16_large_matchesMinMaxStretch()
{
    // Many rows and a width that is no multiple of any vector size; extremes far apart.
    Logic_transfer bridge;
    cv::Mat m(517, 1001, CV_16UC1);
    cv::randu(m, cv::Scalar(300), cv::Scalar(50000));
    m.at<ushort>(516, 1000) = 7;     // minimum in the very last pixel
    m.at<ushort>(259, 999) = 61234;  // maximum in a row's tail
    cv::Mat n, expected;
    cv::normalize(m, n, 0, 255, cv::NORM_MINMAX, -1);
    cv::convertScaleAbs(n, expected);

    bridge.decodeImage(QStringLiteral("cam1_big"), m);
    Taken t;
    QVERIFY(bridge.takeImages(&t.entries));
    const QImage *img = &t.entries[0].image;
    QVERIFY(!img->isNull());
    QCOMPARE(int(img->constScanLine(516)[1000]), 0);
    QCOMPARE(int(img->constScanLine(259)[999]), 255);
    for (int y = 0; y < m.rows; ++y)
        QVERIFY2(memcmp(img->constScanLine(y), expected.ptr(y), 1001) == 0, qPrintable(QString::number(y)));
}

void TestBridgeNoLib::decode_bgr_showsTrueColours()
{
    Logic_transfer bridge;
    cv::Mat m(2, 3, CV_8UC3, cv::Scalar(10, 20, 30));
    m.at<cv::Vec3b>(1, 2) = cv::Vec3b(200, 100, 50);
    bridge.decodeImage(QStringLiteral("cam3_a"), m);
    Taken t;
    QVERIFY(bridge.takeImages(&t.entries));
    const QImage *img = &t.entries[0].image;
    QVERIFY(!img->isNull());
    QCOMPARE(img->format(), QImage::Format_RGB888);
    QCOMPARE(img->pixel(0, 0), qRgb(30, 20, 10));
    QCOMPARE(img->pixel(2, 1), qRgb(50, 100, 200));
}

void TestBridgeNoLib::decode_bgra_showsTrueColours()
{
    Logic_transfer bridge;
    cv::Mat m(2, 2, CV_8UC4, cv::Scalar(10, 20, 30, 255)); // blue, green, red, alpha
    m.at<cv::Vec4b>(1, 0) = cv::Vec4b(0, 0, 255, 128);
    bridge.decodeImage(QStringLiteral("cam4_a"), m);
    Taken t;
    QVERIFY(bridge.takeImages(&t.entries));
    const QImage *img = &t.entries[0].image;
    QVERIFY(!img->isNull());
    QCOMPARE(img->format(), QImage::Format_ARGB32);
    QCOMPARE(img->pixel(0, 0), qRgba(30, 20, 10, 255));
    QCOMPARE(img->pixel(1, 1), qRgba(30, 20, 10, 255));
    QCOMPARE(img->pixel(0, 1), qRgba(255, 0, 0, 128));
}

void TestBridgeNoLib::decode_subMatrix_isAccepted_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("8UC1") << CV_8UC1;
    QTest::newRow("16UC1") << CV_16UC1;
    QTest::newRow("8UC3") << CV_8UC3;
    QTest::newRow("8UC4") << CV_8UC4;
}

void TestBridgeNoLib::decode_subMatrix_isAccepted()
{
    QFETCH(int, type);
    Logic_transfer bridge;
    cv::Mat parent(40, 50, type);
    cv::randu(parent, cv::Scalar::all(0), cv::Scalar::all(type == CV_16UC1 ? 60000 : 255));
    // Rows and columns cut out of the middle: a step wider than the row, the parent's data span.
    const cv::Mat roi = parent(cv::Rect(7, 5, 13, 11));
    QVERIFY(!roi.isContinuous());

    cv::Mat expected; // the same conversion of a compact copy
    const cv::Mat compact = roi.clone();
    switch (type) {
    case CV_8UC1: expected = compact; break;
    case CV_16UC1: {
        cv::Mat n;
        cv::normalize(compact, n, 0, 255, cv::NORM_MINMAX, -1);
        cv::convertScaleAbs(n, expected);
        break;
    }
    case CV_8UC3: cv::cvtColor(compact, expected, cv::COLOR_BGR2RGB); break;
    default: expected = compact; break; // BGRA bytes are ARGB32 words here
    }

    LogCapture log;
    bridge.decodeImage(QStringLiteral("cam_roi"), roi);
    QCOMPARE(log.count(QtCriticalMsg, {}), 0);
    Taken t;
    QVERIFY(bridge.takeImages(&t.entries));
    const QImage *img = &t.entries[0].image;
    QVERIFY(!img->isNull());
    QCOMPARE(img->size(), QSize(13, 11));
    const int rowBytes = 13 * static_cast<int>(expected.elemSize());
    for (int y = 0; y < 11; ++y)
        QVERIFY2(memcmp(img->constScanLine(y), expected.ptr(y), static_cast<size_t>(rowBytes)) == 0,
                 qPrintable(QStringLiteral("row %1").arg(y)));
}

void TestBridgeNoLib::decode_unsupportedType_queuesEntryWithoutImage()
{
    Logic_transfer bridge;
    LogCapture log;
    bridge.decodeImage(QStringLiteral("cam1_float"), cv::Mat(4, 4, CV_32FC1, cv::Scalar(0.5)));
    bridge.decodeImage(QStringLiteral("cam1_s16"), cv::Mat(4, 4, CV_16SC1, cv::Scalar(3)));
    bridge.decodeImage(QStringLiteral("cam1_2ch"), cv::Mat(4, 4, CV_8UC2, cv::Scalar(3)));
    Taken t;
    QVERIFY(bridge.takeImages(&t.entries));
    QCOMPARE(t.entries.size(), 3);
    QCOMPARE(t.entries[0].name, QStringLiteral("cam1_float"));
    QCOMPARE(t.entries[1].name, QStringLiteral("cam1_s16"));
    QCOMPARE(t.entries[2].name, QStringLiteral("cam1_2ch"));
    for (const ImageEntry &e : t.entries)
        QVERIFY(e.image.isNull());
    QCOMPARE(log.size(), 0);
}

void TestBridgeNoLib::decode_empty_queuesNothingAndLogsNothing()
{
    Logic_transfer bridge;
    LogCapture log;
    bridge.decodeImage(QStringLiteral("cam1_empty"), cv::Mat());
    bridge.decodeImage(QStringLiteral("cam1_empty"), cv::Mat(0, 5, CV_8UC1));
    QList<ImageEntry> images;
    QCOMPARE(bridge.takeImages(&images), false);
    QCOMPARE(log.size(), 0);
}

void TestBridgeNoLib::decode_malformed_isRejectedWithMessage()
{
    Logic_transfer bridge;
    LogCapture log;
    cv::Mat shortSpan(10, 10, CV_8UC1, cv::Scalar(1));
    shortSpan.dataend = shortSpan.datastart + 50; // claims only half of its rows
    bridge.decodeImage(QStringLiteral("cam1_bad"), shortSpan);

    cv::Mat narrowStep(10, 10, CV_8UC3, cv::Scalar(1));
    narrowStep.step.p[0] = 10; // rows overlap
    bridge.decodeImage(QStringLiteral("cam1_bad"), narrowStep);
    narrowStep.step.p[0] = 30;

    // 65537 x 65536 bytes over a 64 KiB buffer: the size product wraps to 65536 in 32 bits.
    std::vector<uchar> small(65536, 1);
    cv::Mat huge(65537, 65536, CV_8UC1, small.data());
    huge.dataend = huge.datastart + small.size();
    bridge.decodeImage(QStringLiteral("cam1_huge"), huge);

    QList<ImageEntry> images;
    QCOMPARE(bridge.takeImages(&images), false);
    QCOMPARE(log.count(QtCriticalMsg, {QStringLiteral("Logic_transfer::decodeImage"), QStringLiteral(" line:"),
                                       QStringLiteral(" mtx.dataend - mtx.datastart  err！！:")}),
             3);
    shortSpan.dataend = shortSpan.datastart + 100;
}

void TestBridgeNoLib::decode_imageDoesNotShareModulePixels()
{
    Logic_transfer bridge;
    cv::Mat m(8, 8, CV_8UC1, cv::Scalar(7));
    bridge.decodeImage(QStringLiteral("cam1_0"), m);
    m.setTo(99);
    Taken t;
    QVERIFY(bridge.takeImages(&t.entries));
    QCOMPARE(int(t.entries[0].image.constScanLine(3)[3]), 7);
}

void TestBridgeNoLib::takeImages_emptyQueue_leavesListUnchanged()
{
    Logic_transfer bridge;
    QList<ImageEntry> images{ImageEntry{QImage(), QStringLiteral("mine")}};
    QCOMPARE(bridge.takeImages(&images), false);
    QCOMPARE(images.size(), 1);
    QCOMPARE(images[0].name, QStringLiteral("mine"));
}

void TestBridgeNoLib::takeImages_appendsInOrderAndEmptiesQueue()
{
    Logic_transfer bridge;
    for (int i = 0; i < 5; ++i)
        bridge.decodeImage(QStringLiteral("cam1_%1").arg(i), cv::Mat(2, 2, CV_8UC1, cv::Scalar(i)));
    Taken t;
    t.entries.append(ImageEntry{QImage(), QStringLiteral("earlier")});
    QVERIFY(bridge.takeImages(&t.entries));
    QCOMPARE(t.entries.size(), 6);
    QCOMPARE(t.entries[0].name, QStringLiteral("earlier"));
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(t.entries[i + 1].name, QStringLiteral("cam1_%1").arg(i));
        QCOMPARE(int(t.entries[i + 1].image.constScanLine(0)[0]), i);
    }
    QList<ImageEntry> again;
    QCOMPARE(bridge.takeImages(&again), false);
}

void TestBridgeNoLib::queue_isBounded_dropsOldest()
{
    Logic_transfer bridge;
    const int total = Logic_transfer::kMaxQueuedImages + 10;
    for (int i = 0; i < total; ++i)
        bridge.decodeImage(QStringLiteral("cam1_%1").arg(i), cv::Mat(2, 2, CV_8UC1, cv::Scalar(i)));
    Taken t;
    QVERIFY(bridge.takeImages(&t.entries));
    QCOMPARE(t.entries.size(), Logic_transfer::kMaxQueuedImages);
    QCOMPARE(t.entries.first().name, QStringLiteral("cam1_10"));
    QCOMPARE(t.entries.last().name, QStringLiteral("cam1_%1").arg(total - 1));
}

QTEST_GUILESS_MAIN(TestBridgeNoLib)
#include "tst_bridge_nolib.moc"
