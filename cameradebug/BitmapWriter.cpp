#include "BitmapWriter.h"

#include "DocumentFile.h"

#include <QElapsedTimer>

#include <opencv2/imgcodecs.hpp>

#include <chrono>
#include <iostream>
#include <vector>

BitmapWriter::BitmapWriter(QObject *parent) : QObject(parent)
{
    m_thread = std::thread([this] { run(); });
}

BitmapWriter::~BitmapWriter()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running = false;
        m_wake.notify_all();
    }
    m_thread.join();
}

BitmapWriter::Enqueue BitmapWriter::enqueue(const cv::Mat &image, const QString &key,
                                            const QString &path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_failed)
        return Enqueue::Stopped;
    if (int(m_queue.size()) >= kCapacity)
        return Enqueue::Full;
    m_queue.push_back({image.clone(), key.toStdString(), path.toStdString()});
    m_wake.notify_one();
    return Enqueue::Queued;
}

int BitmapWriter::queued() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_queue.size());
}

bool BitmapWriter::stopped() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_failed;
}

void BitmapWriter::resume()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_failed = false;
}

bool BitmapWriter::waitIdle(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return m_queue.empty() && !m_busy; });
}

void BitmapWriter::run()
{
    std::vector<uchar> encoded; // reused: no fresh 5 MB buffer per frame
    for (;;) {
        SaveImageItem item;
        {
            QElapsedTimer waited;
            waited.start();
            std::unique_lock<std::mutex> lock(m_mutex);
            if (waited.elapsed() > 1000)
                std::cout << "lock stop-start >1000::************************" << waited.elapsed()
                          << std::endl;
            m_wake.wait(lock, [this] { return !m_queue.empty() || !m_running; });
            if (m_queue.empty())
                return; // stopped and drained
            item = std::move(m_queue.front());
            m_queue.pop_front();
            m_busy = true;
        }
        QString reason;
        QElapsedTimer timer;
        timer.start();
        const bool ok = write(item, &encoded, &reason);
        if (timer.elapsed() > 1000)
            std::cout << "imwrite  stop-start >1000::--------------------------" << timer.elapsed()
                      << std::endl;
        const QString path = QString::fromStdString(item.filePath);
        item = SaveImageItem();
        bool announce = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (ok) {
                ++m_written;
            } else if (!m_failed) {
                m_failed = true;
                announce = true;
            }
            if (m_failed)
                m_queue.clear(); // nothing more is written until resume()
        }
        // Announced (outside the lock) before the writer counts as idle, so waitIdle()
        // returns only once a failure has been reported.
        if (announce)
            emit writeFailed(path, reason);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_busy = false;
            if (m_queue.empty())
                m_idle.notify_all();
        }
    }
}

bool BitmapWriter::write(const SaveImageItem &item, std::vector<uchar> *encoded, QString *reason)
{
    if (item.image.empty()) {
        *reason = QStringLiteral("empty image");
        return false;
    }
    // Encoded in memory first: OpenCV's file writer does not report a short write.
    const std::string::size_type dot = item.filePath.rfind('.');
    const std::string extension =
        dot == std::string::npos ? std::string(".bmp") : item.filePath.substr(dot);
    try {
        if (!cv::imencode(extension, item.image, *encoded) || encoded->empty()) {
            *reason = QStringLiteral("cannot encode the image");
            return false;
        }
    } catch (const cv::Exception &e) {
        *reason = QString::fromStdString(e.msg);
        return false;
    }
    const QString path = QString::fromStdString(item.filePath);
    if (docfile::writeData(path, reinterpret_cast<const char *>(encoded->data()),
                           qint64(encoded->size()), reason))
        return true;
    // The box names the file itself: keep the system's reason alone.
    reason->remove(0, path.size() + 2);
    return false;
}
