// Helpers for the main window suites: station documents for the simulated module,
// an answering machine for message boxes, and small lookups.
#pragma once

#include "BoxAnswerer.h"
#include "LogView.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <functional>

inline QString programConfigDir()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/config");
}

inline QJsonObject sampleDocument()
{
    QFile f(QStringLiteral(EP_SAMPLE_CONFIG_DIR "/camera_cfg.json"));
    if (!f.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(f.readAll()).object();
}

// A one-station document for the simulated module with n cameras (keys Cam01...,
// window names V1...), the given shot counts (default "2") and simulator settings
// on top of quiet defaults: no link losses, no images, long cycles.
inline QJsonObject stationDocument(int cameras, const QJsonObject &settings = QJsonObject(),
                                   const QStringList &shots = QStringList())
{
    QJsonObject doc = sampleDocument();
    QJsonArray stations = doc.value(QStringLiteral("工站列表")).toArray();
    QJsonObject station = stations.at(0).toObject();
    const QJsonObject templ = station.value(QStringLiteral("相机模块列表")).toArray().at(0).toObject();
    QJsonArray list;
    for (int i = 0; i < cameras; ++i) {
        QJsonObject cam = templ;
        cam.insert(QStringLiteral("相机key"), QStringLiteral("Cam%1").arg(i + 1, 2, 10, QLatin1Char('0')));
        cam.insert(QStringLiteral("界面窗口名称"), QStringLiteral("V%1").arg(i + 1));
        cam.insert(QStringLiteral("单通道拍照数"), i < shots.size() ? shots.at(i) : QStringLiteral("2"));
        list.append(cam);
    }
    station.insert(QStringLiteral("相机模块列表"), list);
    doc.insert(QStringLiteral("工站列表"), QJsonArray{station});

    QJsonObject sim = doc.value(QStringLiteral("模拟设置")).toObject();
    sim.insert(QStringLiteral("PLC掉线间隔秒"), QStringLiteral("0"));
    sim.insert(QStringLiteral("相机掉线间隔秒"), QStringLiteral("0"));
    sim.insert(QStringLiteral("图像帧率"), QStringLiteral("0"));
    sim.insert(QStringLiteral("周期毫秒"), QStringLiteral("60000"));
    for (auto it = settings.begin(); it != settings.end(); ++it)
        sim.insert(it.key(), it.value());
    doc.insert(QStringLiteral("模拟设置"), sim);
    return doc;
}

inline void writeDocument(const QJsonObject &doc, const QString &fileName = QStringLiteral("camera_cfg.json"))
{
    QDir().mkpath(programConfigDir());
    QFile f(programConfigDir() + QLatin1Char('/') + fileName);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(QJsonDocument(doc).toJson());
}
