// The simulated logic module: a station that runs product cycles, link events and
// result images from its own thread, driven through base_Logic.
#pragma once

#include "FrameBank.h"
#include "SimConfig.h"
#include "SimCycle.h"
#include "base_Logic.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class SimLogic : public base_Logic
{
    Q_OBJECT

public:
    SimLogic();
    ~SimLogic() override;

    bool checkCameraCfg(QJsonObject document, QString &error) override;
    bool setCameraCfg(QJsonObject document) override;
    bool initTask() override;
    bool startTask() override;
    bool stopTask() override;
    bool unloadTask() override;
    bool fetchResults(QList<ResultEntry> *results) override;
    bool sendPLCCommand(QString command) override;
    bool reLoadJsonSetParameter(QStringList moduleKeyList) override;

    bool isRunning() const { return m_running.load(); }
    quint64 imagesProduced() const { return m_imagesProduced.load(); }
    quint64 imagesDropped() const { return m_imagesDropped.load(); }
    const sim::FrameBank &frames() const { return m_frames; }

protected:
    // Ends and joins the station thread. A subclass calls it from its own destructor.
    void stopThread();

private:
    void run(sim::Station station, quint32 seed);
    void pushResult(cv::Mat image, QString name);
    void emitMessage(const sim::Message &m);

    // Owned by the calling (GUI) thread.
    sim::Station m_station;
    bool m_configured = false;
    bool m_initialised = false;
    bool m_reloadPending = false;
    sim::FrameBank m_frames; // read by the station thread; rebuilt only while it is stopped
    std::thread m_thread;

    // Shared with the station thread under m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    QList<int> m_programRequests;
    bool m_updatePending = false;
    sim::Station m_update;

    std::atomic<bool> m_running{false};
    std::atomic<bool> m_plcUp{false};

    // Result images waiting for fetchResults, bounded by "结果队列上限".
    std::mutex m_resultMutex;
    std::deque<ResultEntry> m_results;
    size_t m_resultLimit = 32;
    std::atomic<quint64> m_imagesProduced{0};
    std::atomic<quint64> m_imagesDropped{0};
};
