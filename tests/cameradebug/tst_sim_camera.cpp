// The simulated camera module library, loaded from per-camera copies as the tool does.
#include "CameraTestFolder.h"

#include <QtTest>

using namespace camtest;

namespace {
struct Copy
{
    QLibrary library;
    CameraModule_CreateFunc create = nullptr;
    CameraModule_DestroyFunc destroy = nullptr;
};

bool loadCopy(const Folder &folder, int camera, Copy *copy)
{
    QString path, error;
    if (!camerarules::prepareModuleCopy(folder.path(), camera, &path, &error))
        return false;
    copy->library.setFileName(path);
    if (!copy->library.load())
        return false;
    copy->create = reinterpret_cast<CameraModule_CreateFunc>(copy->library.resolve("create"));
    copy->destroy = reinterpret_cast<CameraModule_DestroyFunc>(copy->library.resolve("destory"));
    return copy->create && copy->destroy;
}

cv::Mat grab(CameraModule *camera)
{
    std::vector<cv::Mat> images;
    QStringList none;
    if (!camera->setData(images, none))
        return cv::Mat();
    camera->data(images, none);
    return images.empty() ? cv::Mat() : images.front();
}
} // namespace

class TestSimCamera : public QObject
{
    Q_OBJECT
private slots:
    void copiesKeepSeparateState();
    void createOnlyKnownCodes();
    void framesFollowParameters();
    void failureInjection();
};

void TestSimCamera::copiesKeepSeparateState()
{
    Folder folder;
    Copy a, b;
    QVERIFY(loadCopy(folder, 0, &a));
    QVERIFY(loadCopy(folder, 12, &b));
    QVERIFY(a.create != b.create); // two mappings, not one merged library
    CameraModule *one = a.create(0);
    CameraModule *two = b.create(0);
    CameraModule *three = b.create(1);
    QCOMPARE(folder.liveCameras(0), 1);
    QCOMPARE(folder.liveCameras(12), 2);
    a.destroy(one);
    QCOMPARE(folder.liveCameras(0), 0);
    QCOMPARE(folder.liveCameras(12), 2);
    b.destroy(two);
    b.destroy(three);
    QCOMPARE(folder.liveCameras(12), 0);
}

void TestSimCamera::createOnlyKnownCodes()
{
    Folder folder;
    Copy copy;
    QVERIFY(loadCopy(folder, 1, &copy));
    for (int code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 18, 1000}) {
        CameraModule *camera = copy.create(code);
        QVERIFY2(camera, qPrintable(QString::number(code)));
        copy.destroy(camera);
    }
    for (int code : {-1, 13, 19, 999, 1001})
        QVERIFY(!copy.create(code));
    QCOMPARE(folder.liveCameras(1), 0);
}

void TestSimCamera::framesFollowParameters()
{
    Folder folder;
    Copy copy;
    QVERIFY(loadCopy(folder, 2, &copy));
    CameraModule *camera = copy.create(0);
    QMap<QString, QString> params{{"ROI", "0,0,40,30"}, {"曝光时间", "5000"}, {"增益", "1.0"}};
    for (const auto &format : {std::make_pair("mono8", CV_8UC1), std::make_pair("mono16", CV_16UC1),
                               std::make_pair("bgr", CV_8UC3), std::make_pair("bgra", CV_8UC4),
                               std::make_pair("roi", CV_8UC1)}) {
        params["SimFormat"] = format.first;
        camera->setParams(params);
        QVERIFY(camera->init());
        const cv::Mat frame = grab(camera);
        QCOMPARE(frame.type(), format.second);
        QCOMPARE(frame.cols, 40);
        QCOMPARE(frame.rows, 30);
        QCOMPARE(frame.isContinuous(), QString(format.first) != "roi");
    }
    // The ramp moves with the frame counter and scales with exposure x gain.
    params["SimFormat"] = "mono8";
    camera->setParams(params);
    const cv::Mat first = grab(camera).clone();
    const cv::Mat second = grab(camera).clone();
    QCOMPARE(int(second.at<uchar>(0, 0)), (int(first.at<uchar>(0, 0)) + 4) % 256);
    QCOMPARE(int(first.at<uchar>(0, 10)), (int(first.at<uchar>(0, 0)) + 10) % 256);
    std::vector<cv::Mat> none;
    QStringList commands{"SetExposureTime_2500#", "SetGain_1.00"};
    QVERIFY(camera->setData(none, commands));
    const cv::Mat third = grab(camera);
    QCOMPARE(int(third.at<uchar>(0, 0)), int(std::round(((first.at<uchar>(0, 0) + 8) % 256) * 0.5)));
    commands = QStringList{"SetExposureTime_5000#", "SetGain_2.50"};
    QVERIFY(camera->setData(none, commands));
    const cv::Mat fourth = grab(camera);
    for (int x : {0, 39}) {
        const int ramp = (first.at<uchar>(0, 0) + 12 + x) % 256;
        QCOMPARE(int(fourth.at<uchar>(29, x)), std::min(255, int(std::round((ramp + 29) % 256 * 2.5))));
    }
    copy.destroy(camera);
}

void TestSimCamera::failureInjection()
{
    Folder folder;
    Copy copy;
    QVERIFY(loadCopy(folder, 3, &copy));
    CameraModule *camera = copy.create(1);
    QVERIFY(grab(camera).empty()); // not initialised
    QMap<QString, QString> params{{"SimFail", "setData"}};
    camera->setParams(params);
    QVERIFY(camera->init());
    QVERIFY(grab(camera).empty());
    params["SimFail"] = "data";
    camera->setParams(params);
    QVERIFY(grab(camera).empty());
    params["SimFail"] = "init";
    camera->setParams(params);
    QVERIFY(!camera->init());
    copy.destroy(camera);
}

QTEST_GUILESS_MAIN(TestSimCamera)
#include "tst_sim_camera.moc"
