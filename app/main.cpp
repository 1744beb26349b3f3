#include "CrashDump.h"
#include "Qt_epWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    installTopLevelExceptionFilter();
    int result = 0;
    {
        QApplication app(argc, argv);
        Qt_epWindow *window = new Qt_epWindow(); // shows itself and starts the console
        result = app.exec();
        delete window;
    }
    return result;
}
