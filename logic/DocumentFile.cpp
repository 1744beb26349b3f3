#include "DocumentFile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace docfile {
namespace {

QString reason(const QString &path, int err)
{
    return path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(err));
}

// What is at path: Ok for a regular file (through links), otherwise why not.
ReadStatus classify(const QByteArray &native, int *err)
{
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        *err = errno;
        struct stat lst {};
        if (errno == ELOOP || (errno == ENOENT && ::lstat(native.constData(), &lst) == 0))
            return ReadStatus::BrokenLink;
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    }
    if (!S_ISREG(st.st_mode)) {
        *err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return ReadStatus::NotRegular;
    }
    return ReadStatus::Ok;
}

QString notRegularText(const QString &path)
{
    return path + QStringLiteral(": not a regular file");
}

// Writes every byte, in 64 KiB pieces (about twice as fast as one write of a 5 MB image);
// 0 or the error number of the write that failed.
int writeAll(int fd, const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size_t(qMin<qint64>(size - done, 64 * 1024)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
    }
    return 0;
}

} // namespace

ReadResult read(const QString &path)
{
    ReadResult r;
    const QByteArray native = QFile::encodeName(path);
    int err = 0;
    r.status = classify(native, &err);
    if (r.status == ReadStatus::NotRegular) {
        r.error = notRegularText(path);
        return r;
    }
    if (r.status != ReadStatus::Ok) {
        if (r.status != ReadStatus::Missing)
            r.error = reason(path, err);
        return r;
    }
    // Non-blocking open: a file swapped for a pipe after the check still cannot hang us.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        r.status = ReadStatus::Unreadable;
        r.error = reason(path, errno);
        return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        r.status = ReadStatus::NotRegular;
        r.error = notRegularText(path);
        return r;
    }
    auto tooLarge = [&] {
        ::close(fd);
        r.status = ReadStatus::TooLarge;
        r.error = reason(path, EFBIG);
        return r;
    };
    if (st.st_size > kMaxDocumentBytes)
        return tooLarge();
    QByteArray bytes;
    bytes.reserve(int(st.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0) {
            if (bytes.size() + n > kMaxDocumentBytes) // grew while being read
                return tooLarge();
            bytes.append(chunk, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int e = errno;
            ::close(fd);
            r.status = ReadStatus::Unreadable;
            r.error = reason(path, e);
            return r;
        }
        break;
    }
    ::close(fd);
    r.bytes = bytes;
    return r;
}

bool readOnly(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return false;
    return (st.st_mode & 0222) == 0 || ::access(native.constData(), W_OK) != 0;
}

bool write(const QString &path, const QByteArray &bytes, QString *error,
           QFileDevice::Permissions perms)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    int err = 0;
    const ReadStatus there = classify(QFile::encodeName(path), &err);
    if (there == ReadStatus::NotRegular)
        return fail(notRegularText(path));
    if (there == ReadStatus::BrokenLink || there == ReadStatus::Unreadable)
        return fail(reason(path, err));
    // The rename below would replace even a file its owner made read-only.
    if (there == ReadStatus::Ok && readOnly(path))
        return fail(reason(path, EACCES));

    // Unbuffered, so a short write (full disk, file-size limit) shows at write() and
    // not only in the final flush that commit() does not report.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(path + QStringLiteral(": ") + file.errorString());
    if (perms && !file.setPermissions(perms)) {
        const QString why = path + QStringLiteral(": ") + file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            const QString why = path + QStringLiteral(": ") + file.errorString();
            file.cancelWriting();
            return fail(why);
        }
        done += n;
    }
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const QString why = path + QStringLiteral(": ") + file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(path + QStringLiteral(": ") + file.errorString());
    return true;
}

bool append(const QString &path, const QByteArray &bytes, QString *error)
{
    auto fail = [&](int err) {
        if (error)
            *error = reason(path, err);
        return false;
    };
    const QByteArray native = QFile::encodeName(path);
    int err = 0;
    const ReadStatus there = classify(native, &err);
    if (there == ReadStatus::NotRegular) {
        if (error)
            *error = notRegularText(path);
        return false;
    }
    if (there == ReadStatus::BrokenLink || there == ReadStatus::Unreadable)
        return fail(err);
    if (there == ReadStatus::Ok && readOnly(path))
        return fail(EACCES);
    const int fd = ::open(native.constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0)
        return fail(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        if (error)
            *error = notRegularText(path);
        return false;
    }
    const off_t oldSize = st.st_size;
    // All or nothing: what went in of this append is taken out again.
    auto undo = [&](int e) {
        while (::ftruncate(fd, oldSize) != 0 && errno == EINTR) {
        }
        ::close(fd);
        return fail(e);
    };
    if (const int e = writeAll(fd, bytes.constData(), bytes.size()))
        return undo(e);
    if (::fsync(fd) != 0)
        return undo(errno);
    if (::close(fd) != 0)
        return fail(errno);
    return true;
}

bool writeData(const QString &path, const char *data, qint64 size, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    const QByteArray part = native + ".part";
    auto fail = [&](int err) {
        ::unlink(part.constData());
        if (error)
            *error = reason(path, err);
        return false;
    };
    const int fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0)
        return fail(errno);
    if (const int e = writeAll(fd, data, size)) {
        ::close(fd);
        return fail(e);
    }
    if (::close(fd) != 0 || ::rename(part.constData(), native.constData()) != 0)
        return fail(errno);
    return true;
}

} // namespace docfile
