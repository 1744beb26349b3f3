// The simulated logic module's probes: live objects and the calls they received.
#pragma once

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

struct LogicProbe
{
    LogicProbe() : lib(QCoreApplication::applicationDirPath() + QStringLiteral("/libBx_LogicDll_module.so"))
    {
        lib.load();
        live = reinterpret_cast<int (*)()>(lib.resolve("sim_live_objects"));
        take = reinterpret_cast<void (*)(QStringList *)>(lib.resolve("sim_take_trace"));
    }
    QStringList calls()
    {
        QStringList out;
        take(&out);
        return out;
    }
    QLibrary lib;
    int (*live)() = nullptr;
    void (*take)(QStringList *) = nullptr;
};
