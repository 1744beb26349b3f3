#include "ProductionModel.h"

#include "Platform.h"

#include <QDebug>

namespace production {

ProductionModel::ProductionModel(QObject *parent)
    : QObject(parent), m_hourTimer(this), m_runTimer(this)
{
    m_hourTimer.setInterval(500);
    connect(&m_hourTimer, &QTimer::timeout, this, &ProductionModel::hourTick);
    connect(&m_runTimer, &QTimer::timeout, this, &ProductionModel::runTimeTick);
}

void ProductionModel::onLink(Link link, bool connected, const QString &cameraName)
{
    if (link == Link::Plc) {
        setLamp(Link::Plc, connected);
        return;
    }
    switch (m_offline.report(cameraName, connected)) {
    case OfflineCameras::Lamp::Green:
        setLamp(Link::Camera, true);
        break;
    case OfflineCameras::Lamp::Red:
        setLamp(Link::Camera, false);
        break;
    case OfflineCameras::Lamp::Keep:
        break;
    }
}

void ProductionModel::setLamps(bool green)
{
    setLamp(Link::Plc, green);
    setLamp(Link::Camera, green);
}

void ProductionModel::setLamp(Link link, bool green)
{
    m_lamps[int(link)] = green;
    emit lampChanged(link, green);
}

bool ProductionModel::enterShift(const QDateTime &now)
{
    const ShiftId shift = shiftOf(now);
    if (m_shift.enter(shift))
        startShift(shift.night);
    return shift.night;
}

void ProductionModel::startShift(bool night)
{
    Counters &c = shiftCounters(night);
    c = Counters();
    for (DefectData &d : m_defects)
        (night ? d.nightNum : d.dayNum) = 0;
    emit countersChanged(night ? Scope::Night : Scope::Day, c);
    emit shiftStarted(night);
}

void ProductionModel::onResult(bool ok, qint64 nowMs)
{
    ++m_overall.allNum;
    ok ? ++m_overall.OKNum : ++m_overall.NGNum;
    emit verdictChanged(ok);
    emit countersChanged(Scope::Overall, m_overall);
    if (m_overall.allNum > 1)
        emit cycleTimeChanged(cycleTimeText(nowMs - m_lastResultMs));
    m_lastResultMs = nowMs;

    const bool isNight = night();
    Counters &c = shiftCounters(isNight);
    ++c.allNum;
    ok ? ++c.OKNum : ++c.NGNum;
    emit countersChanged(isNight ? Scope::Night : Scope::Day, c);
}

void ProductionModel::onShot(const QString &cameraName, bool onePerCamera)
{
    int row = 0;
    for (const MainWindowRules::ShotList &shots : qAsConst(m_shots)) {
        const QStringList &names = shots.shotNames;
        const int next = row + names.size();
        for (const QString &name : names) {
            if (name == cameraName && row < m_shotCounts.size()) {
                emit shotCounted(row, ++m_shotCounts[row]);
                if (onePerCamera)
                    break;
            }
            ++row;
        }
        row = next;
    }
}

void ProductionModel::onDefects(const QString &data)
{
    const QVector<int> positions = defectPositions(data);
    for (int position : positions) {
        const int record = recordOfClass(m_defects, position);
        if (record >= 0)
            countDefect(record, night());
    }
}

void ProductionModel::countDefect(int row, bool night)
{
    if (row < 0 || row >= m_defects.size())
        return;
    DefectData &d = m_defects[row];
    ++d.allNum;
    const int count = night ? ++d.nightNum : ++d.dayNum;
    emit defectCounted(row, night, count);
}

void ProductionModel::addShots(const MainWindowRules::ShotList &shots)
{
    m_shots.append(shots);
}

void ProductionModel::clearShots()
{
    m_shots.clear();
}

void ProductionModel::appendShotCounts(int rows)
{
    for (int i = 0; i < rows; ++i)
        m_shotCounts.append(0);
}

void ProductionModel::clearShotCounts()
{
    m_shotCounts.clear();
}

void ProductionModel::loadDefects(const QJsonArray &entries)
{
    m_defects = buildDefectRecords(entries, m_defects);
}

void ProductionModel::resetOverall()
{
    m_overall = Counters();
}

void ProductionModel::clear()
{
    m_hourly.reset();
    m_overall = Counters();
    m_dayCounters = Counters();
    m_nightCounters = Counters();
    m_shotCounts.clear();
    for (const MainWindowRules::ShotList &shots : qAsConst(m_shots))
        appendShotCounts(shots.entries.size());
    m_defects.clear();
}

void ProductionModel::startHourly()
{
    if (m_currentHour.isNull())
        m_currentHour = hourStamp(platform::localNow());
    emit hourCellsChanged(HourlyStatistics::blankCells());
    m_hourly.reset();
    m_hourTimer.start();
}

void ProductionModel::stopHourly()
{
    m_hourTimer.stop();
}

void ProductionModel::hourTick()
{
    emit hourCellsChanged(m_hourly.update(m_currentHour, hourStamp(platform::localNow()),
                                          m_overall.allNum, m_overall.OKNum));
    if (m_hourly.negative())
        qDebug() << "hour_allNum12.last()<0";
}

void ProductionModel::startRunTime()
{
    m_runTimer.setInterval(1000);
    m_runTimer.start();
}

void ProductionModel::runTimeTick()
{
    ++m_runSeconds;
    emit runTimeChanged(runTimeText(m_runSeconds));
}

const Counters &ProductionModel::counters(Scope scope) const
{
    switch (scope) {
    case Scope::Day:
        return m_dayCounters;
    case Scope::Night:
        return m_nightCounters;
    case Scope::Overall:
        break;
    }
    return m_overall;
}

} // namespace production
