#include "ConsoleRun.h"

#include "Qt_epWindow.h"

#include <QCoreApplication>

#include <memory>

int runConsole()
{
    auto window = std::make_unique<Qt_epWindow>(); // shows itself and starts the console
    return window->exitRequested() ? 0 : QCoreApplication::exec();
}
