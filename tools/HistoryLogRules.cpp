#include "HistoryLogRules.h"

#include "DocumentFile.h"

#include <QDir>

#include <algorithm>

namespace historylog {

int firstPageCount(int n, int pageSize)
{
    return std::max(0, std::min(n, pageSize));
}

Page pageForValue(int n, int maxValue, int pos, int v, int pageSize)
{
    Page page;
    if (n <= pageSize)
        return page;
    int last = 0;
    if (v < pos) {
        if (maxValue - v <= pageSize)
            return page;
        int base = 0;
        if (v < pos - pageSize)
            base = v;
        else if (v < pos - 3)
            base = std::max(v - pageSize, 0);
        else
            base = std::max(pos - 3, 0);
        last = std::min(base + pageSize, maxValue);
        page.view = ViewPlace::NearTop;
    } else {
        if (v <= pageSize)
            return page;
        if (v > pos + pageSize) {
            last = std::min(v + pageSize, maxValue);
            page.view = ViewPlace::NearBottom;
        } else if (v > pos + 3) {
            last = std::min(std::max(v - pageSize, 0) + pageSize, maxValue);
            page.view = ViewPlace::NearBottom;
        } else {
            last = std::min(v + 3, maxValue);
            page.view = ViewPlace::Bottom;
        }
    }
    // The bar's maximum never exceeds the list; keep the page inside it all the same.
    last = std::min(last, n);
    page.rebuild = true;
    page.last = last;
    page.first = std::max(0, last - pageSize);
    return page;
}

int pagerValueForView(int pos, int maxValue, int viewValue, int viewMax, int pageSize)
{
    if (viewValue == 0)
        return pos == maxValue ? std::max(0, pos - pageSize - 3) : std::max(0, pos - 3);
    if (viewValue >= viewMax - 2)
        return pos < pageSize ? std::min(maxValue, pos + viewMax + 3)
                              : std::min(maxValue, pos + 3);
    return -1;
}

int viewValue(ViewPlace place, int viewMax)
{
    switch (place) {
    case ViewPlace::Top:
        return 0;
    case ViewPlace::NearTop:
        return 4;
    case ViewPlace::NearBottom:
        return std::max(5, viewMax - 20);
    case ViewPlace::Bottom:
        return viewMax - 4;
    }
    return 0;
}

QList<QString> matchLines(const QList<QString> &lines, const QString &keyword,
                          const std::function<void(int)> &progress)
{
    QList<QString> matches;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).contains(keyword))
            matches.append(lines.at(i));
        if (progress && i % kProgressStep == 0)
            progress(i);
    }
    return matches;
}

QString extractTag(const QString &keyword)
{
    const QStringList parts = keyword.contains(QLatin1String("::"))
                                  ? keyword.split(QStringLiteral("::"), Qt::KeepEmptyParts)
                                  : QStringList{keyword};
    QString tag;
    for (const QString &part : parts)
        tag += part + QLatin1Char('-');
    const QString refused = QStringLiteral("\\/:*?\"<>|");
    for (QChar &c : tag)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || refused.contains(c))
            c = QLatin1Char('_');
    return tag;
}

QString extractFileName(const QDateTime &when, const QString &keyword)
{
    const QString head = when.toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss-zzz")) + QLatin1Char('_');
    const QString tail = QStringLiteral(".log");
    const int room = 255 - head.toUtf8().size() - tail.toUtf8().size();
    QString tag = extractTag(keyword);
    // Cut whole characters (never half a surrogate pair) until the name fits.
    while (tag.toUtf8().size() > room) {
        tag.chop(1);
        if (!tag.isEmpty() && tag.at(tag.size() - 1).isHighSurrogate())
            tag.chop(1);
    }
    return head + tag + tail;
}

QByteArray extractContent(const QList<QString> &lines, const std::function<void(int)> &progress)
{
    QByteArray bytes;
    for (int i = 0; i < lines.size(); ++i) {
        bytes += '\r';
        bytes += lines.at(i).toUtf8();
        if (progress && i % kProgressStep == 0)
            progress(i);
    }
    return bytes;
}

bool appendExtract(const QString &folder, const QString &name, const QByteArray &content,
                   QString *error)
{
    const QString path = QDir(folder).filePath(name);
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = folder + QStringLiteral(": 无法创建文件夹");
        return false;
    }
    QString reason;
    if (!docfile::append(path, content, &reason)) {
        if (error)
            *error = reason.isEmpty() ? path : reason;
        return false;
    }
    return true;
}

} // namespace historylog
