// A module library that cannot give the bridge a module object: an export is missing
// (NO_DESTROY_EXPORT) or "create" returns null.
#include "FakeModule.h"
#include "LogCapture.h"
#include "Logic_transfer.h"
#include "Platform.h"

#include <QLibrary>
#include <QtTest>

#include <memory>

class TestBridgeIncomplete : public QObject
{
    Q_OBJECT

private slots:
    void bridgeWorksWithoutModule();
};

void TestBridgeIncomplete::bridgeWorksWithoutModule()
{
    QLibrary lib(platform::libraryPath(QStringLiteral("Bx_LogicDll_module.dll")));
    auto stateFunc = reinterpret_cast<FakeStateFunc>(lib.resolve("fake_state"));
    QVERIFY2(stateFunc, qPrintable(lib.errorString()));
    FakeState *state = stateFunc();
#ifdef NO_DESTROY_EXPORT
    QVERIFY(!lib.resolve("destory"));
    const int expectedCreateCalls = 0; // never called without both exports
#else
    QVERIFY(lib.resolve("destory"));
    const int expectedCreateCalls = 1;
#endif

    LogCapture log;
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    QCOMPARE(state->createCalls, expectedCreateCalls);
    QCOMPARE(log.size(), 0); // the library loaded: no message

    QString error = QStringLiteral("unchanged");
    QCOMPARE(bridge->checkCameraCfg(QJsonObject(), error), false);
    QCOMPARE(error, QStringLiteral("unchanged"));
    QCOMPARE(bridge->setCameraCfg(QJsonObject()), false);
    QCOMPARE(bridge->initTask(), false);
    QCOMPARE(bridge->startTask(), false);
    QCOMPARE(bridge->stopTask(), false);
    QCOMPARE(bridge->unloadTask(), false);
    QCOMPARE(bridge->sendPLCCommand(QStringLiteral("D1_1")), false);
    QCOMPARE(bridge->reLoadJsonSetParameter({QStringLiteral("cam1")}), false);
    QList<ImageEntry> images;
    QCOMPARE(bridge->takeImages(&images), false);

    bridge.reset();
    QCOMPARE(state->destroyCalls, 0); // no object, so nothing to destroy
    QCOMPARE(state->calls.size(), 0);
    QCOMPARE(state->fetchCalls.load(), 0); // no worker either
}

QTEST_GUILESS_MAIN(TestBridgeIncomplete)
#include "tst_bridge_incomplete.moc"
