// What a log view shows of one line. A view lays out every line it holds, and a line of a
// hundred thousand characters freezes it for seconds: longer lines are shown cut, with a
// note of how many characters were left out. Queues and extracts keep the whole line.
#pragma once

#include <QString>

namespace logline {

// Characters of a line a log view shows at most (before the note).
constexpr int kShownChars = 2000;

// The line as a log view shows it: unchanged up to kShownChars characters, else its first
// kShownChars (never half a surrogate pair) followed by "…（省略N字）".
QString shown(const QString &line);

} // namespace logline
