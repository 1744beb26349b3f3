#include "Styles.h"

namespace styles {

namespace {
QString hover(const char *background)
{
    return QStringLiteral("QPushButton:hover{ background-color: ") + QLatin1String(background)
           + QStringLiteral("; border:none; color:rgb(255, 255, 255); }");
}

QString imageButton(const QString &iconFile, const char *hoverBackground)
{
    return QStringLiteral("QPushButton{image: url(./Icon/") + iconFile + QStringLiteral(");}")
           + hover(hoverBackground);
}
} // namespace

QString lamp(bool green)
{
    return green ? QStringLiteral("QPushButton{ background-color: rgb(0, 255, 0); }")
                 : QStringLiteral("QPushButton{ background-color: rgb(255, 0, 0); }");
}

QString lampAtSetUp()
{
    return QStringLiteral("QPushButton{ background-color: rgb(255, 0, 0);}");
}

QString darkButton()
{
    return QStringLiteral("QPushButton{background-color:rgb(68, 74, 80);border-radius:10px;}")
           + hover("rgb(0, 0, 0)");
}

QString iconButton(const QString &iconFile)
{
    return imageButton(iconFile, "rgb(0, 0, 0)");
}

QString toolIconButton(const QString &iconFile)
{
    return imageButton(iconFile, "rgb(32, 36, 40)");
}

QString titleLogo()
{
    return QStringLiteral("image: url(./Icon/logo_Corvault.png);");
}

QString titleButton(const QString &iconFile)
{
    return QStringLiteral("background-color:transparent;image: url(./Icon/") + iconFile
           + QStringLiteral(");");
}

QString pageButton(bool selected)
{
    return selected ? QStringLiteral("QPushButton{background-color: rgb(0, 100, 255);border-radius:5px;;}")
                          + hover("rgb(0, 100, 255)")
                    : QStringLiteral("QPushButton{background-color: rgb(101, 103, 100);border-radius:5px;;}")
                          + hover("rgb(0, 0, 0)");
}

QString clearDataButton()
{
    return QStringLiteral("QPushButton{background-color: rgb(101, 103, 100);border-radius:5px;;}")
           + hover("rgb(0, 100, 255)");
}

QString greyHeader()
{
    return QStringLiteral("QHeaderView::section {background-color:rgb(65,65,65);}");
}

QString scrollBar()
{
    return QStringLiteral(
        "QScrollBar {background-color: rgb(32, 36, 40);} QScrollBar:horizontal {height: 12px;}"
        "QScrollBar:vertical {width: 12px;}"
        "QScrollBar::handle {background-color: rgb(101, 103, 100); border-radius: 5px;}"
        "QScrollBar::handle:horizontal {min-width: 40px;} QScrollBar::handle:vertical {min-height: 40px;}"
        "QScrollBar::add-line, QScrollBar::sub-line {width: 0px; height: 0px;}"
        "QScrollBar::add-page, QScrollBar::sub-page {background: none;}");
}

QString textColour(Colour colour)
{
    switch (colour) {
    case Colour::Red:
        return QStringLiteral("color: red;");
    case Colour::Yellow:
        return QStringLiteral("color: yellow;");
    case Colour::Green:
        break;
    }
    return QStringLiteral("color: green;");
}

QString verdict(bool ok)
{
    return ok ? QStringLiteral("background-color: green;") : QStringLiteral("background-color: red;");
}

} // namespace styles
