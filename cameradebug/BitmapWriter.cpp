#include "BitmapWriter.h"

#include <QElapsedTimer>

#include <opencv2/imgcodecs.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

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

namespace {

// The image file whole or not at all: written beside it as "<path>.part" with every byte
// checked, then renamed over it. No sync per image, so the disk's cache keeps up with
// continuous grabbing; a full disk or a size limit fails the write and leaves no file.
bool writeWhole(const std::string &path, const std::vector<uchar> &bytes, QString *reason)
{
    const std::string part = path + ".part";
    auto fail = [&](int err) {
        ::unlink(part.c_str());
        *reason = QString::fromLocal8Bit(std::strerror(err)); // the box names the file
        return false;
    };
    const int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0)
        return fail(errno);
    size_t done = 0;
    while (done < bytes.size()) {
        // 64 KiB pieces: measured about twice as fast as one write() of a whole 5 MB frame.
        const size_t piece = std::min<size_t>(bytes.size() - done, 64 * 1024);
        const ssize_t n = ::write(fd, bytes.data() + done, piece);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : ENOSPC;
            ::close(fd);
            return fail(err);
        }
        done += size_t(n);
    }
    if (::close(fd) != 0 || ::rename(part.c_str(), path.c_str()) != 0)
        return fail(errno);
    return true;
}

} // namespace

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
    return writeWhole(item.filePath, *encoded, reason);
}
