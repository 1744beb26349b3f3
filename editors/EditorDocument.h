// The configuration document as one editor holds it: loading under the editor's own log
// name, the base object, time-stamped backups and checked saves that never write over a
// document the editor could not read or that another writer changed since.
#pragma once

#include "StationDocument.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace editors {

using LoadStatus = station::LoadStatus;

enum class SaveResult {
    Written,       // backup and document written
    Unchanged,     // nothing to write
    LoadFailed,    // the last load failed: the document is not written over
    ChangedOnDisk, // another writer changed the file since this editor read or wrote it
    BackupFailed,  // the backup could not be written; the document is untouched
    WriteFailed    // the document could not be written (or is read-only); it is as before
};

// Title and text of the box that reports a refused or failed save (empty for success).
struct Notice
{
    QString title;
    QString text;
};
Notice saveNotice(SaveResult result, const QString &error);

// "yyyy-MM-dd-hh-mm-ss-zzz"
QString stampText(const QDateTime &when);


class EditorDocument
{
public:
    enum class Backup {
        OfLoaded,   // the document as loaded, stamped at the load, on every save press
        OfReference // the document as last loaded or written, stamped at the write
    };

    // owner: the class name used in log lines; programFolder empty = the program's folder.
    EditorDocument(const QString &owner, Backup backup, const QString &programFolder = QString());

    // Reads <program folder>/config/<fileName>; an empty object on every failure.
    QJsonObject load(const QString &fileName);

    LoadStatus lastLoad() const { return m_lastLoad; }
    bool loadFailed() const { return m_lastLoad != LoadStatus::Ok; }
    QString fileName() const { return m_fileName; }
    QString programFolder() const { return m_programFolder; }
    QString documentPath() const { return m_documentPath; }
    // The backup path stamped at the load (OfLoaded) or at the last write (OfReference).
    QString backupPath() const { return m_backupPath; }
    QString backupPathFor(const QDateTime &when) const;

    // The document as loaded; kept on a load that read nothing.
    QJsonObject base() const { return m_base; }
    // What a save compares with: the document as last written since the load, else the base.
    QJsonObject reference() const { return m_written ? m_lastWritten : m_base; }

    // Writes newDocument (with its backup first) unless it equals the reference. A refused
    // save (failed load, changed on disk, read-only document) writes no backup either.
    // With Backup::OfLoaded the backup is rewritten on every other call, changed or not.
    SaveResult save(const QJsonObject &newDocument, QString *error = nullptr);

    static QByteArray toText(const QJsonObject &document);

private:
    bool writeBackup(const QString &path, const QJsonObject &content, QString *error) const;

    QString m_owner;
    Backup m_backup;
    QString m_folderOverride;
    QString m_fileName;
    QString m_programFolder;
    QString m_documentPath;
    QString m_backupPath;
    QJsonObject m_base;
    QJsonObject m_lastWritten;
    bool m_written = false;
    QByteArray m_diskBytes; // the file as this editor last read or wrote it
    LoadStatus m_lastLoad = LoadStatus::NoContent;
};

} // namespace editors
