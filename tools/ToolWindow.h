// What the two tool windows share: the title bar's icons and the action button style.
#pragma once

#include <QSize>
#include <QString>

class QLabel;
class QPushButton;

namespace toolwindow {

QString buttonStyle();
// Logo and the three icon-only title buttons.
void styleTitle(QLabel *icon, QPushButton *min, QPushButton *max, QPushButton *close);
// Primary screen size (read once per process), logged as "Screen resolution: WxH".
QSize loggedScreenSize();

} // namespace toolwindow
