#include "SimLogic.h"

#include "SimCycle.h"

#include <QDateTime>
#include <QDebug>

#include <chrono>
#include <map>
#include <random>

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

// Next event after a mean interval, spread by +-50 %; never when the interval is 0.
Clock::time_point after(Clock::time_point from, int meanSec, std::mt19937 &rng)
{
    if (meanSec <= 0)
        return Clock::time_point::max();
    std::uniform_int_distribution<int> ms(meanSec * 500, meanSec * 1500);
    return from + milliseconds(ms(rng));
}

} // namespace

SimLogic::SimLogic() = default;

SimLogic::~SimLogic()
{
    stopThread();
}

bool SimLogic::checkCameraCfg(QJsonObject document, QString &error)
{
    sim::Station station;
    QString reason;
    if (!sim::parseStation(document, &station, &reason)) {
        error = QStringLiteral("相机配置检查未通过：") + reason;
        return false;
    }
    if (!station.settings.refuseReason.isEmpty()) {
        error = station.settings.refuseReason;
        return false;
    }
    return true;
}

bool SimLogic::setCameraCfg(QJsonObject document)
{
    sim::Station station;
    QString reason;
    if (!sim::parseStation(document, &station, &reason)) {
        qCritical().noquote() << "SimLogic::setCameraCfg" << " line:" << __LINE__ << reason;
        return false;
    }
    m_station = station;
    m_configured = true;
    // A running station keeps its cameras; reLoadJsonSetParameter hands it the rest.
    m_reloadPending = m_running.load();
    return true;
}

bool SimLogic::initTask()
{
    if (!m_configured || m_station.settings.failInit)
        return false;
    if (!m_running.load() && !m_frames.builtFor(m_station.cameras, m_station.settings))
        m_frames.build(m_station.cameras, m_station.settings);
    m_initialised = true;
    return true;
}

bool SimLogic::startTask()
{
    if (!m_initialised || m_station.settings.failStart)
        return false;
    if (m_running.load())
        return true;
    stopThread(); // joins a thread that ended on its own
    // The document may have changed since initTask.
    if (!m_frames.builtFor(m_station.cameras, m_station.settings))
        m_frames.build(m_station.cameras, m_station.settings);
    {
        // Nothing of a stopped run is handed out after this start.
        std::lock_guard<std::mutex> lock(m_resultMutex);
        m_results.clear();
        m_resultLimit = size_t(m_station.settings.resultLimit);
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = false;
        m_programRequests.clear();
        m_updatePending = false;
    }
    m_reloadPending = false;
    const quint32 seed = m_station.settings.seed ? m_station.settings.seed : std::random_device()();
    m_running = true;
    m_thread = std::thread(&SimLogic::run, this, m_station, seed);
    return true;
}

bool SimLogic::stopTask()
{
    if (m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id())
        return false; // asked from a receiver on the station's own thread
    if (m_station.settings.failStop && m_running.load())
        return false;
    stopThread();
    return true;
}

bool SimLogic::unloadTask()
{
    if (m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id())
        return false;
    stopThread();
    m_frames.clear();
    m_initialised = false;
    std::lock_guard<std::mutex> lock(m_resultMutex);
    m_results.clear();
    return true;
}

bool SimLogic::fetchResults(QList<ResultEntry> *results)
{
    if (!results)
        return false;
    // Never waits: while the list is being changed the caller simply asks again.
    std::unique_lock<std::mutex> lock(m_resultMutex, std::try_to_lock);
    if (!lock.owns_lock() || m_results.empty())
        return false;
    for (ResultEntry &e : m_results)
        results->append(std::move(e));
    m_results.clear();
    return true;
}

bool SimLogic::sendPLCCommand(QString command)
{
    // Commands go over the PLC link, which exists only while the task runs.
    if (!m_running.load() || !m_plcUp.load())
        return false;
    int number = 0;
    if (sim::parseProgramCommand(command, m_station.settings.programAddress, &number)) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_programRequests.append(number);
        }
        m_wake.notify_all();
        return true;
    }
    const int sep = command.lastIndexOf(QLatin1Char('_'));
    return sep > 0 && m_station.plcAddresses.contains(command.left(sep));
}

bool SimLogic::reLoadJsonSetParameter(QStringList moduleKeyList)
{
    if (!m_configured || moduleKeyList.isEmpty())
        return false;
    for (const QString &key : moduleKeyList)
        if (!m_station.knowsModuleKey(key))
            return false;
    if (m_reloadPending && m_running.load()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_update = m_station;
            m_updatePending = true;
        }
        m_wake.notify_all();
    }
    m_reloadPending = false;
    return true;
}

void SimLogic::stopThread()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    m_running = false;
    m_plcUp = false;
}

void SimLogic::pushResult(cv::Mat image, QString name)
{
    std::lock_guard<std::mutex> lock(m_resultMutex);
    if (m_results.size() >= m_resultLimit) {
        m_results.pop_front();
        ++m_imagesDropped;
    }
    m_results.push_back(ResultEntry{std::move(image), std::move(name)});
    ++m_imagesProduced;
}

void SimLogic::emitMessage(const sim::Message &m)
{
    emit Logic_writeData(m.key, m.cameraName, m.snInfo, m.data);
}

