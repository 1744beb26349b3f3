// The console's only door to the logic module: loads the module library, forwards the
// task operations, relays the module's messages and converts its result images.
#pragma once

#include "ImageEntry.h"
#include "base_Logic.h"

#include <QFuture>
#include <QJsonObject>
#include <QList>
#include <QMetaObject>
#include <QString>
#include <QVector>

#include <atomic>
#include <mutex>

class Logic_transfer : public base_Logic
{
    Q_OBJECT

public:
    Logic_transfer();
    ~Logic_transfer() override;

    bool checkCameraCfg(QJsonObject document, QString &error) override;
    bool setCameraCfg(QJsonObject document) override;
    bool initTask() override;
    bool startTask() override;
    bool stopTask() override;
    bool unloadTask() override;
    bool spareTask() override;
    bool sendPLCCommand(QString command) override;
    bool reLoadJsonSetParameter(QStringList moduleKeyList) override;

    // Moves every queued image to the caller. False when empty.
    bool takeImages(QList<ImageEntry> *images);

    // Reads <program folder>/config/<fileName>; an empty object on any failure.
    QJsonObject load_camera_cfg(QString fileName);

    // Worker body and converter (public for tests and benchmarks).
    void resultLoop();
    void decodeImage(QString name, cv::Mat mtx);

    // Most entries kept while nobody collects the queue; older ones are dropped.
    static constexpr int kMaxQueuedImages = 32;

signals:
    void LogicTransfer_writeData(QString key, QString cameraName, QString snInfo, QByteArray byte);
    void LogicTransfer_sendTcpStatus(bool);
    void LogicTransfer_cameraDisconnect(QString msg, bool status);

public slots:
    void base_Logic_sendTcpStatus(bool flag);
    void base_Logic_writeData(QString key, QString cameraName, QString snInfo, QByteArray byte);
    void base_Logic_cameraDisconnect(QString msg, bool status);

private:
    // Appends under the mutex; a full queue drops its oldest entry.
    void enqueue(QImage image, const QString &name);

    QString m_appPath;
    QString m_cfgPath;
    base_Logic *logicObj = nullptr;
    base_Logic_DestroyFunc destroyFunc = nullptr;
    std::mutex imageMutex; // guards imageQueue
    QList<ImageEntry> imageQueue;
    std::atomic<bool> m_running{false}; // this bridge's worker runs while set
    QFuture<void> m_worker;
    // Set by the worker as its last step and read by the destructor: waiting on a task
    // that has already finished takes no lock the thread checker can see.
    std::atomic<bool> m_workerLeft{false};
    QVector<QMetaObject::Connection> m_connections; // the relays this bridge made
    bool m_relaying = true; // false once unloaded (GUI thread only)
};
