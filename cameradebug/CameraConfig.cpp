#include "CameraConfig.h"

#include "CameraRules.h"
#include "DocumentFile.h"
#include "ListValue.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

// The reader's name in its log lines.
const QString kReader = QStringLiteral("QtCameraDebug::load_cameraList");

station::Document read(const QString &path)
{
    return station::Document::read(path, kReader, station::UnreadableLine::Quiet);
}

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
    return read(path).object();
}

bool CameraConfig::isCameraDocument(const QJsonObject &document)
{
    return station::Document(document).listsStations();
}

bool CameraConfig::isCameraDocumentFile(const QString &path)
{
    return station::Document::probe(path).listsStations();
}

CameraParams CameraConfig::paramsOf(const station::Camera &camera, int typeCode)
{
    CameraParams params;
    params.insert(QStringLiteral("type"), QString::number(typeCode));
    params.insert(stationkey::cameraKey(), camera.key);
    params.insert(stationkey::grabTimeout(), camera.grabTimeout);
    for (const station::Parameter &p : camera.parameters)
        params.insert(p.name, listvalue::join(p.values));
    return params;
}

QJsonObject CameraConfig::load(const QString &programFolder, const QString &fileName)
{
    m_path = documentPath(programFolder, fileName);
    const station::Document doc = read(m_path);
    m_document = doc.object();
    m_cameras.clear();
    for (const station::Camera &entry : doc.cameras()) {
        CameraEntry camera;
        camera.station = entry.station;
        camera.module = entry.index;
        camera.key = entry.key;
        camera.moduleName = entry.moduleName;
        camera.trigger = entry.trigger;
        camera.typeCode = camerarules::cameraTypeCode(camera.moduleName, camera.trigger);
        camera.params = paramsOf(entry, camera.typeCode);
        for (const station::Parameter &p : entry.parameters)
            camera.paramNames << p.name;
        m_cameras.append(camera);
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
    QJsonArray stations = root.value(stationkey::stations()).toArray();
    QList<Change> applied;
    QStringList conflicts;
    for (const Change &change : changes) {
        const CameraEntry &camera = m_cameras.at(change.camera);
        if (camera.station >= stations.size())
            continue;
        QJsonObject station = stations.at(camera.station).toObject();
        QJsonArray modules = station.value(stationkey::cameraModules()).toArray();
        const int m = findByText(modules, stationkey::cameraKey(), camera.key, camera.module);
        if (m < 0)
            continue; // the camera is gone from the document
        QJsonObject entry = modules.at(m).toObject();
        QJsonArray params = entry.value(stationkey::cameraParams()).toArray();
        const int p = findByText(params, stationkey::cameraParamName(), change.name,
                                 camera.paramNames.indexOf(change.name));
        if (p < 0)
            continue;
        QJsonObject param = params.at(p).toObject();
        const QString onDisk = listvalue::join(param.value(stationkey::cameraParamValues()));
        if (onDisk != camera.params.value(change.name) && onDisk != change.value) {
            conflicts << camera.key + QLatin1Char(' ') + change.name;
            continue;
        }
        param.insert(stationkey::cameraParamValues(), listvalue::split(change.value));
        params.replace(p, param);
        entry.insert(stationkey::cameraParams(), params);
        modules.replace(m, entry);
        station.insert(stationkey::cameraModules(), modules);
        stations.replace(camera.station, station);
        applied.append(change);
    }
    if (!conflicts.isEmpty()) {
        *error = conflicts.join(QLatin1Char('\n'));
        return SaveResult::Conflict;
    }
    if (applied.isEmpty())
        return SaveResult::Unchanged;
    root.insert(stationkey::stations(), stations);
    if (!docfile::write(m_path, QJsonDocument(root).toJson(QJsonDocument::Indented), error))
        return SaveResult::Failed;
    m_document = root;
    for (const Change &change : applied)
        m_cameras[change.camera].params.insert(change.name, change.value);
    return SaveResult::Written;
}
