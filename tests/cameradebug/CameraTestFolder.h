// A private program folder for camera debug tests: the simulated camera module library,
// config/ with a camera document, and probes into the loaded module copies.
#pragma once

#include "CameraModule.h"
#include "CameraRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibrary>
#include <QTemporaryDir>

namespace camtest {

inline QJsonObject param(const QString &name, const QStringList &values)
{
    return QJsonObject{{QStringLiteral("参数名"), name},
                       {QStringLiteral("相机参数值"), QJsonArray::fromStringList(values)},
                       {QStringLiteral("备注"), QStringLiteral("kept")}};
}

// A camera-module entry with a small frame; extra parameters are appended.
inline QJsonObject camera(const QString &key, const QString &module, const QString &trigger,
                          const QJsonArray &extra = {}, bool withTimeout = true)
{
    QJsonArray params{param(QStringLiteral("ROI"), {"0", "0", "64", "48"}),
                      param(QStringLiteral("曝光时间"), {"5000"}),
                      param(QStringLiteral("增益"), {"1.0"})};
    for (const QJsonValue &p : extra)
        params.append(p);
    QJsonObject entry{{QStringLiteral("相机key"), key},
                      {QStringLiteral("界面窗口名称"), key + QStringLiteral("窗")},
                      {QStringLiteral("模块名称"), module},
                      {QStringLiteral("触发方式"), trigger},
                      {QStringLiteral("相机参数"), params}};
    if (withTimeout)
        entry.insert(QStringLiteral("取图超时"), QStringLiteral("1000"));
    return entry;
}

inline QJsonObject document(const QJsonArray &cameras)
{
    return QJsonObject{
        {QStringLiteral("任务名"), QStringLiteral("测试")},
        {QStringLiteral("未知键"), QJsonArray{QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("工站列表"),
         QJsonArray{QJsonObject{{QStringLiteral("工站名"), QStringLiteral("工站1")},
                                {QStringLiteral("算法列表"), QJsonArray()},
                                {QStringLiteral("相机模块列表"), cameras}}}}};
}

class Folder
{
public:
    Folder()
    {
        QDir().mkpath(path() + QStringLiteral("/config"));
        QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Bx_CameraModule_All.so"),
                    camerarules::moduleLibraryPath(path()));
    }
    QString path() const { return m_dir.path(); }
    QString config(const QString &name) const { return path() + QStringLiteral("/config/") + name; }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(config(name));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }
    void writeDocument(const QString &name, const QJsonObject &doc) const
    {
        write(name, QJsonDocument(doc).toJson());
    }
    QJsonObject readDocument(const QString &name) const
    {
        QFile f(config(name));
        f.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(f.readAll()).object();
    }
    void setLastConfig(const QString &name) const
    {
        writeDocument(QStringLiteral("cameraDebug_lastCfg.json"), QJsonObject{{"上次打开", name}});
    }

    // Probes of the copy of camera N (loading it when not yet loaded).
    int liveCameras(int camera) const
    {
        QLibrary lib(camerarules::moduleCopyPath(path(), camera));
        if (!QFile::exists(lib.fileName()) || !lib.load())
            return 0;
        auto live = reinterpret_cast<int (*)()>(lib.resolve("simLiveCameras"));
        return live ? live() : -1;
    }
    QStringList journal(int camera, const CameraModule *object) const
    {
        QLibrary lib(camerarules::moduleCopyPath(path(), camera));
        QStringList out;
        if (lib.load())
            if (auto f = reinterpret_cast<void (*)(const CameraModule *, QStringList *)>(
                    lib.resolve("simJournal")))
                f(object, &out);
        return out;
    }

private:
    QTemporaryDir m_dir;
};

// The document with a camera's parameter (of station 0) set to values, as another writer would.
inline QJsonObject withValue(QJsonObject doc, int camera, const QString &name, const QStringList &values)
{
    QJsonArray stations = doc.value(QStringLiteral("工站列表")).toArray();
    QJsonObject station = stations.at(0).toObject();
    QJsonArray modules = station.value(QStringLiteral("相机模块列表")).toArray();
    QJsonObject entry = modules.at(camera).toObject();
    QJsonArray params = entry.value(QStringLiteral("相机参数")).toArray();
    for (int i = 0; i < params.size(); ++i)
        if (params.at(i).toObject().value(QStringLiteral("参数名")).toString() == name)
            params.replace(i, param(name, values));
    entry.insert(QStringLiteral("相机参数"), params);
    modules.replace(camera, entry);
    station.insert(QStringLiteral("相机模块列表"), modules);
    stations.replace(0, station);
    doc.insert(QStringLiteral("工站列表"), stations);
    return doc;
}

// Value of a camera's parameter in a document: its "相机参数值" strings.
inline QStringList storedValues(const QJsonObject &doc, int camera, const QString &name)
{
    const QJsonObject entry = doc.value(QStringLiteral("工站列表")).toArray().at(0).toObject()
                                  .value(QStringLiteral("相机模块列表")).toArray().at(camera).toObject();
    for (const QJsonValue &p : entry.value(QStringLiteral("相机参数")).toArray())
        if (p.toObject().value(QStringLiteral("参数名")).toString() == name) {
            QStringList values;
            for (const QJsonValue &v : p.toObject().value(QStringLiteral("相机参数值")).toArray())
                values << v.toString();
            return values;
        }
    return {QStringLiteral("<missing>")};
}

} // namespace camtest
