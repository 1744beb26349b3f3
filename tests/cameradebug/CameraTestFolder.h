// A private program folder for camera debug tests: the simulated camera module library,
// config/ with a camera document, and probes into the loaded module copies.
#pragma once

#include "CameraModule.h"
#include "CameraRules.h"
#include "StationFixture.h"

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
    return stationdoc::document(
        QJsonArray{stationdoc::station(cameras, QJsonArray(), QStringLiteral("工站1"))},
        QJsonObject{{QStringLiteral("任务名"), QStringLiteral("测试")},
                    {QStringLiteral("未知键"), QJsonArray{QStringLiteral("a"), QStringLiteral("b")}}});
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
        stationdoc::write(config(name), doc);
    }
    QJsonObject readDocument(const QString &name) const { return stationdoc::read(config(name)); }
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

inline QString paramsPath(int camera)
{
    return QStringLiteral("工站列表/0/相机模块列表/%1/相机参数").arg(camera);
}

// The document with a camera's parameter (of station 0) set to values, as another writer would.
inline QJsonObject withValue(const QJsonObject &doc, int camera, const QString &name, const QStringList &values)
{
    const QJsonArray params = stationdoc::valueAt(doc, paramsPath(camera)).toArray();
    for (int i = 0; i < params.size(); ++i)
        if (params.at(i).toObject().value(QStringLiteral("参数名")).toString() == name)
            return stationdoc::withValue(doc, paramsPath(camera) + QStringLiteral("/%1").arg(i),
                                         param(name, values));
    return doc;
}

// Value of a camera's parameter in a document: its "相机参数值" strings.
inline QStringList storedValues(const QJsonObject &doc, int camera, const QString &name)
{
    for (const QJsonValue &p : stationdoc::valueAt(doc, paramsPath(camera)).toArray())
        if (p.toObject().value(QStringLiteral("参数名")).toString() == name) {
            QStringList values;
            for (const QJsonValue &v : p.toObject().value(QStringLiteral("相机参数值")).toArray())
                values << v.toString();
            return values;
        }
    return {QStringLiteral("<missing>")};
}

} // namespace camtest
