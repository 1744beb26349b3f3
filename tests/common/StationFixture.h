// Station documents for the suites: the delivered samples, documents built from parts,
// edits at a path of object keys and array indices ("工站列表/0/相机模块列表/1/相机key").
#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace stationdoc {

inline QJsonObject read(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(f.readAll()).object();
}

// A delivered sample from config/.
inline QJsonObject sample(const QString &fileName = QStringLiteral("camera_cfg.json"))
{
    return read(QStringLiteral(EP_SAMPLE_CONFIG_DIR "/") + fileName);
}

inline bool write(const QString &path, const QJsonObject &doc)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && f.write(QJsonDocument(doc).toJson()) >= 0;
}

inline QJsonValue valueAt(const QJsonValue &node, const QString &path)
{
    QJsonValue v = node;
    for (const QString &part : path.split(QLatin1Char('/')))
        v = v.isArray() ? v.toArray().at(part.toInt()) : v.toObject().value(part);
    return v;
}

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

// The document with some "模拟设置" values replaced; link losses off unless set.
inline QJsonObject withSimulator(QJsonObject doc, const QJsonObject &settings)
{
    QJsonObject s = doc.value(QStringLiteral("模拟设置")).toObject();
    s.insert(QStringLiteral("PLC掉线间隔秒"), QStringLiteral("0"));
    s.insert(QStringLiteral("相机掉线间隔秒"), QStringLiteral("0"));
    for (auto it = settings.begin(); it != settings.end(); ++it)
        s.insert(it.key(), it.value());
    doc.insert(QStringLiteral("模拟设置"), s);
    return doc;
}

// A station entry; the name is left out when empty.
inline QJsonObject station(const QJsonArray &cameras, const QJsonArray &algorithms,
                           const QString &name = QString())
{
    QJsonObject s{{QStringLiteral("相机模块列表"), cameras}, {QStringLiteral("算法列表"), algorithms}};
    if (!name.isEmpty())
        s.insert(QStringLiteral("工站名"), name);
    return s;
}

// A document of the given stations and top-level keys.
inline QJsonObject document(const QJsonArray &stations, QJsonObject top = QJsonObject())
{
    top.insert(QStringLiteral("工站列表"), stations);
    return top;
}

} // namespace stationdoc
