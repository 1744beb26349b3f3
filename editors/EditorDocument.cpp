#include "EditorDocument.h"

#include "DocumentFile.h"
#include "Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>

namespace editors {

Notice saveNotice(SaveResult result, const QString &error)
{
    switch (result) {
    case SaveResult::LoadFailed:
        return {QStringLiteral("保存失败"),
                QStringLiteral("配置文件读取失败，不能保存。请检查配置文件后重新打开。")};
    case SaveResult::ChangedOnDisk:
        return {QStringLiteral("保存失败"),
                QStringLiteral("配置文件已被其它窗口或程序修改，本次未保存。请关闭后重新打开再修改。")};
    case SaveResult::BackupFailed:
        return {QStringLiteral("备份失败"),
                QStringLiteral("备份文件写入失败，配置文件未修改。\n") + error};
    case SaveResult::WriteFailed:
        return {QStringLiteral("保存失败"),
                QStringLiteral("配置文件写入失败，文件未修改。\n") + error};
    case SaveResult::Written:
    case SaveResult::Unchanged:
        break;
    }
    return {};
}

QString stampText(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss-zzz"));
}

EditorDocument::EditorDocument(const QString &owner, Backup backup, const QString &programFolder)
    : m_owner(owner), m_backup(backup), m_folderOverride(programFolder)
{
}

QString EditorDocument::backupPathFor(const QDateTime &when) const
{
    return m_programFolder + QLatin1String("/config/backup/") + stampText(when) + QLatin1Char('_')
        + m_fileName;
}

QJsonObject EditorDocument::load(const QString &fileName)
{
    const QString where = m_owner + QLatin1String("::load_camera_cfg");
    m_fileName = fileName;
    m_programFolder = QDir(m_folderOverride.isEmpty() ? QCoreApplication::applicationDirPath()
                                                      : m_folderOverride)
                          .path();
    m_documentPath = m_programFolder + QLatin1String("/config/") + fileName;
    if (m_backup == Backup::OfLoaded)
        m_backupPath = backupPathFor(platform::localNow());

    const station::Document doc = station::Document::read(m_documentPath, where);
    m_diskBytes = doc.bytes();
    m_written = false;
    m_lastLoad = doc.status();
    // A load that read nothing keeps the base; one that read something else drops it.
    if (m_lastLoad != LoadStatus::NoContent)
        m_base = doc.object();
    return doc.object();
}

QByteArray EditorDocument::toText(const QJsonObject &document)
{
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

bool EditorDocument::writeBackup(const QString &path, const QJsonObject &content,
                                 QString *error) const
{
    const QString folder = m_programFolder + QLatin1String("/config/backup");
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = folder + QStringLiteral(": 无法创建备份文件夹");
        return false;
    }
    return docfile::write(path, toText(content), error);
}

SaveResult EditorDocument::save(const QJsonObject &newDocument, QString *error)
{
    if (loadFailed())
        return SaveResult::LoadFailed;
    const bool changed = newDocument != reference();

    // Everything that can refuse the save is checked before a backup is written.
    if (changed) {
        const docfile::ReadResult now = docfile::read(m_documentPath);
        if (!now.ok() || now.bytes != m_diskBytes)
            return SaveResult::ChangedOnDisk;
        // A document set read-only is not replaced behind its owner's back, not even by root.
        if (docfile::readOnly(m_documentPath)) {
            if (error)
                *error = m_documentPath + QStringLiteral(": 文件为只读");
            return SaveResult::WriteFailed;
        }
    }
    if (m_backup == Backup::OfLoaded) {
        if (!writeBackup(m_backupPath, m_base, error))
            return SaveResult::BackupFailed;
    }
    if (!changed)
        return SaveResult::Unchanged;
    if (m_backup == Backup::OfReference) {
        const QString path = backupPathFor(platform::localNow());
        if (!writeBackup(path, reference(), error))
            return SaveResult::BackupFailed;
        m_backupPath = path;
    }
    const QByteArray bytes = toText(newDocument);
    if (!docfile::write(m_documentPath, bytes, error))
        return SaveResult::WriteFailed;
    m_diskBytes = bytes;
    m_lastWritten = newDocument;
    m_written = true;
    if (m_backup == Backup::OfReference)
        m_base = newDocument;
    return SaveResult::Written;
}

} // namespace editors
