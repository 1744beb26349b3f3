// What the two tool windows share: the action button style and the logged screen size.
#pragma once

#include <QSize>
#include <QString>

namespace toolwindow {

QString buttonStyle();
// Primary screen size (read once per process), logged as "Screen resolution: WxH".
QSize loggedScreenSize();

} // namespace toolwindow
