#include "PasswordStore.h"

#include "DocumentFile.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

namespace {
const QString kAdminKey = QStringLiteral("管理员");
const QString kOperatorKey = QStringLiteral("操作员");
const QString kNameKey = QStringLiteral("用户名称");
const QString kPasswordKey = QStringLiteral("密码");

#define STORE_LOG(level, fn) level().noquote().nospace() << fn " line:" << __LINE__ << " "

QJsonArray toArray(const QMap<QString, QString> &accounts)
{
    QJsonArray array;
    for (auto it = accounts.cbegin(); it != accounts.cend(); ++it)
        array.append(QJsonObject{{kNameKey, it.key()}, {kPasswordKey, it.value()}});
    return array;
}
} // namespace

const QString &PasswordStore::superUser()
{
    static const QString name = QStringLiteral("超级用户");
    return name;
}

const QString &PasswordStore::defaultUser()
{
    static const QString name = QStringLiteral("默认用户");
    return name;
}

const QString &PasswordStore::defaultPassword()
{
    static const QString password = QStringLiteral("482917365");
    return password;
}

QJsonObject PasswordStore::defaultDocument()
{
    QMap<QString, QString> admins{{superUser(), defaultPassword()}};
    QMap<QString, QString> operators{{defaultUser(), defaultPassword()}};
    return QJsonObject{{kAdminKey, toArray(admins)}, {kOperatorKey, toArray(operators)}};
}

const QMap<QString, QString> &PasswordStore::accounts(Role role) const
{
    return role == Role::Administrator ? m_admins : m_operators;
}

QMap<QString, QString> &PasswordStore::map(Role role)
{
    return role == Role::Administrator ? m_admins : m_operators;
}

bool PasswordStore::readArray(const QJsonObject &doc, const QString &key,
                              QMap<QString, QString> &into)
{
    // A missing list reads as empty; a list of another shape makes the document broken.
    const QJsonValue list = doc.value(key);
    if (list.isUndefined())
        return true;
    if (!list.isArray())
        return false;
    for (const QJsonValue &v : list.toArray()) {
        if (!v.isObject())
            return false;
        const QJsonObject entry = v.toObject();
        const QJsonValue name = entry.value(kNameKey);
        const QJsonValue password = entry.value(kPasswordKey);
        if (!name.isString() || !password.isString())
            return false;
        into.insert(name.toString(), password.toString());
    }
    return true;
}

PasswordStore::LoadResult PasswordStore::load(const QString &programFolder)
{
    m_admins.clear();
    m_operators.clear();
    m_document = QJsonObject();
    m_broken = false;
    m_programFolder = programFolder;
    m_documentPath = programFolder + QStringLiteral("/config/password.json");

    const docfile::ReadResult file = docfile::read(m_documentPath);
    if (file.status != docfile::ReadStatus::Missing) {
        QString why;
        QJsonParseError parseError{};
        const QJsonDocument json = file.ok() ? QJsonDocument::fromJson(file.bytes, &parseError)
                                             : QJsonDocument();
        if (!file.ok())
            why = QStringLiteral(" cannot be read: ") + file.error;
        else if (parseError.error != QJsonParseError::NoError)
            why = QStringLiteral(" is error: ") + parseError.errorString();
        else if (!json.isObject())
            why = QStringLiteral(" is not a JSON object");
        else if (!readArray(json.object(), kAdminKey, m_admins)
                 || !readArray(json.object(), kOperatorKey, m_operators))
            why = QStringLiteral(" has account lists that are not arrays of name and password texts");
        if (!why.isEmpty()) {
            m_admins.clear();
            m_operators.clear();
            m_broken = true;
            STORE_LOG(qCritical, "PasswordStore::load")
                << m_documentPath << why << ", login and account management are disabled";
            return LoadResult::Broken;
        }
        m_document = json.object();
        return LoadResult::Read;
    }

    m_document = defaultDocument();
    QString error;
    if (!writeDocument(m_documentPath, m_document, &error))
        STORE_LOG(qWarning, "PasswordStore::load") << error;
    m_admins = {{superUser(), defaultPassword()}};
    m_operators = {{defaultUser(), defaultPassword()}};
    return LoadResult::DefaultsWritten;
}

bool PasswordStore::nameTaken(const QString &name) const
{
    return m_admins.contains(name) || m_operators.contains(name);
}

bool PasswordStore::isBuiltIn(const QString &name)
{
    return name == superUser() || name == defaultUser();
}

bool PasswordStore::constantTimeEquals(const QString &a, const QString &b)
{
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    const int n = qMax(x.size(), y.size());
    unsigned diff = unsigned(x.size() ^ y.size());
    for (int i = 0; i < n; ++i) {
        const unsigned char cx = i < x.size() ? uchar(x.at(i)) : 0;
        const unsigned char cy = i < y.size() ? uchar(y.at(i)) : 0;
        diff |= unsigned(cx ^ cy);
    }
    return diff == 0;
}

bool PasswordStore::checkPassword(Role role, const QString &name, const QString &typed) const
{
    if (m_broken)
        return false;
    const auto &accounts = this->accounts(role);
    const auto it = accounts.constFind(name);
    // Compare even for an unknown name so the answer takes the same time.
    const bool equal = constantTimeEquals(it == accounts.cend() ? QString() : it.value(), typed);
    return it != accounts.cend() && equal;
}

bool PasswordStore::checkUnlock(const QString &typed) const
{
    return checkPassword(Role::Administrator, superUser(), typed);
}

PasswordStore::AddCheck PasswordStore::checkAdd(const QString &name, const QString &password,
                                                const QString &repeat) const
{
    if (name.isEmpty())
        return AddCheck::EmptyName;
    if (nameTaken(name))
        return AddCheck::Duplicate;
    if (password.isEmpty())
        return AddCheck::EmptyPassword;
    if (password.length() != 9)
        return AddCheck::WrongLength;
    if (password != repeat)
        return AddCheck::Mismatch;
    return AddCheck::Ok;
}

bool PasswordStore::add(Role role, const QString &name, const QString &password, QString *error)
{
    auto &accounts = map(role);
    const QMap<QString, QString> before = accounts;
    accounts.insert(name, password);
    if (save(error))
        return true;
    accounts = before;
    return false;
}

bool PasswordStore::remove(Role role, const QString &name, QString *error)
{
    auto &accounts = map(role);
    if (!accounts.contains(name)) {
        if (error)
            *error = QStringLiteral("账号不存在：") + name;
        return false;
    }
    const QMap<QString, QString> before = accounts;
    accounts.remove(name);
    if (save(error))
        return true;
    accounts = before;
    return false;
}

bool PasswordStore::save(QString *error)
{
    if (m_broken || m_documentPath.isEmpty()) {
        if (error)
            *error = QStringLiteral("密码文件无效，未写入：") + m_documentPath;
        return false;
    }
    const QJsonObject doc{{kAdminKey, toArray(m_admins)}, {kOperatorKey, toArray(m_operators)}};
    QString reason;
    if (!writeDocument(m_documentPath, doc, &reason)) {
        STORE_LOG(qCritical, "PasswordStore::save") << reason;
        if (error)
            *error = reason;
        return false;
    }
    m_document = doc;
    return true;
}

bool PasswordStore::writeDocument(const QString &path, const QJsonObject &doc, QString *error)
{
    return docfile::write(path, QJsonDocument(doc).toJson(QJsonDocument::Indented), error,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
