// A camera configuration document as the camera debug tool sees it: the cameras of every
// station with their parameter maps, and the write-back of edited parameter values.
#pragma once

#include "StationDocument.h"

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

using CameraParams = QMap<QString, QString>;

// One camera-module entry as loaded.
struct CameraEntry
{
    int station = 0;         // index in the station list
    int module = 0;          // index in the station's camera-module list
    QString key;             // "相机key"
    QString moduleName;      // "模块名称"
    QString trigger;         // "触发方式"
    int typeCode = -1;
    CameraParams params;     // "type", "相机key", "取图超时" and name -> values joined by ","
    QStringList paramNames;  // the "参数名" of "相机参数", in order
};

class CameraConfig
{
public:
    enum class SaveResult {
        Written,   // changed values written
        Unchanged, // nothing to write
        Conflict,  // not written: a value to change was changed on disk since it was loaded;
                   // the error lists them as "相机key 参数名"
        Failed     // not written; see the error
    };

    // <programFolder>/config/<fileName>
    static QString documentPath(const QString &programFolder, const QString &fileName);
    // Reads a document; an empty object (with a log line) when it is empty, not JSON or not
    // an object (a file that cannot be read is logged as empty).
    static QJsonObject readDocument(const QString &path);
    // True for a document that lists stations (a camera configuration document).
    static bool isCameraDocument(const QJsonObject &document);
    // The same for a file, read quietly.
    static bool isCameraDocumentFile(const QString &path);
    // The parameter map of a camera-module entry.
    static CameraParams paramsOf(const station::Camera &camera, int typeCode);

    // Loads <programFolder>/config/<fileName>; the path is kept even when loading fails.
    QJsonObject load(const QString &programFolder, const QString &fileName);
    QString path() const { return m_path; }
    QJsonObject document() const { return m_document; }
    const QList<CameraEntry> &cameras() const { return m_cameras; }

    // Writes back the parameter values that differ from those loaded. maps[i] belongs to
    // camera i. The file is read again first and only the changed "相机参数值" elements of
    // the same camera (matched by position and key) and parameter (matched by name) are
    // replaced; a parameter the map has no value for stays as it is. When another writer
    // changed one of those values since it was loaded, nothing is written. Atomic and checked.
    SaveResult save(const QList<CameraParams> &maps, QString *error);

private:
    QString m_path;
    QJsonObject m_document;
    QList<CameraEntry> m_cameras; // values as last loaded or written
};
