#include "LogLine.h"

namespace logline {

QString shown(const QString &line)
{
    if (line.size() <= kShownChars)
        return line;
    int keep = kShownChars;
    if (line.at(keep - 1).isHighSurrogate())
        --keep;
    // Characters, not UTF-16 units: a surrogate pair counts once.
    int left = 0;
    for (int i = keep; i < line.size(); ++i)
        if (!(line.at(i).isLowSurrogate() && line.at(i - 1).isHighSurrogate()))
            ++left;
    return line.left(keep) + QStringLiteral("…（省略%1字）").arg(left);
}

} // namespace logline
