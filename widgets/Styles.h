// The console's style sheets, written once: lamps, buttons, page buttons, icons, headers
// and the status colours. Every window takes its styles from here.
#pragma once

#include <QString>

namespace styles {

// Status lamps (PLC link, cameras).
QString lamp(bool green);
QString lampAtSetUp(); // the red of the lamps before any run or link message

// The dark text buttons of the tool windows and the login window.
QString darkButton();

// Icon buttons of the main window (black hover) and of the camera debug tool (dark hover);
// iconFile names a picture of ./Icon/ with its ".png".
QString iconButton(const QString &iconFile);
QString toolIconButton(const QString &iconFile);

// Title bars: the logo and a transparent title button with its picture.
QString titleLogo();
QString titleButton(const QString &iconFile);

// The main window's page buttons and its clear-data button.
QString pageButton(bool selected);
QString clearDataButton();

// Grey table headers of the defect and image-saving editors and the camera debug tool.
QString greyHeader();

// Scroll bars of the areas that scroll when a window is smaller than its contents.
QString scrollBar();

// Text colour of a label ("color: red;"), and the verdict label's background.
enum class Colour { Red, Yellow, Green };
QString textColour(Colour colour);
QString verdict(bool ok);

} // namespace styles
