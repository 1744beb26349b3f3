#include "FakeModule.h"

#include <QThread>

#include <stdexcept>

namespace {

FakeState &state()
{
    static FakeState s;
    return s;
}

class FakeLogic : public base_Logic
{
public:
    ~FakeLogic() override
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        state().events << QStringLiteral("destroy");
    }

    bool checkCameraCfg(QJsonObject document, QString &error) override
    {
        if (!state().checkError.isEmpty())
            error = state().checkError;
        return record(QStringLiteral("checkCameraCfg:%1").arg(document.value(QStringLiteral("任务名")).toString()));
    }
    bool setCameraCfg(QJsonObject document) override
    {
        return record(QStringLiteral("setCameraCfg:%1").arg(document.value(QStringLiteral("任务名")).toString()));
    }
    bool initTask() override { return record(QStringLiteral("initTask")); }
    bool startTask() override { return record(QStringLiteral("startTask")); }
    bool stopTask() override { return record(QStringLiteral("stopTask")); }
    bool unloadTask() override { return record(QStringLiteral("unloadTask")); }
    bool spareTask() override { return record(QStringLiteral("spareTask")); }
    bool sendPLCCommand(QString command) override { return record(QStringLiteral("sendPLCCommand:") + command); }
    bool reLoadJsonSetParameter(QStringList keys) override
    {
        return record(QStringLiteral("reLoadJsonSetParameter:") + keys.join(QLatin1Char(',')));
    }

    bool fetchResults(QList<ResultEntry> *results) override
    {
        FakeState &s = state();
        s.fetchActive = true;
        ++s.fetchCalls;
        int delay = 0;
        int toThrow = 0;
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            delay = s.fetchDelayMs;
            toThrow = s.throwOnFetch;
            s.throwOnFetch = 0;
            if (delay > 0)
                s.events << QStringLiteral("fetch begin");
        }
        if (delay > 0)
            QThread::msleep(static_cast<unsigned long>(delay)); // a module that takes its time
        std::lock_guard<std::mutex> lock(s.mutex);
        if (delay > 0)
            s.events << QStringLiteral("fetch end");
        s.fetchActive = false;
        if (toThrow == 1)
            throw std::runtime_error("camera buffer lost");
        if (toThrow == 2)
            throw 42;
        if (toThrow == 3)
            throw QStringLiteral("text failure");
        if (s.pending.isEmpty())
            return false;
        results->append(s.pending);
        s.pending.clear();
        return true;
    }

private:
    bool record(const QString &call)
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        state().calls << call;
        return state().result;
    }
};

} // namespace

extern "C" {

Q_DECL_EXPORT base_Logic *create()
{
    std::lock_guard<std::mutex> lock(state().mutex);
    ++state().createCalls;
#ifdef FAKE_NULL_CREATE
    return nullptr;
#else
    state().lastCreated = new FakeLogic;
    return state().lastCreated;
#endif
}

#ifndef FAKE_NO_DESTROY
Q_DECL_EXPORT void destory(base_Logic *logic)
{
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        ++state().destroyCalls;
        if (state().lastCreated == logic)
            state().lastCreated = nullptr;
    }
    delete logic;
}
#endif

Q_DECL_EXPORT FakeState *fake_state()
{
    return &state();
}
}
