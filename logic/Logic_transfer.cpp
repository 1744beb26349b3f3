#include "Logic_transfer.h"

#include "ImageConvert.h"
#include "Platform.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include "DocumentFile.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QLibrary>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>
#include <utility>

namespace {

const char kLibraryName[] = "Bx_LogicDll_module.dll";

QString exceptionText(const std::exception_ptr &ep)
{
    try {
        std::rethrow_exception(ep);
    } catch (const QString &text) {
        return text;
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("unknown exception");
    }
}

} // namespace

Logic_transfer::Logic_transfer()
{
    m_running = true;

    QLibrary *library = new QLibrary(platform::libraryPath(QLatin1String(kLibraryName)));
    if (!library->load()) {
        qDebug().noquote() << "Logic_transfer::Logic_transfer" << __LINE__ << "  Loaded error:"
                           << library->errorString();
        delete library;
    } else {
        const auto create = reinterpret_cast<base_Logic_CreateFunc>(library->resolve("create"));
        const auto destroy = reinterpret_cast<base_Logic_DestroyFunc>(library->resolve("destory"));
        // Deleting the QLibrary object does not unload the library; it stays for the process.
        delete library;
        if (create && destroy) {
            logicObj = create();
            if (logicObj) {
                destroyFunc = destroy;
                m_connections << connect(logicObj,
                                         SIGNAL(Logic_writeData(QString, QString, QString, QByteArray)),
                                         this,
                                         SLOT(base_Logic_writeData(QString, QString, QString, QByteArray)));
                m_worker = QtConcurrent::run([this] {
                    resultLoop();
                    m_workerLeft.store(true, std::memory_order_release);
                });
                m_connections << connect(logicObj, SIGNAL(Logic_sendTcpStatus(bool)), this,
                                         SLOT(base_Logic_sendTcpStatus(bool)));
                m_connections << connect(logicObj, SIGNAL(Logic_cameraDisconnect(QString, bool)), this,
                                         SLOT(base_Logic_cameraDisconnect(QString, bool)));
            }
        }
    }
    platform::sleepMs(50);
}

Logic_transfer::~Logic_transfer()
{
    m_running = false;
    platform::sleepMs(100);
    // Only our own worker reads logicObj and the queue; make sure it has left before the module goes.
    m_worker.waitForFinished();
    if (m_worker.isStarted())
        (void)m_workerLeft.load(std::memory_order_acquire);
    if (destroyFunc && logicObj)
        destroyFunc(logicObj);
    logicObj = nullptr;
}

bool Logic_transfer::checkCameraCfg(QJsonObject document, QString &error)
{
    return logicObj ? logicObj->checkCameraCfg(document, error) : false;
}

bool Logic_transfer::setCameraCfg(QJsonObject document)
{
    return logicObj ? logicObj->setCameraCfg(document) : false;
}

bool Logic_transfer::initTask()
{
    return logicObj ? logicObj->initTask() : false;
}

bool Logic_transfer::startTask()
{
    return logicObj ? logicObj->startTask() : false;
}

bool Logic_transfer::stopTask()
{
    return logicObj ? logicObj->stopTask() : false;
}

bool Logic_transfer::unloadTask()
{
    if (!logicObj)
        return false;
    // Only the relays this bridge made; other listeners of the module keep theirs.
    for (const QMetaObject::Connection &c : qAsConst(m_connections))
        disconnect(c);
    m_connections.clear();
    m_relaying = false; // also drops messages still queued from before the unload
    return logicObj->unloadTask();
}

bool Logic_transfer::spareTask()
{
    return logicObj ? logicObj->spareTask() : false;
}

bool Logic_transfer::sendPLCCommand(QString command)
{
    return logicObj ? logicObj->sendPLCCommand(command) : false;
}

bool Logic_transfer::reLoadJsonSetParameter(QStringList moduleKeyList)
{
    return logicObj ? logicObj->reLoadJsonSetParameter(moduleKeyList) : false;
}

