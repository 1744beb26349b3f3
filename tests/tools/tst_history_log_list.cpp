// Result-log filter window: paging through the view, match, extracts, loads during a match.
#include "BoxAnswerer.h"
#include "Platform.h"
#include "QtHistoryLogList.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QQueue<QString> resultLines(int n, int from = 0)
{
    QQueue<QString> lines;
    for (int i = from; i < from + n; ++i)
        lines << QString("序号：%1 日期：2026-12-09 08:00:00:000 SN时间戳：SN%1 结果：%2")
                     .arg(i)
                     .arg(i % 3 ? "OK" : "NG");
    return lines;
}

QQueue<QString> queue(const QStringList &lines)
{
    QQueue<QString> q;
    for (const QString &l : lines)
        q << l;
    return q;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct Filter
{
    Filter() : w(nullptr, dir.path() + "/historyLogList/")
    {
        platform::setLocalNowForTest([] { return QDateTime(QDate(2026, 12, 9), QTime(8, 5, 3, 7)); });
        w.show();
    }
    ~Filter() { platform::setLocalNowForTest({}); }
    template <class T> T *get(const char *name) { return w.findChild<T *>(QLatin1String(name)); }
    QScrollBar *pager() { return get<QScrollBar>("verticalScrollBar"); }
    QPlainTextEdit *view() { return get<QPlainTextEdit>("plainTextEdit"); }
    QScrollBar *viewBar() { return view()->verticalScrollBar(); }
    QStringList shown() { return view()->toPlainText().split('\n'); }
    // "first..last" of the numbers of the lines in the view.
    QString range()
    {
        const QStringList s = shown();
        auto num = [](const QString &l) { return l.section(' ', 0, 0).mid(3); };
        return QString("%1..%2 (%3)").arg(num(s.first()), num(s.last())).arg(s.size());
    }
    void match(const QString &keyword)
    {
        get<QLineEdit>("lineEdit_match")->setText(keyword);
        get<QPushButton>("pushButton_match")->click();
    }
    void write() { get<QPushButton>("pushButton_writeMatch")->click(); }
    QString extract(const QString &tag) const
    {
        return dir.path() + "/historyLogList/2026-12-09-08-05-03-007_" + tag + ".log";
    }

    QTemporaryDir dir;
    BoxAnswerer boxes;
    QtHistoryLogList w;
};

} // namespace

class TestHistoryLogList : public QObject
{
    Q_OBJECT
private slots:
    void pagingThousandLines();
    void shortAndEmptyLogs();
    void matchAndNoMatch();
    void extractsNamedFromTheMatchKeyword();
    void failedExtractIsReported();
    void loadDuringMatchIsDeferred();
    void overlongLineShownCutExtractedWhole();
};

void TestHistoryLogList::pagingThousandLines()
{
    Filter f;
    f.w.setData(resultLines(1000));
    QCOMPARE(f.range(), QString("0..199 (200)"));
    QCOMPARE(f.pager()->maximum(), 1000);
    QCOMPARE(f.w.pagePos(), 200);
    QVERIFY(f.viewBar()->maximum() > 10);

    f.viewBar()->setValue(f.viewBar()->maximum()); // the view's bottom pages three lines on
    QCOMPARE(f.pager()->value(), 203);
    QCOMPARE(f.range(), QString("6..205 (200)"));
    QCOMPARE(f.viewBar()->value(), f.viewBar()->maximum() - 4);

    f.pager()->setValue(500);
    QCOMPARE(f.range(), QString("500..699 (200)"));
    f.pager()->setValue(1000);
    QCOMPARE(f.range(), QString("800..999 (200)"));
    f.viewBar()->setValue(0); // the view's top at the end of the list
    QCOMPARE(f.pager()->value(), 797);
    QCOMPARE(f.range(), QString("797..996 (200)"));
    QCOMPARE(f.viewBar()->value(), 4);

    f.viewBar()->setValue(f.viewBar()->maximum() / 2); // the middle pages nothing
    QCOMPARE(f.range(), QString("797..996 (200)"));

    // A new load starts at the top of both bars.
    f.w.setData(resultLines(5000));
    QCOMPARE(f.range(), QString("0..199 (200)"));
    QCOMPARE(f.pager()->value(), 0);
    QCOMPARE(f.viewBar()->value(), 0);
    f.pager()->setValue(3001);
    QCOMPARE(f.range(), QString("3001..3200 (200)"));
}

void TestHistoryLogList::shortAndEmptyLogs()
{
    Filter f;
    f.w.setData(resultLines(150));
    QCOMPARE(f.range(), QString("0..149 (150)"));
    f.pager()->setValue(100);
    f.viewBar()->setValue(f.viewBar()->maximum());
    QCOMPARE(f.range(), QString("0..149 (150)"));

    f.w.setData({});
    QCOMPARE(f.view()->toPlainText(), QString());
    QCOMPARE(f.pager()->maximum(), 0);
    QCOMPARE(f.w.pagePos(), 0);
}