void SimLogic::run(sim::Station st, quint32 seed)
{
    sim::CycleGenerator generator(st, seed);
    std::mt19937 rng(seed ^ 0x9e3779b9u);
    const sim::Settings &set = st.settings;
    const int cameras = st.cameras.size();

    Clock::time_point now = Clock::now();
    std::multimap<Clock::time_point, sim::Message> due;
    Clock::time_point nextCycle = now + milliseconds(std::min(200, set.cycleMs));
    int cycleMs = set.cycleMs;

    const bool imaging = set.imageFps > 0 && cameras > 0;
    const auto imageEvery = imaging ? std::chrono::duration_cast<Clock::duration>(
                                          std::chrono::duration<double, std::milli>(1000.0 / set.imageFps))
                                    : Clock::duration::max();
    std::vector<Clock::time_point> nextImage(size_t(cameras), Clock::time_point::max());
    std::vector<quint64> imageCount(size_t(cameras), 0);
    if (imaging)
        for (int c = 0; c < cameras; ++c)
            nextImage[size_t(c)] = now + imageEvery * c / cameras; // cameras staggered

    bool plcDown = false;
    Clock::time_point plcLoss = after(now, set.plcLossEverySec, rng), plcBack = Clock::time_point::max();
    int lostCamera = -1;
    Clock::time_point cameraLoss = after(now, set.cameraLossEverySec, rng), cameraBack = Clock::time_point::max();

    m_plcUp = true;
    emit Logic_sendTcpStatus(true);
    for (const sim::Camera &c : st.cameras)
        emit Logic_cameraDisconnect(c.key, true);

    for (;;) {
        QList<int> programs;
        bool updated = false;
        sim::Station update;
        {
            Clock::time_point wakeAt = std::min({nextCycle, plcDown ? plcBack : plcLoss,
                                                 lostCamera >= 0 ? cameraBack : cameraLoss});
            if (!due.empty())
                wakeAt = std::min(wakeAt, due.begin()->first);
            for (const Clock::time_point &t : nextImage)
                wakeAt = std::min(wakeAt, t);
            wakeAt = std::min(wakeAt, Clock::now() + std::chrono::seconds(1));
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait_until(lock, wakeAt,
                              [this] { return m_stop || !m_programRequests.isEmpty() || m_updatePending; });
            if (m_stop)
                break;
            programs.swap(m_programRequests);
            if (m_updatePending) {
                update = m_update;
                m_updatePending = false;
                updated = true;
            }
        }
        now = Clock::now();
        if (updated) {
            generator.update(update);
            cycleMs = update.settings.cycleMs;
        }
        for (int n : programs)
            emitMessage(sim::programMessage(n, QDateTime::currentDateTime()));

        if (!plcDown && now >= plcLoss) {
            plcDown = true;
            m_plcUp = false;
            plcBack = now + std::chrono::seconds(set.plcLossSec);
            emit Logic_sendTcpStatus(false);
            emit Logic_CommunicationDisconnect(QStringLiteral("PLC"), false);
        } else if (plcDown && now >= plcBack) {
            plcDown = false;
            m_plcUp = true;
            plcLoss = after(now, set.plcLossEverySec, rng);
            emit Logic_sendTcpStatus(true);
            emit Logic_CommunicationDisconnect(QStringLiteral("PLC"), true);
        }
        if (lostCamera < 0 && now >= cameraLoss && cameras > 0) {
            lostCamera = std::uniform_int_distribution<int>(0, cameras - 1)(rng);
            cameraBack = now + std::chrono::seconds(set.cameraLossSec);
            emit Logic_cameraDisconnect(st.cameras.at(lostCamera).key, false);
        } else if (lostCamera >= 0 && now >= cameraBack) {
            emit Logic_cameraDisconnect(st.cameras.at(lostCamera).key, true);
            lostCamera = -1;
            cameraLoss = after(now, set.cameraLossEverySec, rng);
        }

        if (now >= nextCycle) {
            for (const sim::Message &m : generator.nextCycle(QDateTime::currentDateTime()))
                due.emplace(nextCycle + milliseconds(m.delayMs), m);
            nextCycle += milliseconds(cycleMs);
            if (nextCycle < now)
                nextCycle = now + milliseconds(cycleMs);
        }
        while (!due.empty() && due.begin()->first <= now) {
            emitMessage(due.begin()->second);
            due.erase(due.begin());
        }

        for (int c = 0; c < cameras; ++c) {
            Clock::time_point &t = nextImage[size_t(c)];
            if (now < t)
                continue;
            t += imageEvery;
            if (t < now)
                t = now + imageEvery; // no burst after a stall
            if (c == lostCamera)
                continue;
            const sim::Camera &cam = st.cameras.at(c);
            const quint64 n = imageCount[size_t(c)]++;
            const bool odd = set.unsupportedEvery > 0 && n % quint64(set.unsupportedEvery)
                                                              == quint64(set.unsupportedEvery - 1);
            pushResult(odd ? m_frames.unsupported() : m_frames.frame(c, n),
                       QStringLiteral("%1_%2_%3").arg(cam.key).arg(cam.shots > 0 ? n % quint64(cam.shots) : 0).arg(n));
        }
    }
}
