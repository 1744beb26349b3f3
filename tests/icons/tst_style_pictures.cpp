// Every picture the windows name for their styles ("./Icon/…", or a bare "….png" that a
// style is built from) ships in Icon/.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

class TestStylePictures : public QObject
{
    Q_OBJECT
private slots:
    void everyNamedPictureShips();
};

void TestStylePictures::everyNamedPictureShips()
{
    const QString root = QStringLiteral(EP_SOURCE_DIR);
    const QRegularExpression url(QStringLiteral(R"((?:"|Icon/)([^"/()%]+\.png))"));
    int named = 0;
    QStringList missing;
    for (const char *folder : {"app", "logic", "widgets", "mainwindow", "cameradebug", "editors",
                               "users", "tools"}) {
        QDirIterator it(root + '/' + folder, {"*.cpp", "*.h", "*.ui"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (auto m = url.globalMatch(text); m.hasNext();) {
                const QString name = m.next().captured(1);
                ++named;
                if (!QFile::exists(root + QStringLiteral("/Icon/") + name))
                    missing << QDir(root).relativeFilePath(file.fileName()) + ": " + name;
            }
        }
    }
    QVERIFY(named > 20);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join('\n')));
}

QTEST_GUILESS_MAIN(TestStylePictures)
#include "tst_style_pictures.moc"
