// Test stand-in for the logic module library: records every call it receives and
// lets the test decide results, queued result images and failures.
#pragma once

#include "base_Logic.h"

#include <QList>
#include <QStringList>

#include <atomic>
#include <mutex>

struct FakeState
{
    std::mutex mutex;
    int createCalls = 0;
    int destroyCalls = 0;
    base_Logic *lastCreated = nullptr;
    QStringList calls;  // "<operation>:<arguments>" in call order
    QStringList events; // fetch begin/end and destroy, for ordering checks
    bool result = true; // what every task operation returns
    QString checkError; // written by checkCameraCfg when non-empty
    QList<ResultEntry> pending; // handed out by the next fetchResults
    int throwOnFetch = 0; // 1: std::runtime_error, 2: int, 3: QString (once)
    int fetchDelayMs = 0; // a slow fetch
    std::atomic<int> fetchCalls{0};
    std::atomic<bool> fetchActive{false};
};

using FakeStateFunc = FakeState *(*)();
