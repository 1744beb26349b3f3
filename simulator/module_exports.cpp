// Exports of the logic module library, resolved by name by the console. Besides "create"
// and "destory" the library counts its live objects and traces the task calls they
// receive, so tests can follow every hand-over ("sim_live_objects", "sim_take_trace").
#include "SimLogic.h"

#include <QStringList>

#include <atomic>
#include <mutex>

namespace {

std::atomic<int> g_live{0};
std::mutex g_traceMutex;
QStringList g_trace;

void trace(const QString &call)
{
    std::lock_guard<std::mutex> lock(g_traceMutex);
    if (g_trace.size() < 10000)
        g_trace.append(call);
}

class TracedLogic : public SimLogic
{
public:
    // The station thread emits through virtual signals: it must end before this
    // object's type unwinds.
    ~TracedLogic() override { stopThread(); }

    bool checkCameraCfg(QJsonObject document, QString &error) override
    {
        trace(QStringLiteral("checkCameraCfg"));
        return SimLogic::checkCameraCfg(document, error);
    }
    bool setCameraCfg(QJsonObject document) override
    {
        trace(QStringLiteral("setCameraCfg"));
        return SimLogic::setCameraCfg(document);
    }
    bool initTask() override
    {
        trace(QStringLiteral("initTask"));
        return SimLogic::initTask();
    }
    bool startTask() override
    {
        trace(QStringLiteral("startTask"));
        return SimLogic::startTask();
    }
    bool stopTask() override
    {
        trace(QStringLiteral("stopTask"));
        return SimLogic::stopTask();
    }
    bool unloadTask() override
    {
        trace(QStringLiteral("unloadTask"));
        return SimLogic::unloadTask();
    }
    bool sendPLCCommand(QString command) override
    {
        trace(QStringLiteral("sendPLCCommand ") + command);
        return SimLogic::sendPLCCommand(command);
    }
    bool reLoadJsonSetParameter(QStringList moduleKeyList) override
    {
        trace(QStringLiteral("reLoadJsonSetParameter ") + moduleKeyList.join(QLatin1Char(',')));
        return SimLogic::reLoadJsonSetParameter(moduleKeyList);
    }
};

} // namespace

extern "C" {

Q_DECL_EXPORT base_Logic *create()
{
    trace(QStringLiteral("create"));
    ++g_live;
    return new TracedLogic();
}

// Spelled as the console resolves it.
Q_DECL_EXPORT void destory(base_Logic *logic)
{
    trace(QStringLiteral("destory"));
    if (logic)
        --g_live;
    delete logic;
}

Q_DECL_EXPORT int sim_live_objects()
{
    return g_live.load();
}

// Moves the calls traced so far into *calls.
Q_DECL_EXPORT void sim_take_trace(QStringList *calls)
{
    std::lock_guard<std::mutex> lock(g_traceMutex);
    if (calls)
        *calls = g_trace;
    g_trace.clear();
}

}
