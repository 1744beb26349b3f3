// What the three configuration editors decide, free of widgets: which rows a table shows,
// how edited rows become document entries, which module keys a save announces.
#pragma once

#include "StationDocument.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVector>

namespace editors {

// ---- parameter editor ----

enum class BoxKind { Camera, Algorithm };

// The keys a box writes into its entry's parameter array.
struct BoxKeys
{
    QString listKey;   // "相机参数" / "算法初始化参数"
    QString nameKey;   // "参数名" / "算法参数名"
    QString valuesKey; // "相机参数值" / "算法参数值"
};
BoxKeys boxKeys(BoxKind kind);

// What a box shows of an entry: its module key ("相机key" / "算法名称"), its title
// ("界面窗口名称" / "算法名称") and its parameters.
struct EntryView
{
    QString moduleKey;
    QString title;
    QList<station::Parameter> parameters;
};
EntryView entryView(BoxKind kind, const QJsonValue &entry);

// One table row and the stored element it came from (none for a row added by hand).
struct ParamRow
{
    QString name;
    QString value;
    bool fromDocument = false;
    int storedIndex = -1;     // position in the stored parameter array
    QJsonValue stored;        // the element as stored
    QString shownName;        // texts the row showed when it was built
    QString shownValue;

    bool untouched() const { return fromDocument && name == shownName && value == shownValue; }
};

// Rows of one box as the table shows them.
QVector<ParamRow> parameterRows(BoxKind kind, const QJsonValue &entry);
QVector<ParamRow> parameterRows(const QList<station::Parameter> &params);

// The entry a box saves: the stored entry itself when every row is its own untouched
// element in the stored order; otherwise the stored entry with its parameter array
// rebuilt, untouched rows kept as stored and edited rows setting only what changed.
QJsonValue rebuildEntry(BoxKind kind, const QJsonValue &storedEntry, const QVector<ParamRow> &rows);

// Where box number k (from 1) sits: page index (from 0), grid row and column.
struct BoxPlace
{
    int page;
    int row;
    int column;
};
BoxPlace boxPlace(int k);
QString pageTitle(int pageIndex); // "第1页", ...
constexpr int kBoxesPerPage = 6;

// The station list with every camera-module and algorithm entry replaced, by position,
// with its box's entry, and the module keys of the entries that changed, station by
// station, cameras before algorithms. Stations whose lists are unchanged stay as stored;
// the document is the reference with its station list replaced only when a station changed.
struct StationRebuild
{
    QJsonArray stations;
    QStringList changedKeys;
    QVector<BoxKind> changedKinds; // the kind of each changed key
    QJsonObject document;
};
StationRebuild rebuildStations(const QJsonObject &reference, const QJsonArray &working,
                               const QVector<QJsonValue> &cameraEntries,
                               const QVector<QJsonValue> &algorithmEntries);

// ---- image-saving editor ----

struct SaveImgRow
{
    QString cameraKey;
    QString windowName;
    bool ticks[4] = {false, false, false, false};
    bool fromDocument = false; // a stored entry with the same key and window name exists
    QJsonValue stored;
    bool shownTicks[4] = {false, false, false, false};
};

// One row per camera module in station order; each takes its switches from the first
// unused stored entry with the same "相机key" and "界面窗口名称".
QVector<SaveImgRow> saveImgRows(const QJsonObject &document);
// The "存图设置" array of the rows; untouched rows keep their stored entry exactly.
QJsonArray saveImgArray(const QVector<SaveImgRow> &rows);

// ---- defect editor ----

struct DefectRow
{
    QString serial;
    QString name;
    bool inspect = true;
    bool fromDocument = false;
    QJsonValue stored;
    QString shownSerial;
    QString shownName;
    bool shownInspect = false;
};

QVector<DefectRow> defectRows(const QJsonObject &document);
DefectRow newDefectRow(int rowCount); // serial rowCount + 1, "请输入", ticked

enum class DefectCheck { Ok, NameMissing, Duplicate };
// The first failing row decides; firstBad receives its index.
DefectCheck checkDefects(const QVector<DefectRow> &rows, int *firstBad = nullptr);
// The "缺陷类别名称设置" array of the rows; an edited row writes only the cells whose shown
// text changed and keeps the stored value of the others.
QJsonArray defectArray(const QVector<DefectRow> &rows);

} // namespace editors
