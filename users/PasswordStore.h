// The password document "config/password.json" and the two account maps.
#pragma once

#include <QJsonObject>
#include <QMap>
#include <QString>

class PasswordStore
{
public:
    enum class Role { Administrator, Operator };
    enum class LoadResult {
        Read,            // an existing document was read
        DefaultsWritten, // no document: the built-in accounts were written
        Broken           // a document exists but cannot be read or is not an object
    };
    enum class AddCheck { Ok, EmptyName, Duplicate, EmptyPassword, WrongLength, Mismatch };

    static const QString &superUser();   // "超级用户"
    static const QString &defaultUser(); // "默认用户"
    static const QString &defaultPassword();
    static QJsonObject defaultDocument();

    // Reads programFolder + "/config/password.json", writing the defaults when it is missing.
    LoadResult load(const QString &programFolder);

    // A broken document refuses every login and is never written over.
    bool isBroken() const { return m_broken; }
    QString programFolder() const { return m_programFolder; }
    QString documentPath() const { return m_documentPath; }
    QJsonObject document() const { return m_document; }
    const QMap<QString, QString> &accounts(Role role) const;

    bool holds(Role role, const QString &name) const { return accounts(role).contains(name); }
    bool nameTaken(const QString &name) const;
    static bool isBuiltIn(const QString &name);

    // True only for a name the role holds whose password equals typed.
    bool checkPassword(Role role, const QString &name, const QString &typed) const;
    // Account management: the super user's password.
    bool checkUnlock(const QString &typed) const;

    AddCheck checkAdd(const QString &name, const QString &password, const QString &repeat) const;

    // Change one map and save; on a failed save the map is restored and false returned.
    bool add(Role role, const QString &name, const QString &password, QString *error = nullptr);
    bool remove(Role role, const QString &name, QString *error = nullptr);

    // Rebuilds the document from the maps and writes it atomically, owner-only.
    bool save(QString *error = nullptr);

    static bool constantTimeEquals(const QString &a, const QString &b);

private:
    QMap<QString, QString> &map(Role role);
    static bool writeDocument(const QString &path, const QJsonObject &doc, QString *error);
    static bool readArray(const QJsonObject &doc, const QString &key, QMap<QString, QString> &into);

    QString m_programFolder;
    QString m_documentPath;
    QJsonObject m_document;
    QMap<QString, QString> m_admins;
    QMap<QString, QString> m_operators;
    bool m_broken = false;
};
