// Reading and writing the console's documents (station, password, last-choice files).
// Reads never block on what is not a regular file; writes are atomic and checked:
// on any failure the old document stays byte for byte as it was.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace docfile {

enum class ReadStatus {
    Ok,         // a regular file was read whole
    Missing,    // nothing at the path
    BrokenLink, // a link that cannot be resolved (dangling or a loop)
    NotRegular, // a pipe, device, socket or folder: never opened
    Unreadable, // exists but open or read failed
    TooLarge    // larger than any real document: not read
};

// No document of the console comes near this; a larger file is broken, not read whole.
constexpr qint64 kMaxDocumentBytes = qint64(64) << 20;

struct ReadResult
{
    ReadStatus status = ReadStatus::Missing;
    QByteArray bytes;
    QString error; // the system's reason, with the path; empty for Ok and Missing

    bool ok() const { return status == ReadStatus::Ok; }
    // Something is at the path that must not be written over.
    bool broken() const { return status != ReadStatus::Ok && status != ReadStatus::Missing; }
};

ReadResult read(const QString &path);

// True when path exists and must not be replaced: no write permission bit at all
// (read-only for every user, root included) or not writable for this user.
bool readOnly(const QString &path);

// Replaces the document at path with bytes: written to a temporary file beside it,
// every byte checked, flushed and synced, then renamed over it. A path that exists
// as something other than a regular file (or a link to one) is refused.
// perms, when given, are set on the new file. On failure returns false with the
// reason in *error (the path and the system's error text). A read-only document
// (see readOnly) is refused.
bool write(const QString &path, const QByteArray &bytes, QString *error,
           QFileDevice::Permissions perms = {});

// A data file (a saved image) written whole or not at all: every byte checked in
// "<path>.part", which is then renamed over path. No sync per file, so continuous saving
// keeps up; a full disk or a size limit fails the write and leaves no file.
bool writeData(const QString &path, const char *data, qint64 size, QString *error);

// Appends bytes to the regular file at path (made when missing), every byte checked;
// on failure the file is cut back to its old length, so it holds all or nothing.
bool append(const QString &path, const QByteArray &bytes, QString *error);

} // namespace docfile