// The relays touch no member after emitting: a receiver may delete this bridge.
void Logic_transfer::base_Logic_sendTcpStatus(bool flag)
{
    if (!m_relaying)
        return;
    const QString tcp = QStringLiteral("TCP");
    emit LogicTransfer_writeData(flag ? QStringLiteral("sendTcpStatus_true") : QStringLiteral("sendTcpStatus_false"),
                                 tcp, tcp, QByteArray("TCP"));
}

void Logic_transfer::base_Logic_writeData(QString key, QString cameraName, QString snInfo, QByteArray byte)
{
    if (!m_relaying)
        return;
    emit LogicTransfer_writeData(key, cameraName, snInfo, byte);
}

void Logic_transfer::base_Logic_cameraDisconnect(QString msg, bool status)
{
    if (!m_relaying)
        return;
    const QString tcp = QStringLiteral("TCP");
    emit LogicTransfer_writeData(status ? QStringLiteral("cameraDisconnect_true")
                                        : QStringLiteral("cameraDisconnect_false"),
                                 msg, tcp, QByteArray("TCP"));
}

void Logic_transfer::resultLoop()
{
    if (!logicObj)
        return;
    while (m_running) {
        try {
            QList<ResultEntry> results;
            if (logicObj->fetchResults(&results)) {
                for (const ResultEntry &r : qAsConst(results))
                    decodeImage(r.name, r.image);
                results.clear();
            }
        } catch (...) {
            qCritical().noquote() << "Logic_transfer::resultLoop" << " line:" << __LINE__ << " ev:"
                                  << exceptionText(std::current_exception());
        }
        platform::sleepMs(10);
    }
}

void Logic_transfer::decodeImage(QString name, cv::Mat mtx)
{
    try {
        if (mtx.empty())
            return;
        if (!imageconvert::isWellFormed(mtx)) {
            qCritical().noquote() << "Logic_transfer::decodeImage" << " line:" << __LINE__
                                  << " mtx.dataend - mtx.datastart  err！！:";
            return;
        }
        enqueue(imageconvert::toQImage(mtx), name);
    } catch (...) {
        qCritical().noquote() << "Logic_transfer::decodeImage" << " line:" << __LINE__ << " ev:"
                              << exceptionText(std::current_exception());
    }
}

void Logic_transfer::enqueue(QImage image, const QString &name)
{
    ImageEntry dropped; // its pixels are freed outside the lock
    {
        std::lock_guard<std::mutex> lock(imageMutex);
        if (imageQueue.size() >= kMaxQueuedImages)
            dropped = imageQueue.takeFirst();
        imageQueue.append(ImageEntry{std::move(image), name});
    }
}

bool Logic_transfer::takeImages(QList<ImageEntry> *images)
{
    std::lock_guard<std::mutex> lock(imageMutex);
    if (imageQueue.isEmpty())
        return false;
    images->append(imageQueue);
    imageQueue.clear();
    return true;
}

QJsonObject Logic_transfer::load_camera_cfg(QString fileName)
{
    QJsonObject result;
    try {
        m_appPath = QDir(QCoreApplication::applicationDirPath()).path();
        m_cfgPath = m_appPath + QLatin1String("/config/") + fileName;

        // A pipe, device or folder is refused unopened, as an unreadable file.
        const docfile::ReadResult file = docfile::read(m_cfgPath);
        const QByteArray content = file.bytes;
        if (!file.ok())
            qCritical().noquote() << "Logic_transfer::load_camera_cfg" << " line:" << __LINE__
                                  << " camera_cfg.json not isReadable!";

        if (content.isEmpty()) {
            qDebug().noquote() << "Logic_transfer::load_camera_cfg" << " line:" << __LINE__
                               << m_cfgPath + QLatin1String(" Content is empty");
            return result;
        }

        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(content, &error);
        if (doc.isNull() || error.error != QJsonParseError::NoError) {
            qCritical().noquote() << "Logic_transfer::load_camera_cfg" << " line:" << __LINE__
                                  << m_cfgPath + QLatin1String(" is error!");
            return result;
        }
        if (doc.isObject())
            result = doc.object();
    } catch (const QString &ev) {
        qCritical().noquote() << "Logic_transfer::load_camera_cfg" << " line:" << __LINE__ << " ev:" << ev;
        return QJsonObject();
    }
    return result;
}
