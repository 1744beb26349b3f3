// Interface of the logic module. The console and every module share this header;
// the module library exports "create" (returns a new base_Logic subclass or null)
// and "destory" (destroys that object).
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <opencv2/core.hpp>

#include <string>
#include <vector>

#if defined(BASE_LOGIC_LIBRARY)
#define BASE_LOGIC_EXPORT Q_DECL_EXPORT
#else
#define BASE_LOGIC_EXPORT Q_DECL_IMPORT
#endif

// One result image of the module: the matrix and its name ("<camera key>_...").
struct ResultEntry
{
    cv::Mat image;
    QString name;
};

class BASE_LOGIC_EXPORT base_Logic : public QObject
{
    Q_OBJECT

public:
    base_Logic() : QObject(nullptr) {}
    virtual ~base_Logic() {}

    // Task operations, in this order (module ABI).
    virtual bool checkCameraCfg(QJsonObject document, QString &error)
    {
        Q_UNUSED(document);
        Q_UNUSED(error);
        return true;
    }
    virtual bool setCameraCfg(QJsonObject document)
    {
        Q_UNUSED(document);
        return true;
    }
    virtual bool initTask() { return true; }
    virtual bool startTask() { return true; }
    virtual bool stopTask() { return true; }
    virtual bool unloadTask() { return true; }
    virtual bool spareTask() { return true; }
    virtual bool fetchResults(QList<ResultEntry> *results)
    {
        Q_UNUSED(results);
        return true;
    }
    virtual bool sendPLCCommand(QString command)
    {
        Q_UNUSED(command);
        return true;
    }
    virtual bool reLoadJsonSetParameter(QStringList moduleKeyList)
    {
        Q_UNUSED(moduleKeyList);
        return true;
    }

signals:
    virtual void Logic_sendTcpStatus(bool);
    virtual void Logic_writeData(QString, QString, QString, QByteArray);
    virtual void Logic_cameraDisconnect(QString msg, bool status);
    virtual void Logic_CommunicationDisconnect(QString msg, bool status);

public slots:
    virtual void processtask_sendImage(QString, cv::Mat) {}
    virtual void processtask_sendTcpStatus(bool) {}
    virtual void processtask_writeData(QString, QString, QString, QByteArray) {}
    virtual void processtask_cameraDisconnect(QString msg, bool status)
    {
        Q_UNUSED(msg);
        Q_UNUSED(status);
    }
    virtual void processtask_CommunicationDisconnect(QString msg, bool status)
    {
        Q_UNUSED(msg);
        Q_UNUSED(status);
    }

protected:
    // The module's own state; the console never touches it.
    bool m_taskFlag;
    bool m_taskReady = true;
    std::string m_taskName;
    std::vector<cv::Mat> m_taskImages;
    std::string m_taskInfo;
    QList<ResultEntry> m_taskResults;
};

// Library exports, resolved by name.
typedef base_Logic *(*base_Logic_CreateFunc)();
typedef void (*base_Logic_DestroyFunc)(base_Logic *);
