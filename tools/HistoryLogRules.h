// Widget-free rules of the result-log filter: paging through a long list 200 lines at a
// time, the keyword match, and the extract file's name and content.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QList>

#include <functional>

namespace historylog {

constexpr int kPageSize = 200;
// Long passes report progress (and let the window breathe) every this many lines.
constexpr int kProgressStep = 100000;

// Where the text view's own scroll bar goes after a page is built.
enum class ViewPlace {
    Top,         // value 0 (first page)
    NearTop,     // value 4
    NearBottom,  // max(5, maximum - 20)
    Bottom       // maximum - 4
};

// Lines [first, last) of the paged list to show.
struct Page
{
    bool rebuild = false; // false: the page stays as it is
    int first = 0;
    int last = 0;
    ViewPlace view = ViewPlace::Top;
};

// Lines the first page of a list of n lines holds; it is also the paging position after it.
int firstPageCount(int n, int pageSize = kPageSize);

// Page for a new value v of the paging bar with maximum maxValue, the list holding n lines
// and the paging position pos.
Page pageForValue(int n, int maxValue, int pos, int v, int pageSize = kPageSize);

// New paging-bar value when the text view reaches its top or bottom; -1 when the page stays.
// viewValue / viewMax: the text view's own scroll bar.
int pagerValueForView(int pos, int maxValue, int viewValue, int viewMax,
                      int pageSize = kPageSize);

// Value the text view's own scroll bar takes for a place, given its maximum.
int viewValue(ViewPlace place, int viewMax);

// Lines containing keyword (case-sensitive plain substring), in order. progress, when set,
// is called at every kProgressStep-th line (the first included) with its index.
QList<QString> matchLines(const QList<QString> &lines, const QString &keyword,
                          const std::function<void(int)> &progress = {});

// Extract file name: stamp "yyyy-MM-dd-hh-mm-ss-zzz", "_", the keyword's tag, ".log".
// The tag is every "::"-separated part of the keyword followed by "-"; characters other
// file systems refuse (\ / : * ? " < > | and control characters) become "_", and the whole
// name is cut to at most 255 bytes of UTF-8.
QString extractTag(const QString &keyword);
QString extractFileName(const QDateTime &when, const QString &keyword);

// Extract content: "\r" before every line, UTF-8 without a byte-order mark.
// progress as for matchLines.
QByteArray extractContent(const QList<QString> &lines,
                          const std::function<void(int)> &progress = {});

// Appends the extract to folder/name, creating the folder when missing. Returns false with
// the reason (and the path) in *error.
bool appendExtract(const QString &folder, const QString &name, const QByteArray &content,
                   QString *error);

} // namespace historylog
