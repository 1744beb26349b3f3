// Widget-free rules of the production statistics: message sorting, verdicts, rates,
// cycle time, shifts, defect flags, log line formats, the hourly table and the
// program-switch decision. The main window only applies their results to widgets.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QJsonArray>
#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QVector>

// One defect class of "缺陷类别名称设置" with its counts.
struct DefectData
{
    QString defectName;
    int defectClass = 0;
    int allNum = 0;
    int dayNum = 0;
    int nightNum = 0;
};

namespace production {

// Both in-memory log queues keep at most this many lines.
constexpr int kMaxQueuedLines = 100000;

// Appends a line; drops the oldest lines beyond the limit.
void appendBounded(QQueue<QString> &queue, const QString &line, int limit = kMaxQueuedLines);

// ---- module messages ---------------------------------------------------------------

enum class MessageKind { PlcLink, CameraLink, Data };

MessageKind classifyKey(const QString &key);
// Link state of a PLC or camera key: "true" connected, else "false" lost, else connected.
bool linkConnected(const QString &key);
// "重连成功" or "掉线".
QString linkStateText(bool connected);

// The data text of a message: UTF-8 up to the first NUL byte.
QString dataText(const QByteArray &byte);

bool isProgramSwitchKey(const QString &key);
// A product's final result carries "#" in its data.
bool isResultData(const QString &data);
// "9#" anywhere makes the product OK.
bool isOkResult(const QString &data);

// Time stamp of log lines: "yyyy-MM-dd hh:mm:ss:zzz".
QString logStamp(const QDateTime &t);

QString runLine(int number, const QString &stamp, const QString &key, const QString &cameraName,
                const QString &snInfo, const QString &data);
QString resultLine(int number, const QString &stamp, const QString &snInfo, const QString &verdict);

// Cameras reported lost and not yet back (one list for the process).
class OfflineCameras
{
public:
    enum class Lamp { Green, Red, Keep };
    Lamp report(const QString &cameraName, bool connected);
    const QStringList &names() const { return m_names; }

private:
    QStringList m_names;
};

// ---- rates, cycle time, run time ---------------------------------------------------

// OK share in hundredths of a percent, integer arithmetic (57 of 100 is 5700). 0 when total is 0.
int percentHundredths(qint64 ok, qint64 total);
// 6666 -> "66.66%", 10000 -> "100%".
QString percentText(int hundredths);
QString okRateText(qint64 ok, qint64 total);
QString ngRateText(qint64 ok, qint64 total);

// Milliseconds between two results: "999毫秒", "1000毫秒", "1秒", "1.23秒".
QString cycleTimeText(qint64 elapsedMs);

// 3725 -> "1小时2分钟5秒".
QString runTimeText(int seconds);

// ---- shifts -------------------------------------------------------------------------

// Day shift 08:30:00.000-20:29:59.999, night the rest.
bool isNightTime(const QTime &t);

// A shift with its date: the night after midnight belongs to the previous day's night.
struct ShiftId
{
    QDate date;
    bool night = false;
    bool operator==(const ShiftId &o) const { return date == o.date && night == o.night; }
    bool operator!=(const ShiftId &o) const { return !(*this == o); }
};

ShiftId shiftOf(const QDateTime &t);

// Remembers the shift of the last data message.
class ShiftTracker
{
public:
    // True when t starts a shift different from the stored one (the first message only
    // adopts its shift: nothing has been counted yet).
    bool enter(const ShiftId &shift);
    bool hasShift() const { return m_valid; }
    ShiftId current() const { return m_current; }

private:
    bool m_valid = false;
    ShiftId m_current;
};

// ---- defects ------------------------------------------------------------------------

// Positions 1..n-1 of the "*"-separated data whose field is not exactly "1".
QVector<int> defectPositions(const QString &data);

// Records of "缺陷类别名称设置": counts kept by name from the previous records.
QList<DefectData> buildDefectRecords(const QJsonArray &entries, const QList<DefectData> &previous);
// Index of the first record of that class, -1 when none.
int recordOfClass(const QList<DefectData> &records, int defectClass);

// Top of a bar chart's value axis for a value (step 50: 0 -> 100, 101 -> 300).
int barMaxValue(int value, int step);
// The chart is rebuilt once a count passes 80 % of its axis.
bool barNeedsRebuild(int count, int maxValue);
int barRebuildValue(int count);

// ---- program switch -------------------------------------------------------------------

struct SwitchDecision
{
    enum Action { NotANumber, SameProgram, NewProgram };
    Action action = NotANumber;
    int number = 0;
};

SwitchDecision decideProgramSwitch(const QString &data, int currentProgram);

// ---- hourly table -------------------------------------------------------------------

// Hour text "hh" of now, from "yyyy-MM-dd#hh:mm:ss.zzz".
QString hourStamp(const QDateTime &t);
QString hourOfStamp(const QString &stamp);

struct CellText
{
    int row;
    int column;
    QString text;
};

// Per-hour products and OK products derived from the overall counters.
class HourlyStatistics
{
public:
    void reset();
    // One tick: thisHour is the hour text of now, total and ok the overall counters.
    // Advances currentHour when the hour changed. Returns the cells to write.
    QVector<CellText> update(QString &currentHour, const QString &thisHour, int total, int ok);
    // Rows 1..24, columns 1..5 blank.
    static QVector<CellText> blankCells();

    const QList<int> &products() const { return m_all; }
    const QList<int> &okProducts() const { return m_ok; }
    int startTotal() const { return m_startAll; }
    int startOk() const { return m_startOk; }
    // Set when the last update saw a negative hourly figure.
    bool negative() const { return m_negative; }

private:
    void trim();
    QList<int> m_all, m_ok;
    int m_startAll = 0, m_startOk = 0;
    bool m_negative = false;
};

} // namespace production
