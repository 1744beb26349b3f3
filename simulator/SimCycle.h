// Message sequences of the simulated station: product cycles and program numbers.
#pragma once

#include "SimConfig.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <random>

namespace sim {

struct Message
{
    int delayMs = 0; // offset from the cycle's trigger
    QString key;
    QString cameraName;
    QString snInfo;
    QByteArray data;
};

// Time stamp carried as snInfo by every message of one product.
QString snInfoFor(const QDateTime &time);

// Shot name the console derives for shot i of a camera: "<相机key>_<i>".
QString shotName(const Camera &camera, int shot);

// Reads "<address>_<number>"; true with *number set when address matches.
bool parseProgramCommand(const QString &command, const QString &address, int *number);

// The program-switch message for a requested number.
Message programMessage(int number, const QDateTime &time);

class CycleGenerator
{
public:
    CycleGenerator(const Station &station, quint32 seed);

    // Replaces the parts that may change while running (defects, OK ratio, period).
    void update(const Station &station);

    // One product: a per-shot message per camera shot, then the final result.
    QList<Message> nextCycle(const QDateTime &trigger);

    quint64 products() const { return m_serial; }

private:
    QByteArray shotData(bool defective);

    Station m_station;
    std::mt19937 m_rng;
    quint64 m_serial = 0;
};

} // namespace sim
