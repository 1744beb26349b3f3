#include "ToolWindow.h"

#include "QtFramelessWindow.h"

#include <QDebug>

namespace toolwindow {

QString buttonStyle()
{
    return QStringLiteral(
        "QPushButton{background-color:rgb(68, 74, 80);border-radius:10px;}"
        "QPushButton:hover{ background-color: rgb(0, 0, 0); border:none; color:rgb(255, 255, 255); }");
}

QSize loggedScreenSize()
{
    const QSize screen = QtFramelessWindow::screenSize();
    qDebug().noquote() << QStringLiteral("Screen resolution: %1x%2").arg(screen.width()).arg(screen.height());
    return screen;
}

} // namespace toolwindow
