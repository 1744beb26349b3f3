#include "ToolWindow.h"

#include "QtFramelessWindow.h"

#include <QDebug>

namespace toolwindow {

QSize loggedScreenSize()
{
    const QSize screen = QtFramelessWindow::screenSize();
    qDebug().noquote() << QStringLiteral("Screen resolution: %1x%2").arg(screen.width()).arg(screen.height());
    return screen;
}

} // namespace toolwindow
