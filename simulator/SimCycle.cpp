#include "SimCycle.h"

#include <QPair>
#include <QVector>

#include <algorithm>
#include <numeric>

namespace sim {

QString snInfoFor(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd#hh:mm:ss.zzz"));
}

QString shotName(const Camera &camera, int shot)
{
    return camera.key + QLatin1Char('_') + QString::number(shot);
}

bool parseProgramCommand(const QString &command, const QString &address, int *number)
{
    const int sep = command.lastIndexOf(QLatin1Char('_'));
    if (sep <= 0 || command.left(sep) != address)
        return false;
    bool ok = false;
    const int n = command.mid(sep + 1).toInt(&ok, 10);
    if (!ok || n < 0)
        return false;
    *number = n;
    return true;
}

Message programMessage(int number, const QDateTime &time)
{
    Message m;
    m.key = QStringLiteral("程序号");
    m.cameraName = QStringLiteral("PLC");
    m.snInfo = snInfoFor(time);
    m.data = QByteArray::number(number);
    return m;
}

CycleGenerator::CycleGenerator(const Station &station, quint32 seed) : m_station(station), m_rng(seed) {}

void CycleGenerator::update(const Station &station)
{
    // Cameras stay as they were started; only the product model follows the document.
    m_station.defects = station.defects;
    m_station.settings.okPercent = station.settings.okPercent;
    m_station.settings.cycleMs = station.settings.cycleMs;
}

QByteArray CycleGenerator::shotData(bool defective)
{
    const int maxClass = m_station.maxDefectClass();
    std::uniform_int_distribution<int> percent(0, 99);
    if (!defective) {
        if (maxClass == 0 || percent(m_rng) < 50)
            return QByteArrayLiteral("1");
        QByteArray flags("1");
        for (int i = 1; i <= maxClass; ++i)
            flags += "*1";
        return flags;
    }
    QList<int> inspected;
    for (const Defect &d : m_station.defects)
        if (d.inspect)
            inspected.append(d.classNo);
    if (inspected.isEmpty() || percent(m_rng) < 15)
        return QByteArrayLiteral("0");
    std::shuffle(inspected.begin(), inspected.end(), m_rng);
    const int count = std::min<int>(inspected.size(), 1 + percent(m_rng) % 2);
    const QList<int> flagged = inspected.mid(0, count);
    QByteArray flags("0");
    for (int i = 1; i <= maxClass; ++i)
        flags += flagged.contains(i) ? "*0" : "*1";
    return flags;
}

QList<Message> CycleGenerator::nextCycle(const QDateTime &trigger)
{
    ++m_serial;
    const QString sn = snInfoFor(trigger);
    std::uniform_int_distribution<int> percent(0, 99);
    const bool ok = percent(m_rng) < m_station.settings.okPercent;

    // Shots in firing order: shot 0 of every camera, then shot 1, ...
    QList<QPair<int, int>> order;
    int maxShots = 0;
    for (const Camera &c : m_station.cameras)
        maxShots = std::max(maxShots, c.shots);
    for (int s = 0; s < maxShots; ++s)
        for (int c = 0; c < m_station.cameras.size(); ++c)
            if (s < m_station.cameras.at(c).shots)
                order.append({c, s});

    QVector<bool> defective(order.size(), false);
    if (!ok && !order.isEmpty()) {
        const int bad = 1 + percent(m_rng) % std::min<int>(3, order.size());
        QVector<int> idx(order.size());
        std::iota(idx.begin(), idx.end(), 0);
        std::shuffle(idx.begin(), idx.end(), m_rng);
        for (int i = 0; i < bad; ++i)
            defective[idx[i]] = true;
    }

    const int period = m_station.settings.cycleMs;
    const int step = order.isEmpty() ? 0 : period * 7 / 10 / order.size();
    QList<Message> out;
    int firstClass = 0;
    for (int k = 0; k < order.size(); ++k) {
        const Camera &cam = m_station.cameras.at(order[k].first);
        Message m;
        m.delayMs = k * step;
        m.key = cam.algorithm;
        m.cameraName = shotName(cam, order[k].second);
        m.snInfo = sn;
        m.data = shotData(defective[k]);
        if (defective[k] && firstClass == 0) {
            const QList<QByteArray> fields = m.data.split('*');
            for (int i = 1; i < fields.size() && firstClass == 0; ++i)
                if (fields[i] != "1")
                    firstClass = i;
        }
        out.append(m);
    }

    Message result;
    result.delayMs = period * 8 / 10;
    result.key = m_station.algorithms.value(0);
    result.cameraName = m_station.cameras.isEmpty() ? QString() : m_station.cameras.first().station;
    result.snInfo = sn;
    // "9#" marks OK; an NG code is 1..8 so the data never holds "9#".
    const int ngCode = firstClass > 0 ? 1 + (firstClass - 1) % 8 : 1;
    result.data = (ok ? QByteArray("9") : QByteArray::number(ngCode)) + '#' + QByteArray::number(m_serial);
    out.append(result);
    return out;
}

} // namespace sim
