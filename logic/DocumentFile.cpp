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
    QByteArray bytes;
    bytes.reserve(int(qMin<qint64>(st.st_size, 64 << 20)));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0) {
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

} // namespace docfile
