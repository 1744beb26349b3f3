#include "ConsoleRun.h"
#include "CrashDump.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    installTopLevelExceptionFilter();
    int result = 0;
    {
        QApplication app(argc, argv);
        result = runConsole();
    }
    return result;
}
