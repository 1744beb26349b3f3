#include "CameraConfig.h"

#include "CameraRules.h"
#include "DocumentFile.h"
#include "ListValue.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString kStations = QStringLiteral("工站列表");
const QString kModules = QStringLiteral("相机模块列表");
const QString kKey = QStringLiteral("相机key");
const QString kParams = QStringLiteral("相机参数");
const QString kName = QStringLiteral("参数名");
const QString kValues = QStringLiteral("相机参数值");

// Index of the element of array whose `field` is `text`, trying `hint` first; -1 if none.
int findByText(const QJsonArray &array, const QString &field, const QString &text, int hint)
{
    if (hint >= 0 && hint < array.size() && array.at(hint).toObject().value(field).toString() == text)
        return hint;
    for (int i = 0; i < array.size(); ++i)
        if (array.at(i).toObject().value(field).toString() == text)
            return i;
    return -1;
}

struct Change
{
    int camera;
    QString name;
    QString value;
};

} // namespace

QString CameraConfig::documentPath(const QString &programFolder, const QString &fileName)
{
    return programFolder + QStringLiteral("/config/") + fileName;
}

QJsonObject CameraConfig::readDocument(const QString &path)
{
    const docfile::ReadResult file = docfile::read(path);
    if (file.bytes.isEmpty()) {
        qDebug().noquote() << "QtCameraDebug::load_cameraList" << " line:" << __LINE__
                           << path + QStringLiteral(" Content is empty");
        return QJsonObject();
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.bytes, &error);
    if (doc.isNull() || error.error != QJsonParseError::NoError) {
        qCritical().noquote() << "QtCameraDebug::load_cameraList" << " line:" << __LINE__
                              << path + QStringLiteral(" is error!");
        return QJsonObject();
    }
    return doc.isObject() ? doc.object() : QJsonObject();
}

bool CameraConfig::isCameraDocument(const QJsonObject &document)
{
    return document.value(kStations).isArray();
}

bool CameraConfig::isCameraDocumentFile(const QString &path)
{
    const docfile::ReadResult file = docfile::read(path);
    return file.ok() && isCameraDocument(QJsonDocument::fromJson(file.bytes).object());
}

CameraParams CameraConfig::paramsOf(const QJsonObject &moduleEntry, int typeCode)
{
    CameraParams params;
    params.insert(QStringLiteral("type"), QString::number(typeCode));
    params.insert(kKey, moduleEntry.value(kKey).toString());
    params.insert(QStringLiteral("取图超时"), moduleEntry.value(QStringLiteral("取图超时")).toString());
    for (const QJsonValue &p : moduleEntry.value(kParams).toArray()) {
        const QJsonObject param = p.toObject();
        params.insert(param.value(kName).toString(), listvalue::join(param.value(kValues)));
    }
    return params;
}

QJsonObject CameraConfig::load(const QString &programFolder, const QString &fileName)
{
    m_path = documentPath(programFolder, fileName);
    m_document = readDocument(m_path);
    m_cameras.clear();
    const QJsonArray stations = m_document.value(kStations).toArray();
    for (int s = 0; s < stations.size(); ++s) {
        const QJsonArray modules = stations.at(s).toObject().value(kModules).toArray();
        for (int m = 0; m < modules.size(); ++m) {
            const QJsonObject entry = modules.at(m).toObject();
            CameraEntry camera;
            camera.station = s;
            camera.module = m;
            camera.key = entry.value(kKey).toString();
            camera.moduleName = entry.value(QStringLiteral("模块名称")).toString();
            camera.trigger = entry.value(QStringLiteral("触发方式")).toString();
            camera.typeCode = camerarules::cameraTypeCode(camera.moduleName, camera.trigger);
            camera.params = paramsOf(entry, camera.typeCode);
            for (const QJsonValue &p : entry.value(kParams).toArray())
                camera.paramNames << p.toObject().value(kName).toString();
            m_cameras.append(camera);
        }
    }
    return m_document;
}

CameraConfig::SaveResult CameraConfig::save(const QList<CameraParams> &maps, QString *error)
{
    QList<Change> changes;
    for (int i = 0; i < m_cameras.size() && i < maps.size(); ++i) {
        const CameraEntry &camera = m_cameras.at(i);
        for (const QString &name : camera.paramNames) {
            const auto value = maps.at(i).constFind(name);
            if (value != maps.at(i).constEnd() && *value != camera.params.value(name))
                changes.append({i, name, *value});
        }
    }
    if (changes.isEmpty())
        return SaveResult::Unchanged;

    // Another window may have written the document since it was loaded.
    const docfile::ReadResult file = docfile::read(m_path);
    QJsonParseError parseError;
    const QJsonDocument current = QJsonDocument::fromJson(file.bytes, &parseError);
    if (!file.ok() || parseError.error != QJsonParseError::NoError || !current.isObject()) {
        *error = file.ok() ? m_path + QStringLiteral(": not a configuration document")
                           : (file.error.isEmpty() ? m_path + QStringLiteral(": missing") : file.error);
        return SaveResult::Failed;
    }
    QJsonObject root = current.object();
    QJsonArray stations = root.value(kStations).toArray();
    QList<Change> applied;
    QStringList conflicts;
    for (const Change &change : changes) {
        const CameraEntry &camera = m_cameras.at(change.camera);
        if (camera.station >= stations.size())
            continue;
        QJsonObject station = stations.at(camera.station).toObject();
        QJsonArray modules = station.value(kModules).toArray();
        const int m = findByText(modules, kKey, camera.key, camera.module);
        if (m < 0)
            continue; // the camera is gone from the document
        QJsonObject entry = modules.at(m).toObject();
        QJsonArray params = entry.value(kParams).toArray();
        const int p = findByText(params, kName, change.name, camera.paramNames.indexOf(change.name));
        if (p < 0)
            continue;
        QJsonObject param = params.at(p).toObject();
        const QString onDisk = listvalue::join(param.value(kValues));
        if (onDisk != camera.params.value(change.name) && onDisk != change.value) {
            conflicts << camera.key + QLatin1Char(' ') + change.name;
            continue;
        }
        param.insert(kValues, listvalue::split(change.value));
        params.replace(p, param);
        entry.insert(kParams, params);
        modules.replace(m, entry);
        station.insert(kModules, modules);
        stations.replace(camera.station, station);
        applied.append(change);
    }
    if (!conflicts.isEmpty()) {
        *error = conflicts.join(QLatin1Char('\n'));
        return SaveResult::Conflict;
    }
    if (applied.isEmpty())
        return SaveResult::Unchanged;
    root.insert(kStations, stations);
    if (!docfile::write(m_path, QJsonDocument(root).toJson(QJsonDocument::Indented), error))
        return SaveResult::Failed;
    m_document = root;
    for (const Change &change : applied)
        m_cameras[change.camera].params.insert(change.name, change.value);
    return SaveResult::Written;
}
