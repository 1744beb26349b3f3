#include "EditorRules.h"

#include "ListValue.h"

#include <utility>

namespace editors {

namespace {
const QString kSave = QStringLiteral("保存");
const QString kNoSave = QStringLiteral("不保存");

// Replaces the entries of one list by position; true when any of them changed.
bool replaceList(BoxKind kind, const QJsonArray &stored, const QVector<QJsonValue> &entries,
                 int *next, QJsonArray *out, StationRebuild *result)
{
    bool changed = false;
    for (const QJsonValue &element : stored) {
        const QJsonValue rebuilt = *next < entries.size() ? entries.at(*next) : element;
        ++*next;
        if (rebuilt != element) {
            result->changedKeys << entryView(kind, element).moduleKey;
            result->changedKinds << kind;
            changed = true;
        }
        out->append(rebuilt);
    }
    return changed;
}
} // namespace

BoxKeys boxKeys(BoxKind kind)
{
    if (kind == BoxKind::Camera)
        return {stationkey::cameraParams(), stationkey::cameraParamName(),
                stationkey::cameraParamValues()};
    return {stationkey::algorithmParams(), stationkey::algorithmParamName(),
            stationkey::algorithmParamValues()};
}

EntryView entryView(BoxKind kind, const QJsonValue &entry)
{
    if (kind == BoxKind::Camera) {
        station::Camera camera = station::cameraOf(entry);
        return {camera.key, camera.windowName, std::move(camera.parameters)};
    }
    station::Algorithm algorithm = station::algorithmOf(entry);
    return {algorithm.name, algorithm.name, std::move(algorithm.parameters)};
}

QVector<ParamRow> parameterRows(BoxKind kind, const QJsonValue &entry)
{
    return parameterRows(entryView(kind, entry).parameters);
}

QVector<ParamRow> parameterRows(const QList<station::Parameter> &params)
{
    QVector<ParamRow> rows;
    for (int i = 0; i < params.size(); ++i) {
        ParamRow row;
        row.name = row.shownName = params.at(i).name;
        row.value = row.shownValue = listvalue::join(params.at(i).values);
        row.fromDocument = true;
        row.storedIndex = i;
        row.stored = params.at(i).stored;
        rows << row;
    }
    return rows;
}

QJsonValue rebuildEntry(BoxKind kind, const QJsonValue &storedEntry, const QVector<ParamRow> &rows)
{
    const BoxKeys keys = boxKeys(kind);
    const QJsonArray storedParams = storedEntry.toObject().value(keys.listKey).toArray();
    bool asStored = rows.size() == storedParams.size();
    for (int i = 0; asStored && i < rows.size(); ++i)
        asStored = rows.at(i).untouched() && rows.at(i).storedIndex == i;
    if (asStored)
        return storedEntry;

    QJsonArray params;
    for (const ParamRow &row : rows) {
        if (row.untouched()) {
            params.append(row.stored);
            continue;
        }
        const bool fresh = !row.fromDocument || !row.stored.isObject();
        QJsonObject element = fresh ? QJsonObject() : row.stored.toObject();
        if (fresh || row.name != row.shownName)
            element.insert(keys.nameKey, row.name);
        if (fresh || row.value != row.shownValue)
            element.insert(keys.valuesKey, listvalue::split(row.value));
        params.append(element);
    }
    QJsonObject entry = storedEntry.toObject();
    entry.insert(keys.listKey, params);
    return entry;
}

BoxPlace boxPlace(int k)
{
    return {(k - 1) / kBoxesPerPage, (k - 1) / 2 + 2, (k - 1) % 2};
}

QString pageTitle(int pageIndex)
{
    return QStringLiteral("第") + QString::number(pageIndex + 1) + QStringLiteral("页");
}

StationRebuild rebuildStations(const QJsonObject &reference, const QJsonArray &working,
                               const QVector<QJsonValue> &cameraEntries,
                               const QVector<QJsonValue> &algorithmEntries)
{
    StationRebuild result;
    int nextCamera = 0;
    int nextAlgorithm = 0;
    for (const QJsonValue &stationValue : working) {
        if (!stationValue.isObject()) {
            result.stations.append(stationValue);
            continue;
        }
        QJsonObject station = stationValue.toObject();
        QJsonArray cameras;
        QJsonArray algorithms;
        if (replaceList(BoxKind::Camera, station.value(stationkey::cameraModules()).toArray(),
                        cameraEntries, &nextCamera, &cameras, &result))
            station.insert(stationkey::cameraModules(), cameras);
        if (replaceList(BoxKind::Algorithm, station.value(stationkey::algorithms()).toArray(),
                        algorithmEntries, &nextAlgorithm, &algorithms, &result))
            station.insert(stationkey::algorithms(), algorithms);
        result.stations.append(station);
    }
    result.document = reference;
    if (result.stations != working)
        result.document.insert(stationkey::stations(), result.stations);
    return result;
}

QVector<SaveImgRow> saveImgRows(const QJsonObject &document)
{
    const station::Document doc(document);
    const QList<station::SaveImageEntry> stored = doc.saveImageEntries();
    QVector<bool> used(stored.size(), false);
    QVector<SaveImgRow> rows;
    for (const station::Camera &camera : doc.cameras()) {
        SaveImgRow row;
        row.cameraKey = camera.key;
        row.windowName = camera.windowName;
        for (int i = 0; i < stored.size(); ++i) {
            const station::SaveImageEntry &entry = stored.at(i);
            if (used.at(i) || !entry.stored.isObject() || entry.cameraKey != row.cameraKey
                || entry.windowName != row.windowName)
                continue;
            used[i] = true;
            row.fromDocument = true;
            row.stored = entry.stored;
            for (int j = 0; j < 4; ++j)
                row.ticks[j] = row.shownTicks[j] = entry.switches.at(j) == kSave;
            break;
        }
        rows << row;
    }
    return rows;
}

QJsonArray saveImgArray(const QVector<SaveImgRow> &rows)
{
    const QStringList switches = stationkey::saveSwitches();
    QJsonArray out;
    for (const SaveImgRow &row : rows) {
        bool untouched = row.fromDocument;
        for (int j = 0; j < 4; ++j)
            untouched = untouched && row.ticks[j] == row.shownTicks[j];
        if (untouched) {
            out.append(row.stored);
            continue;
        }
        QJsonObject entry = row.stored.toObject();
        entry.insert(stationkey::cameraKey(), row.cameraKey);
        entry.insert(stationkey::windowName(), row.windowName);
        for (int j = 0; j < 4; ++j)
            entry.insert(switches.at(j), row.ticks[j] ? kSave : kNoSave);
        out.append(entry);
    }
    return out;
}

QVector<DefectRow> defectRows(const QJsonObject &document)
{
    QVector<DefectRow> rows;
    for (const station::DefectClass &entry : station::Document(document).defectClasses()) {
        DefectRow row;
        row.serial = row.shownSerial = entry.classText;
        row.name = row.shownName = entry.name;
        row.inspect = row.shownInspect = entry.inspect == QStringLiteral("是");
        row.fromDocument = true;
        row.stored = entry.stored;
        rows << row;
    }
    return rows;
}

DefectRow newDefectRow(int rowCount)
{
    DefectRow row;
    row.serial = QString::number(rowCount + 1);
    row.name = QStringLiteral("请输入");
    row.inspect = true;
    return row;
}

DefectCheck checkDefects(const QVector<DefectRow> &rows, int *firstBad)
{
    for (int i = 0; i < rows.size(); ++i) {
        const QString &name = rows.at(i).name;
        DefectCheck verdict = DefectCheck::Ok;
        if (name.isEmpty() || name.contains(QStringLiteral("请输入")))
            verdict = DefectCheck::NameMissing;
        for (int j = 0; verdict == DefectCheck::Ok && j < i; ++j)
            if (rows.at(j).name == name)
                verdict = DefectCheck::Duplicate;
        if (verdict != DefectCheck::Ok) {
            if (firstBad)
                *firstBad = i;
            return verdict;
        }
    }
    return DefectCheck::Ok;
}

QJsonArray defectArray(const QVector<DefectRow> &rows)
{
    QJsonArray out;
    for (const DefectRow &row : rows) {
        if (row.fromDocument && row.serial == row.shownSerial && row.name == row.shownName
            && row.inspect == row.shownInspect) {
            out.append(row.stored);
            continue;
        }
        // Only the cells whose shown text changed are written; the others keep their stored value.
        const bool fresh = !row.fromDocument || !row.stored.isObject();
        QJsonObject entry = row.stored.toObject();
        if (fresh || row.serial != row.shownSerial)
            entry.insert(stationkey::defectClass(), row.serial);
        if (fresh || row.name != row.shownName)
            entry.insert(stationkey::defectName(), row.name);
        if (fresh || row.inspect != row.shownInspect)
            entry.insert(stationkey::inspect(), row.inspect ? QStringLiteral("是") : QStringLiteral("否"));
        out.append(entry);
    }
    return out;
}

} // namespace editors
