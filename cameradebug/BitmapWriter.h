// Writes grabbed frames to files on its own thread: a bounded first-in first-out queue of
// deep copies, each encoded in memory and written whole or not at all; the first failed
// write is announced once and stops the writer until resume().
// Destruction writes what is still queued, then joins the thread.
#pragma once

#include <QObject>
#include <QString>

#include <opencv2/core.hpp>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class BitmapWriter : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCapacity = 100;

    enum class Enqueue {
        Queued,
        Full,   // the queue holds kCapacity items: refused
        Stopped // a write failed: refused until resume()
    };

    explicit BitmapWriter(QObject *parent = nullptr);
    ~BitmapWriter() override;

    // Queues a deep copy of image for path (its extension picks the format).
    Enqueue enqueue(const cv::Mat &image, const QString &key, const QString &path);
    int queued() const;
    bool stopped() const;
    // Accept frames again after a failure.
    void resume();
    // Blocks until nothing is queued or being written; false on timeout.
    bool waitIdle(int timeoutMs);
    qint64 writtenCount() const { return m_written.load(); }

signals:
    // From the writer thread, once per failure: the file that could not be written.
    void writeFailed(const QString &path, const QString &reason);

private:
    struct SaveImageItem
    {
        cv::Mat image;
        std::string key;
        std::string filePath; // UTF-8
    };

    void run();
    bool write(const SaveImageItem &item, std::vector<uchar> *encoded, QString *reason);

    // Standard primitives, so the thread checkers see every hand-over.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<SaveImageItem> m_queue;
    bool m_busy = false;
    bool m_failed = false;
    std::atomic<bool> m_running{true};
    std::atomic<qint64> m_written{0};
    std::thread m_thread;
};
