// A module compiled apart against the interface header alone loads and runs: every
// virtual operation reaches its own override, signals and slots work by signature text.
#include "base_Logic.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QtTest>

Q_DECLARE_METATYPE(cv::Mat)

class Calls : public QObject
{
    Q_OBJECT

public:
    QStringList lines;

public slots:
    void onWrite(QString key, QString name, QString detail, QByteArray data)
    {
        lines.append(key + "|" + name + "|" + detail + "|" + QString::fromUtf8(data));
    }
    void onTcp(bool up) { lines.append(QStringLiteral("tcp|%1").arg(up)); }
    void onCamera(QString msg, bool status) { lines.append(QStringLiteral("camera|%1|%2").arg(msg).arg(status)); }
    void onCommunication(QString msg, bool status)
    {
        lines.append(QStringLiteral("communication|%1|%2").arg(msg).arg(status));
    }
};

class TstModuleAbi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void operationsInOrder();
    void metaObjectLayout();
    void slotsReachOverrides();
    void secondObjectAfterDestroy();

private:
    base_Logic *logic = nullptr;
    Calls calls;
    base_Logic_CreateFunc create = nullptr;
    base_Logic_DestroyFunc destroy = nullptr;
};

void TstModuleAbi::initTestCase()
{
    QLibrary lib(QCoreApplication::applicationDirPath() + "/libabi_probe_module.so");
    QVERIFY2(lib.load(), qPrintable(lib.errorString()));
    create = reinterpret_cast<base_Logic_CreateFunc>(lib.resolve("create"));
    destroy = reinterpret_cast<base_Logic_DestroyFunc>(lib.resolve("destory"));
    QVERIFY(create && destroy);
    logic = create();
    QVERIFY(logic);
    QVERIFY(connect(logic, SIGNAL(Logic_writeData(QString, QString, QString, QByteArray)), &calls,
                    SLOT(onWrite(QString, QString, QString, QByteArray))));
    QVERIFY(connect(logic, SIGNAL(Logic_sendTcpStatus(bool)), &calls, SLOT(onTcp(bool))));
    QVERIFY(connect(logic, SIGNAL(Logic_cameraDisconnect(QString, bool)), &calls, SLOT(onCamera(QString, bool))));
    QVERIFY(connect(logic, SIGNAL(Logic_CommunicationDisconnect(QString, bool)), &calls,
                    SLOT(onCommunication(QString, bool))));
}

void TstModuleAbi::operationsInOrder()
{
    calls.lines.clear();
    QString err = "old";
    QVERIFY(!logic->checkCameraCfg(QJsonObject{{"任务名", "T1"}}, err));
    QCOMPARE(err, QStringLiteral("probe:T1"));
    QVERIFY(logic->setCameraCfg(QJsonObject{{"a", "1"}, {"b", "2"}}));
    QVERIFY(!logic->initTask());
    QVERIFY(logic->startTask());
    QVERIFY(!logic->stopTask());
    QVERIFY(logic->unloadTask());
    QVERIFY(!logic->spareTask());
    QList<ResultEntry> results;
    QVERIFY(logic->fetchResults(&results));
    QVERIFY(logic->sendPLCCommand("D1_1"));
    QVERIFY(!logic->sendPLCCommand("D1_2"));
    QVERIFY(logic->reLoadJsonSetParameter({"Cam1", "Alg"}));
    QCOMPARE(calls.lines, (QStringList{
                              "call|checkCameraCfg|probe:T1|0",
                              "call|setCameraCfg|2|1",
                              "call|initTask||0",
                              "call|startTask||1",
                              "call|stopTask||0",
                              "call|unloadTask||1",
                              "call|spareTask||0",
                              "call|fetchResults|1|1",
                              "call|sendPLCCommand|D1_1|1",
                              "call|sendPLCCommand|D1_2|0",
                              "call|reLoadJsonSetParameter|Cam1,Alg|1",
                          }));
    // The result entry crosses the boundary intact.
    QCOMPARE(results.size(), 1);
    QCOMPARE(results.first().name, QStringLiteral("Probe_0_1"));
    QCOMPARE(results.first().image.type(), CV_8UC3);
    QCOMPARE(results.first().image.at<cv::Vec3b>(1, 2), cv::Vec3b(10, 20, 30));
}

void TstModuleAbi::metaObjectLayout()
{
    const QMetaObject &mo = base_Logic::staticMetaObject;
    const int off = mo.methodOffset();
    const char *expected[] = {
        "Logic_sendTcpStatus(bool)",
        "Logic_writeData(QString,QString,QString,QByteArray)",
        "Logic_cameraDisconnect(QString,bool)",
        "Logic_CommunicationDisconnect(QString,bool)",
        "processtask_sendImage(QString,cv::Mat)",
        "processtask_sendTcpStatus(bool)",
        "processtask_writeData(QString,QString,QString,QByteArray)",
        "processtask_cameraDisconnect(QString,bool)",
        "processtask_CommunicationDisconnect(QString,bool)",
    };
    QCOMPARE(mo.methodCount() - off, 9);
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(mo.method(off + i).methodSignature(), QByteArray(expected[i]));
        QCOMPARE(mo.method(off + i).methodType(), i < 4 ? QMetaMethod::Signal : QMetaMethod::Slot);
    }
    const QMetaMethod camera = mo.method(off + 2);
    QCOMPARE(camera.parameterNames(), (QList<QByteArray>{"msg", "status"}));
    // The module's class derives from it without adding signals.
    QVERIFY(logic->metaObject() != &mo);
    QCOMPARE(logic->metaObject()->superClass(), &mo);
    QCOMPARE(logic->metaObject()->indexOfSignal("Logic_writeData(QString,QString,QString,QByteArray)"), off + 1);
}

void TstModuleAbi::slotsReachOverrides()
{
    calls.lines.clear();
    QVERIFY(QMetaObject::invokeMethod(logic, "processtask_writeData", Q_ARG(QString, "a"), Q_ARG(QString, "b"),
                                      Q_ARG(QString, "c"), Q_ARG(QByteArray, "d")));
    QVERIFY(QMetaObject::invokeMethod(logic, "processtask_sendTcpStatus", Q_ARG(bool, true)));
    QVERIFY(QMetaObject::invokeMethod(logic, "processtask_cameraDisconnect", Q_ARG(QString, "CamA"),
                                      Q_ARG(bool, false)));
    QVERIFY(QMetaObject::invokeMethod(logic, "processtask_CommunicationDisconnect", Q_ARG(QString, "net"),
                                      Q_ARG(bool, true)));
    QVERIFY(QMetaObject::invokeMethod(logic, "processtask_sendImage", Q_ARG(QString, "Probe_1"),
                                      Q_ARG(cv::Mat, cv::Mat(4, 7, CV_8UC1))));
    QCOMPARE(calls.lines, (QStringList{"c|b|a|d!", "tcp|0", "camera|CamA!|1", "communication|net|1",
                                       "slot|Probe_1|7|sendImage"}));
}

void TstModuleAbi::secondObjectAfterDestroy()
{
    destroy(logic);
    logic = create();
    QVERIFY(logic);
    QString err;
    QVERIFY(!logic->checkCameraCfg(QJsonObject{{"任务名", "T2"}}, err));
    QCOMPARE(err, QStringLiteral("probe:T2"));
    destroy(logic);
    logic = nullptr;
}

QTEST_GUILESS_MAIN(TstModuleAbi)
#include "tst_module_abi.moc"
