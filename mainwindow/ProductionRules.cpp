#include "ProductionRules.h"

#include "StationDocument.h"

#include <QJsonObject>
#include <QJsonValue>

namespace production {

void appendBounded(QQueue<QString> &queue, const QString &line, int limit)
{
    queue.enqueue(line);
    while (queue.size() > limit)
        queue.dequeue();
}

MessageKind classifyKey(const QString &key)
{
    if (key.contains(QLatin1String("sendTcpStatus")))
        return MessageKind::PlcLink;
    if (key.contains(QLatin1String("cameraDisconnect")))
        return MessageKind::CameraLink;
    return MessageKind::Data;
}

bool linkConnected(const QString &key)
{
    if (key.contains(QLatin1String("true")))
        return true;
    return !key.contains(QLatin1String("false"));
}

QString linkStateText(bool connected)
{
    return connected ? QStringLiteral("重连成功") : QStringLiteral("掉线");
}

QString dataText(const QByteArray &byte)
{
    return QString::fromUtf8(byte.constData(), int(qstrnlen(byte.constData(), uint(byte.size()))));
}

bool isProgramSwitchKey(const QString &key)
{
    return key.contains(QStringLiteral("程序号"));
}

bool isResultData(const QString &data)
{
    return data.contains(QLatin1Char('#'));
}

bool isOkResult(const QString &data)
{
    return data.contains(QLatin1String("9#"));
}

QString logStamp(const QDateTime &t)
{
    return t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss:zzz"));
}

QString runLine(int number, const QString &stamp, const QString &key, const QString &cameraName,
                const QString &snInfo, const QString &data)
{
    return QString::number(number) + QLatin1Char(' ') + stamp + QLatin1Char(' ')
           + QStringLiteral("算法名: ") + key + QStringLiteral(" 相机key_index:") + cameraName
           + QStringLiteral(" SN时间戳:") + snInfo + QStringLiteral(" 结果数据:") + data;
}

QString resultLine(int number, const QString &stamp, const QString &snInfo, const QString &verdict)
{
    return QStringLiteral("序号：") + QString::number(number) + QStringLiteral(" 日期：") + stamp
           + QStringLiteral(" SN时间戳：") + snInfo + QStringLiteral(" 结果：") + verdict;
}

OfflineCameras::Lamp OfflineCameras::report(const QString &cameraName, bool connected)
{
    if (connected) {
        m_names.removeOne(cameraName);
        return m_names.isEmpty() ? Lamp::Green : Lamp::Keep;
    }
    if (!m_names.contains(cameraName))
        m_names.append(cameraName);
    return Lamp::Red;
}

int percentHundredths(qint64 ok, qint64 total)
{
    if (total == 0)
        return 0;
    return int(ok * 10000 / total);
}

QString percentText(int hundredths)
{
    return QString::number(hundredths / 100.0, 'g', 6) + QLatin1Char('%');
}

QString okRateText(qint64 ok, qint64 total)
{
    return percentText(percentHundredths(ok, total));
}

QString ngRateText(qint64 ok, qint64 total)
{
    return percentText(10000 - percentHundredths(ok, total));
}

QString cycleTimeText(qint64 elapsedMs)
{
    if (elapsedMs <= 1000)
        return QString::number(elapsedMs) + QStringLiteral("毫秒");
    // Two decimals, truncated: 1234 ms -> 1.23.
    const qint64 hundredths = elapsedMs * 100 / 1000;
    return QString::number(double(hundredths) / 100.0, 'g', 6) + QStringLiteral("秒");
}

QString runTimeText(int seconds)
{
    return QString::number(seconds / 3600) + QStringLiteral("小时")
           + QString::number(seconds % 3600 / 60) + QStringLiteral("分钟")
           + QString::number(seconds % 60) + QStringLiteral("秒");
}

bool isNightTime(const QTime &t)
{
    const int minutes = t.hour() * 60 + t.minute();
    return minutes < 8 * 60 + 30 || minutes >= 20 * 60 + 30;
}

ShiftId shiftOf(const QDateTime &t)
{
    ShiftId id;
    const QTime time = t.time();
    id.night = isNightTime(time);
    id.date = t.date();
    if (id.night && time.hour() < 12)
        id.date = id.date.addDays(-1);
    return id;
}

bool ShiftTracker::enter(const ShiftId &shift)
{
    if (!m_valid) {
        m_valid = true;
        m_current = shift;
        return false;
    }
    if (shift == m_current)
        return false;
    m_current = shift;
    return true;
}

QVector<int> defectPositions(const QString &data)
{
    QVector<int> positions;
    if (!data.contains(QLatin1Char('*')))
        return positions;
    const QStringList fields = data.split(QLatin1Char('*'), Qt::KeepEmptyParts);
    for (int i = 1; i < fields.size(); ++i) {
        if (fields.at(i) != QLatin1String("1"))
            positions.append(i);
    }
    return positions;
}

QList<DefectData> buildDefectRecords(const QJsonArray &entries, const QList<DefectData> &previous)
{
    QList<DefectData> records;
    records.reserve(entries.size());
    for (const QJsonValue &v : entries) {
        const QJsonObject entry = v.toObject();
        const int cls = entry.value(stationkey::defectClass()).toString().toInt();
        const QString name = entry.value(stationkey::defectName()).toString();
        DefectData record;
        record.defectName = name;
        for (const DefectData &old : previous) {
            if (old.defectName == name) {
                record = old;
                break;
            }
        }
        record.defectClass = cls;
        records.append(record);
    }
    return records;
}

int recordOfClass(const QList<DefectData> &records, int defectClass)
{
    for (int i = 0; i < records.size(); ++i) {
        if (records.at(i).defectClass == defectClass)
            return i;
    }
    return -1;
}

int barMaxValue(int value, int step)
{
    if (step <= 0)
        step = 50;
    return (value / step * 2 + 2) * step;
}

bool barNeedsRebuild(int count, int maxValue)
{
    return double(count) > 0.8 * double(maxValue);
}

int barRebuildValue(int count)
{
    return int(double(count) * 1.25);
}

SwitchDecision decideProgramSwitch(const QString &data, int currentProgram)
{
    SwitchDecision d;
    bool ok = false;
    const int number = data.trimmed().toInt(&ok, 10);
    if (!ok)
        return d;
    d.number = number;
    d.action = number == currentProgram ? SwitchDecision::SameProgram : SwitchDecision::NewProgram;
    return d;
}

QString hourStamp(const QDateTime &t)
{
    return hourOfStamp(t.toString(QStringLiteral("yyyy-MM-dd#hh:mm:ss.zzz")));
}

QString hourOfStamp(const QString &stamp)
{
    const int hash = stamp.indexOf(QLatin1Char('#'));
    const QString time = hash < 0 ? stamp : stamp.mid(hash + 1);
    return time.section(QLatin1Char(':'), 0, 0);
}

void HourlyStatistics::reset()
{
    m_all.clear();
    m_ok.clear();
    m_startAll = 0;
    m_startOk = 0;
    m_negative = false;
}

void HourlyStatistics::trim()
{
    while (m_all.size() > 24) {
        m_all.removeFirst();
        if (!m_ok.isEmpty())
            m_ok.removeFirst();
    }
}

// Row of an hour text, 0 when it is no hour of the day.
static int rowOfHour(const QString &hour)
{
    bool ok = false;
    const int h = hour.toInt(&ok, 10);
    return ok && h >= 0 && h <= 23 ? h + 1 : 0;
}

static void writeFigures(QVector<CellText> &cells, int row, int products, int okProducts)
{
    cells.append({row, 1, QString::number(products)});
    cells.append({row, 2, QString::number(okProducts)});
    if (products != 0) {
        cells.append({row, 3, okRateText(okProducts, products)});
    } else {
        cells.append({row, 4, QStringLiteral("0")});
        cells.append({row, 5, QString()});
    }
    cells.append({row, 4, QString::number(products - okProducts)});
    if (products != 0)
        cells.append({row, 5, ngRateText(okProducts, products)});
}

QVector<CellText> HourlyStatistics::update(QString &currentHour, const QString &thisHour, int total,
                                           int ok)
{
    QVector<CellText> cells;
    m_negative = false;
    if (thisHour != currentHour) {
        const int last = total - m_startAll;
        const int lastOk = ok - m_startOk;
        const int closed = rowOfHour(currentHour);
        if (closed > 0)
            writeFigures(cells, closed, last, lastOk);
        currentHour = thisHour;
        const int opened = rowOfHour(currentHour);
        if (opened > 0) {
            cells.append({opened, 1, QStringLiteral("0")});
            cells.append({opened, 2, QStringLiteral("0")});
            cells.append({opened, 3, QString()});
            cells.append({opened, 4, QStringLiteral("0")});
            cells.append({opened, 5, QString()});
        }
        m_all.append(last);
        m_ok.append(lastOk);
        trim();
        if (last != 0) {
            m_negative = last < 0;
            m_startAll = total;
            m_startOk = ok;
        }
        return cells;
    }
    if (m_all.isEmpty()) {
        m_all.append(total - m_startAll);
        m_ok.append(ok - m_startOk);
    }
    trim();
    m_all.last() = total - m_startAll;
    m_ok.last() = ok - m_startOk;
    const int row = rowOfHour(currentHour);
    if (row > 0)
        writeFigures(cells, row, m_all.last(), m_ok.last());
    m_negative = m_all.last() < 0;
    return cells;
}

QVector<CellText> HourlyStatistics::blankCells()
{
    QVector<CellText> cells;
    cells.reserve(24 * 5);
    for (int row = 1; row <= 24; ++row)
        for (int column = 1; column <= 5; ++column)
            cells.append({row, column, QStringLiteral(" ")});
    return cells;
}

} // namespace production
