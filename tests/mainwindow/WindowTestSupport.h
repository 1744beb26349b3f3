// Helpers for the main window suites: station documents for the simulated module,
// an answering machine for message boxes, and small lookups.
#pragma once

#include "BoxAnswerer.h"
#include "LogView.h"
#include "StationFixture.h"

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

inline QJsonObject sampleDocument() { return stationdoc::sample(); }

// A one-station document for the simulated module with n cameras (keys Cam01...,
// window names V1...), the given shot counts (default "2") and simulator settings
// on top of quiet defaults: no link losses, no images, long cycles.
inline QJsonObject stationDocument(int cameras, const QJsonObject &settings = QJsonObject(),
                                   const QStringList &shots = QStringList())
{
    const QJsonObject doc = sampleDocument();
    QJsonObject station = stationdoc::valueAt(doc, QStringLiteral("工站列表/0")).toObject();
    const QJsonObject templ = stationdoc::valueAt(station, QStringLiteral("相机模块列表/0")).toObject();
    QJsonArray list;
    for (int i = 0; i < cameras; ++i) {
        QJsonObject cam = templ;
        cam.insert(QStringLiteral("相机key"), QStringLiteral("Cam%1").arg(i + 1, 2, 10, QLatin1Char('0')));
        cam.insert(QStringLiteral("界面窗口名称"), QStringLiteral("V%1").arg(i + 1));
        cam.insert(QStringLiteral("单通道拍照数"), i < shots.size() ? shots.at(i) : QStringLiteral("2"));
        list.append(cam);
    }
    station.insert(QStringLiteral("相机模块列表"), list);

    QJsonObject quiet{{QStringLiteral("图像帧率"), QStringLiteral("0")},
                      {QStringLiteral("周期毫秒"), QStringLiteral("60000")}};
    for (auto it = settings.begin(); it != settings.end(); ++it)
        quiet.insert(it.key(), it.value());
    return stationdoc::withSimulator(stationdoc::document(QJsonArray{station}, doc), quiet);
}

inline void writeDocument(const QJsonObject &doc, const QString &fileName = QStringLiteral("camera_cfg.json"))
{
    QDir().mkpath(programConfigDir());
    stationdoc::write(programConfigDir() + QLatin1Char('/') + fileName, doc);
}
