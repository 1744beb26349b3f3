#include <QtTest>
class TestEditorWindows : public QObject { Q_OBJECT };
QTEST_MAIN(TestEditorWindows)
#include "tst_editor_windows.moc"