void TestHistoryLogList::matchAndNoMatch()
{
    Filter f;
    f.w.setData(resultLines(1000));
    f.match("NG");
    QCOMPARE(f.boxes.titles(), QStringList{"提示"});
    QCOMPARE(f.boxes.boxes.first().text, QString("操作完成"));
    QVERIFY(f.w.isFiltered());
    QCOMPARE(f.w.matchList().size(), 334);
    QCOMPARE(f.pager()->maximum(), 334);
    QCOMPARE(f.range(), QString("0..597 (200)"));
    f.pager()->setValue(334); // pages through the matches
    QCOMPARE(f.range(), QString("402..999 (200)"));

    f.match("ng"); // case-sensitive: nothing
    QCOMPARE(f.boxes.count(), 2);
    QVERIFY(f.w.matchList().isEmpty());
    QCOMPARE(f.view()->toPlainText(), QString());
    QCOMPARE(f.pager()->maximum(), 0);

    f.match(""); // every line
    QCOMPARE(f.w.matchList().size(), 1000);

    f.w.setData(resultLines(10, 5000)); // a load turns the filter off, keeps the matches
    QVERIFY(!f.w.isFiltered());
    QCOMPARE(f.range(), QString("5000..5009 (10)"));
    QCOMPARE(f.w.matchList().size(), 1000);
}

void TestHistoryLogList::extractsNamedFromTheMatchKeyword()
{
    Filter f;
    f.write(); // before any match: an empty extract named from the empty keyword
    QCOMPARE(readFile(f.extract("-")), QByteArray());

    f.w.setData(queue({"SN1 a::b NG", "SN2 OK", "SN3 a::b OK"}));
    f.match("a::b");
    f.get<QLineEdit>("lineEdit_match")->setText("other"); // the name follows the match
    f.write();
    const QByteArray expected = "\rSN1 a::b NG\rSN3 a::b OK";
    QCOMPARE(readFile(f.extract("a-b-")), expected);
    QCOMPARE(f.w.lastExtractPath(), f.extract("a-b-"));
    f.write(); // same millisecond, same name: one file with both extracts
    QCOMPARE(readFile(f.extract("a-b-")), expected + expected);

    f.match("../x");
    f.write();
    QCOMPARE(readFile(f.extract(".._x-")), QByteArray());
    QCOMPARE(QDir(f.dir.path() + "/historyLogList").entryList(QDir::Files).size(), 3);
    QCOMPARE(f.boxes.count(), 6);
    QCOMPARE(f.boxes.titles().count("提示"), 6);
}

void TestHistoryLogList::failedExtractIsReported()
{
    Filter f;
    QFile blocker(f.dir.path() + "/historyLogList");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    f.w.setData(queue({"SN1 NG"}));
    f.match("NG");
    f.boxes.clear();
    f.write();
    QCOMPARE(f.boxes.titles(), QStringList{"生成子Log失败"});
    QVERIFY(f.boxes.boxes.first().text.startsWith("子Log文件写入失败：\n"));
    QVERIFY(f.boxes.boxes.first().text.contains(f.dir.path() + "/historyLogList"));
    QVERIFY(f.w.lastExtractPath().isEmpty());
    QVERIFY(f.get<QPushButton>("pushButton_writeMatch")->isEnabled());
}

void TestHistoryLogList::loadDuringMatchIsDeferred()
{
    Filter f;
    f.w.setData(resultLines(1000));
    f.pager()->setValue(700);
    bool busyDuringBox = false;
    int matchesDuringBox = -1;
    f.boxes.hook = [&](QMessageBox *) {
        busyDuringBox = f.w.isBusy() && !f.get<QPushButton>("pushButton_match")->isEnabled()
                        && !f.get<QPushButton>("pushButton_writeMatch")->isEnabled();
        matchesDuringBox = f.w.matchList().size();
        return false;
    };
    // Arrives while the match scans (it pumps events at its first line).
    QTimer::singleShot(0, &f.w, [&] {
        f.w.setData(resultLines(50, 9000));
        f.write(); // disabled while the match runs
    });
    f.match("NG");
    QVERIFY(busyDuringBox);
    QCOMPARE(matchesDuringBox, 334);
    QCOMPARE(f.boxes.count(), 1);
    QVERIFY(!QFileInfo::exists(f.dir.path() + "/historyLogList"));

    // The deferred load is applied once the match ends.
    QVERIFY(!f.w.isBusy());
    QCOMPARE(f.w.logLines(), resultLines(50, 9000));
    QVERIFY(!f.w.isFiltered());
    QCOMPARE(f.range(), QString("9000..9049 (50)"));
    QCOMPARE(f.pager()->value(), 0);
    QCOMPARE(f.w.matchList().size(), 334);
}

void TestHistoryLogList::overlongLineShownCutExtractedWhole()
{
    // A 100000-character SN: the view shows the line cut, match and extract keep it whole.
    Filter f;
    const QString line = "序号：1 SN时间戳：" + QString(100000, 'S') + " 结果：NG";
    const QString cut = line.left(2000) + "…（省略" + QString::number(line.size() - 2000) + "字）";
    f.w.setData(queue({line, "序号：2 SN时间戳：SN 结果：OK"}));
    QCOMPARE(f.shown(), QStringList({cut, "序号：2 SN时间戳：SN 结果：OK"}));
    f.match("NG");
    QCOMPARE(f.w.matchList(), QList<QString>{line});
    QCOMPARE(f.shown(), QStringList{cut});
    f.write();
    QCOMPARE(readFile(f.extract("NG-")), "\r" + line.toUtf8());
}

QTEST_MAIN(TestHistoryLogList)
#include "tst_history_log_list.moc"
