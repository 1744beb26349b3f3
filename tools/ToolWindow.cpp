#include "ToolWindow.h"

#include "QtFramelessWindow.h"

#include <QDebug>
#include <QLabel>
#include <QPushButton>

namespace toolwindow {

QString buttonStyle()
{
    return QStringLiteral(
        "QPushButton{background-color:rgb(68, 74, 80);border-radius:10px;}"
        "QPushButton:hover{ background-color: rgb(0, 0, 0); border:none; color:rgb(255, 255, 255); }");
}

void styleTitle(QLabel *icon, QPushButton *min, QPushButton *max, QPushButton *close)
{
    icon->setStyleSheet(QStringLiteral("image: url(./Icon/logo_Corvault.png);"));
    const QString style = QStringLiteral("background-color:transparent;image: url(./Icon/%1);");
    min->setText(QString());
    max->setText(QString());
    close->setText(QString());
    min->setStyleSheet(style.arg(QLatin1String("min_n.png")));
    max->setStyleSheet(style.arg(QLatin1String("Max_n.png")));
    close->setStyleSheet(style.arg(QLatin1String("close_n.png")));
}

QSize loggedScreenSize()
{
    const QSize screen = QtFramelessWindow::screenSize();
    qDebug().noquote() << QStringLiteral("Screen resolution: %1x%2").arg(screen.width()).arg(screen.height());
    return screen;
}

} // namespace toolwindow
