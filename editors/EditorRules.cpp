#include "EditorRules.h"

#include "EditorDocument.h"
#include "ListValue.h"

namespace editors {

namespace {
const QString kStations = QStringLiteral("工站列表");
const QString kCameras = QStringLiteral("相机模块列表");
const QString kAlgorithms = QStringLiteral("算法列表");
const QString kCameraKey = QStringLiteral("相机key");
const QString kWindowName = QStringLiteral("界面窗口名称");
const QString kAlgorithmName = QStringLiteral("算法名称");
const QString kSaveImg = QStringLiteral("存图设置");
const QString kDefects = QStringLiteral("缺陷类别名称设置");
const QString kDefectClass = QStringLiteral("缺陷类别");
const QString kDefectName = QStringLiteral("缺陷名称");
const QString kInspect = QStringLiteral("是否检测");
const QString kSave = QStringLiteral("保存");
const QString kNoSave = QStringLiteral("不保存");

// Replaces the entries of one list by position; true when any of them changed.
bool replaceList(BoxKind kind, const QJsonArray &stored, const QVector<QJsonValue> &entries,
                 int *next, QJsonArray *out, StationRebuild *result)
{
    const QString &keyName = boxKeys(kind).moduleKey;
    bool changed = false;
    for (const QJsonValue &element : stored) {
        const QJsonValue rebuilt = *next < entries.size() ? entries.at(*next) : element;
        ++*next;
        if (rebuilt != element) {
            result->changedKeys << textOf(element.toObject().value(keyName));
            result->changedKinds << kind;
            changed = true;
        }
        out->append(rebuilt);
    }
    return changed;
}
} // namespace

const BoxKeys &boxKeys(BoxKind kind)
{
    static const BoxKeys camera{QStringLiteral("相机参数"), QStringLiteral("参数名"),
                                QStringLiteral("相机参数值"), kCameraKey, kWindowName};
    static const BoxKeys algorithm{QStringLiteral("算法初始化参数"), QStringLiteral("算法参数名"),
                                   QStringLiteral("算法参数值"), kAlgorithmName, kAlgorithmName};
    return kind == BoxKind::Camera ? camera : algorithm;
}

QVector<ParamRow> parameterRows(BoxKind kind, const QJsonValue &entry)
{
    const BoxKeys &keys = boxKeys(kind);
    QVector<ParamRow> rows;
    const QJsonArray params = entry.toObject().value(keys.listKey).toArray();
    for (int i = 0; i < params.size(); ++i) {
        const QJsonObject element = params.at(i).toObject();
        ParamRow row;
        row.name = row.shownName = textOf(element.value(keys.nameKey));
        row.value = row.shownValue = listvalue::join(element.value(keys.valuesKey));
        row.fromDocument = true;
        row.storedIndex = i;
        row.stored = params.at(i);
        rows << row;
    }
    return rows;
}

QJsonValue rebuildEntry(BoxKind kind, const QJsonValue &storedEntry, const QVector<ParamRow> &rows)
{
    const BoxKeys &keys = boxKeys(kind);
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
        if (replaceList(BoxKind::Camera, station.value(kCameras).toArray(), cameraEntries,
                        &nextCamera, &cameras, &result))
            station.insert(kCameras, cameras);
        if (replaceList(BoxKind::Algorithm, station.value(kAlgorithms).toArray(), algorithmEntries,
                        &nextAlgorithm, &algorithms, &result))
            station.insert(kAlgorithms, algorithms);
        result.stations.append(station);
    }
    result.document = reference;
    if (result.stations != working)
        result.document.insert(kStations, result.stations);
    return result;
}

const QStringList &switchKeys()
{
    static const QStringList keys{QStringLiteral("原图"), QStringLiteral("Seg图"),
                                  QStringLiteral("Class图"), QStringLiteral("结果图")};
    return keys;
}

QVector<SaveImgRow> saveImgRows(const QJsonObject &document)
{
    const QJsonArray stored = document.value(kSaveImg).toArray();
    QVector<bool> used(stored.size(), false);
    QVector<SaveImgRow> rows;
    for (const QJsonValue &station : document.value(kStations).toArray()) {
        for (const QJsonValue &module : station.toObject().value(kCameras).toArray()) {
            SaveImgRow row;
            row.cameraKey = textOf(module.toObject().value(kCameraKey));
            row.windowName = textOf(module.toObject().value(kWindowName));
            for (int i = 0; i < stored.size(); ++i) {
                const QJsonObject entry = stored.at(i).toObject();
                if (used.at(i) || !stored.at(i).isObject()
                    || textOf(entry.value(kCameraKey)) != row.cameraKey
                    || textOf(entry.value(kWindowName)) != row.windowName)
                    continue;
                used[i] = true;
                row.fromDocument = true;
                row.stored = stored.at(i);
                for (int j = 0; j < 4; ++j)
                    row.ticks[j] = row.shownTicks[j] = textOf(entry.value(switchKeys().at(j))) == kSave;
                break;
            }
            rows << row;
        }
    }
    return rows;
}

QJsonArray saveImgArray(const QVector<SaveImgRow> &rows)
{
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
        entry.insert(kCameraKey, row.cameraKey);
        entry.insert(kWindowName, row.windowName);
        for (int j = 0; j < 4; ++j)
            entry.insert(switchKeys().at(j), row.ticks[j] ? kSave : kNoSave);
        out.append(entry);
    }
    return out;
}

QVector<DefectRow> defectRows(const QJsonObject &document)
{
    QVector<DefectRow> rows;
    for (const QJsonValue &value : document.value(kDefects).toArray()) {
        const QJsonObject entry = value.toObject();
        DefectRow row;
        row.serial = row.shownSerial = textOf(entry.value(kDefectClass));
        row.name = row.shownName = textOf(entry.value(kDefectName));
        row.inspect = row.shownInspect = textOf(entry.value(kInspect)) == QStringLiteral("是");
        row.fromDocument = true;
        row.stored = value;
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
            entry.insert(kDefectClass, row.serial);
        if (fresh || row.name != row.shownName)
            entry.insert(kDefectName, row.name);
        if (fresh || row.inspect != row.shownInspect)
            entry.insert(kInspect, row.inspect ? QStringLiteral("是") : QStringLiteral("否"));
        out.append(entry);
    }
    return out;
}

} // namespace editors
