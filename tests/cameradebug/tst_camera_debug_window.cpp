#include <QtTest>
class TestCameraDebugWindow : public QObject { Q_OBJECT };
QTEST_MAIN(TestCameraDebugWindow)
#include "tst_camera_debug_window.moc"
