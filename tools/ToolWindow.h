// What the two tool windows share: the logged screen size.
#pragma once

#include <QSize>

namespace toolwindow {

// Primary screen size (read once per process), logged as "Screen resolution: WxH".
QSize loggedScreenSize();

} // namespace toolwindow
