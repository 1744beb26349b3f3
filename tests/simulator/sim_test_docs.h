// Configuration documents for the simulator tests: the delivered samples, tuned.
#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

inline QJsonObject sampleDocument(const QString &fileName)
{
    QFile f(QStringLiteral(EP_CONFIG_DIR "/") + fileName);
    if (!f.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(f.readAll()).object();
}

// The sample with some "模拟设置" values replaced; link losses off unless set.
inline QJsonObject tunedDocument(const QString &fileName, const QJsonObject &settings)
{
    QJsonObject doc = sampleDocument(fileName);
    QJsonObject s = doc.value(QStringLiteral("模拟设置")).toObject();
    s.insert(QStringLiteral("PLC掉线间隔秒"), QStringLiteral("0"));
    s.insert(QStringLiteral("相机掉线间隔秒"), QStringLiteral("0"));
    for (auto it = settings.begin(); it != settings.end(); ++it)
        s.insert(it.key(), it.value());
    doc.insert(QStringLiteral("模拟设置"), s);
    return doc;
}

// Replaces the value at a path of object keys and array indices ("工站列表/0/相机模块列表/1/相机key").
inline QJsonValue replacedAt(const QJsonValue &node, QStringList path, const QJsonValue &value, bool remove)
{
    if (path.isEmpty())
        return value;
    const QString head = path.takeFirst();
    if (node.isArray()) {
        QJsonArray a = node.toArray();
        const int i = head.toInt();
        if (path.isEmpty() && remove)
            a.removeAt(i);
        else
            a[i] = replacedAt(a.at(i), path, value, remove);
        return a;
    }
    QJsonObject o = node.toObject();
    if (path.isEmpty() && remove)
        o.remove(head);
    else
        o.insert(head, replacedAt(o.value(head), path, value, remove));
    return o;
}

inline QJsonObject withValue(const QJsonObject &doc, const QString &path, const QJsonValue &value)
{
    return replacedAt(doc, path.split(QLatin1Char('/')), value, false).toObject();
}

inline QJsonObject withoutKey(const QJsonObject &doc, const QString &path)
{
    return replacedAt(doc, path.split(QLatin1Char('/')), QJsonValue(), true).toObject();
}
