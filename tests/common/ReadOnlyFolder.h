// Makes a folder read-only for the duration of a test. Root ignores permission bits,
// so there the folder is made immutable instead (undone on destruction).
#pragma once

#include <QFile>
#include <QProcess>
#include <QString>

#include <unistd.h>

class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path) : m_path(path)
    {
        if (geteuid() != 0) {
            m_active = QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            m_chattr = false;
        } else {
            m_active = QProcess::execute("chattr", {"+i", m_path}) == 0;
            m_chattr = true;
        }
    }
    ~ReadOnlyFolder()
    {
        if (!m_active)
            return;
        if (m_chattr)
            QProcess::execute("chattr", {"-i", m_path});
        else
            QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ExeOwner);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool isActive() const { return m_active; }

private:
    QString m_path;
    bool m_active = false;
    bool m_chattr = false;
};
