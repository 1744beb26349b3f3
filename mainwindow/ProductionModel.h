// What the station has produced, without widgets: overall and shift counters, the shift,
// the hourly totals and the run time, per-shot and per-class defect counts, the PLC and
// camera lamps. Typed inputs from the message dispatch; the views paint from the signals.
#pragma once

#include "MainWindowRules.h"
#include "ProductionRules.h"

#include <QDateTime>
#include <QJsonArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

namespace production {

enum class Link { Plc, Camera };

// Products counted, OK and NG.
struct Counters
{
    int allNum = 0;
    int OKNum = 0;
    int NGNum = 0;
};

enum class Scope { Overall, Day, Night };

class ProductionModel : public QObject
{
    Q_OBJECT

public:
    explicit ProductionModel(QObject *parent = nullptr);

    // ---- message inputs --------------------------------------------------------------
    // A link reported connected or lost; a camera's lamp follows the offline-camera list.
    void onLink(Link link, bool connected, const QString &cameraName = QString());
    // Every data message enters its shift; the first message of a new shift starts it
    // afresh. Returns true for night.
    bool enterShift(const QDateTime &now);
    // A product's verdict, counted overall and in the current shift; nowMs times the cycle.
    void onResult(bool ok, qint64 nowMs);
    // A flagged shot of cameraName: every matching shot counts, or the first of each camera.
    void onShot(const QString &cameraName, bool onePerCamera);
    // The defect positions of a message's data, counted in the current shift.
    void onDefects(const QString &data);
    // One defect of record row in the shift.
    void countDefect(int row, bool night);

    // ---- set-up and resets -------------------------------------------------------------
    // Both lamps at once (start, re-run).
    void setLamps(bool green);
    void addShots(const MainWindowRules::ShotList &shots);
    void clearShots();
    // A zero count for each new shot table row.
    void appendShotCounts(int rows);
    void clearShotCounts();
    // Records of the document's defect classes: counts kept by name.
    void loadDefects(const QJsonArray &entries);
    // The overall counters back to 0 (the run is stopped and cleared).
    void resetOverall();
    // Clear-data: counters, hourly totals, defect records and counts; one zero per shot.
    void clear();

    // ---- hourly table and run time -----------------------------------------------------
    // Blank table, hourly totals from 0, the 500 ms tick running.
    void startHourly();
    void stopHourly();
    void hourTick();
    // The one-second clock; keeps its count across set-ups.
    void startRunTime();
    void runTimeTick();

    // ---- state -------------------------------------------------------------------------
    const Counters &counters(Scope scope) const;
    bool night() const { return m_shift.current().night; }
    const QList<DefectData> &defects() const { return m_defects; }
    const QList<MainWindowRules::ShotList> &shots() const { return m_shots; }
    const QList<int> &shotCounts() const { return m_shotCounts; }
    bool lamp(Link link) const { return m_lamps[int(link)]; }
    const QStringList &offlineCameras() const { return m_offline.names(); }
    const HourlyStatistics &hourly() const { return m_hourly; }
    QString currentHour() const { return m_currentHour; }
    int runTimeSeconds() const { return m_runSeconds; }

signals:
    void lampChanged(production::Link link, bool green);
    void verdictChanged(bool ok);
    void countersChanged(production::Scope scope, const production::Counters &counters);
    void cycleTimeChanged(const QString &text);
    // A new shift started from 0 (its counters were sent before).
    void shiftStarted(bool night);
    void shotCounted(int row, int count);
    void defectCounted(int row, bool night, int count);
    void hourCellsChanged(const QVector<production::CellText> &cells);
    void runTimeChanged(const QString &text);

private:
    void setLamp(Link link, bool green);
    void startShift(bool night);
    Counters &shiftCounters(bool night) { return night ? m_nightCounters : m_dayCounters; }

    Counters m_overall;
    Counters m_dayCounters;
    Counters m_nightCounters;
    ShiftTracker m_shift;
    qint64 m_lastResultMs = 0; // clock of the previous result
    QList<DefectData> m_defects;
    QList<MainWindowRules::ShotList> m_shots;
    QList<int> m_shotCounts; // one per shot table row
    OfflineCameras m_offline;
    bool m_lamps[2] = {false, false}; // red until a run or a link message
    HourlyStatistics m_hourly;
    QString m_currentHour; // the hour whose row is being filled, fixed at the first set-up
    QTimer m_hourTimer;
    int m_runSeconds = 0;
    QTimer m_runTimer;
};

} // namespace production

Q_DECLARE_METATYPE(production::Link)
Q_DECLARE_METATYPE(production::Scope)
Q_DECLARE_METATYPE(production::Counters)
Q_DECLARE_METATYPE(production::CellText)
