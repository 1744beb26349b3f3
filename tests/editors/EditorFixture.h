// A throw-away program folder holding config/<file> copied from the sample document,
// a fixed local time for backup names, and JSON file helpers.
#pragma once

#include "Platform.h"
#include "StationFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

class EditorFolder
{
public:
    explicit EditorFolder(const QString &fileName = QStringLiteral("camera_cfg.json"))
        : m_file(fileName)
    {
        QDir().mkpath(configDir());
        QFile::copy(QStringLiteral(EP_EDITORS_SAMPLE), docPath());
        QFile::setPermissions(docPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        platform::setLocalNowForTest([] {
            return QDateTime(QDate(2025, 1, 2), QTime(9, 5, 3, 7));
        });
    }
    ~EditorFolder() { platform::setLocalNowForTest({}); }

    QString folder() const { return m_dir.path(); }
    QString configDir() const { return m_dir.path() + QStringLiteral("/config"); }
    QString docPath() const { return configDir() + QLatin1Char('/') + m_file; }
    QString backupPath() const
    {
        return configDir() + QStringLiteral("/backup/2025-01-02-09-05-03-007_") + m_file;
    }

    static QJsonObject sample() { return stationdoc::read(QStringLiteral(EP_EDITORS_SAMPLE)); }
    static QByteArray bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QJsonObject json(const QString &path) { return stationdoc::read(path); }
    static void put(const QString &path, const QByteArray &content)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    void putDoc(const QJsonObject &doc) const { QVERIFY(stationdoc::write(docPath(), doc)); }

private:
    QString m_file;
    QTemporaryDir m_dir;
};
