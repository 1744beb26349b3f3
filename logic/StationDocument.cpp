#include "StationDocument.h"

#include "DocumentFile.h"

#include <QDebug>
#include <QJsonDocument>

namespace stationkey {
QStringList saveSwitches()
{
    return {QStringLiteral("原图"), QStringLiteral("Seg图"), QStringLiteral("Class图"),
            QStringLiteral("结果图")};
}
} // namespace stationkey

namespace station {

namespace {

QString text(const QJsonObject &o, const QString &key)
{
    return o.value(key).toString();
}

QList<Parameter> parameters(const QJsonObject &entry, const QString &listKey,
                            const QString &nameKey, const QString &valuesKey)
{
    QList<Parameter> out;
    for (const QJsonValue &element : entry.value(listKey).toArray()) {
        const QJsonObject p = element.toObject();
        out.append({text(p, nameKey), texts(p.value(valuesKey)), element});
    }
    return out;
}

Station stationAt(const QJsonValue &value, int s)
{
    const QJsonObject o = value.toObject();
    Station station;
    station.name = text(o, stationkey::stationName());
    station.stored = value;
    const QJsonArray modules = o.value(stationkey::cameraModules()).toArray();
    for (int m = 0; m < modules.size(); ++m) {
        Camera c = cameraOf(modules.at(m));
        c.station = s;
        c.index = m;
        station.cameras.append(c);
    }
    const QJsonArray algorithms = o.value(stationkey::algorithms()).toArray();
    for (int a = 0; a < algorithms.size(); ++a) {
        Algorithm al = algorithmOf(algorithms.at(a));
        al.station = s;
        al.index = a;
        station.algorithms.append(al);
    }
    return station;
}

} // namespace

QStringList texts(const QJsonValue &array)
{
    QStringList out;
    for (const QJsonValue &v : array.toArray())
        out << v.toString();
    return out;
}

Camera cameraOf(const QJsonValue &entry)
{
    const QJsonObject e = entry.toObject();
    Camera c;
    c.key = text(e, stationkey::cameraKey());
    c.windowName = text(e, stationkey::windowName());
    c.shotCount = text(e, stationkey::shotCount());
    c.moduleName = text(e, stationkey::moduleName());
    c.trigger = text(e, stationkey::trigger());
    c.grabTimeout = text(e, stationkey::grabTimeout());
    c.parameters = parameters(e, stationkey::cameraParams(), stationkey::cameraParamName(),
                              stationkey::cameraParamValues());
    c.stored = entry;
    return c;
}

Algorithm algorithmOf(const QJsonValue &entry)
{
    const QJsonObject e = entry.toObject();
    Algorithm al;
    al.name = text(e, stationkey::algorithmName());
    al.parameters = parameters(e, stationkey::algorithmParams(), stationkey::algorithmParamName(),
                               stationkey::algorithmParamValues());
    al.stored = entry;
    return al;
}

QList<PlcSignal> plcSignalsOf(const QJsonArray &entries)
{
    QList<PlcSignal> out;
    for (const QJsonValue &v : entries) {
        const QJsonObject o = v.toObject();
        PlcSignal entry{text(o, stationkey::signalName()), text(o, stationkey::signalAddress()), {}};
        for (const QJsonValue &label : o.value(stationkey::signalValues()).toArray())
            entry.labels.append({text(label.toObject(), stationkey::labelName()),
                                 text(label.toObject(), stationkey::labelValue())});
        out.append(entry);
    }
    return out;
}

Document::Document(const QJsonObject &root) : m_root(root), m_status(LoadStatus::Ok) {}

Document Document::fromFile(const QString &path, bool *readable)
{
    Document doc;
    const docfile::ReadResult file = docfile::read(path);
    *readable = file.ok();
    if (file.bytes.isEmpty())
        return doc;
    doc.m_bytes = file.bytes;
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(file.bytes, &error);
    if (json.isNull() || error.error != QJsonParseError::NoError)
        doc.m_status = LoadStatus::NotJson;
    else if (!json.isObject())
        doc.m_status = LoadStatus::NotObject;
    else {
        doc.m_root = json.object();
        doc.m_status = LoadStatus::Ok;
    }
    return doc;
}

Document Document::read(const QString &path, const QString &where, UnreadableLine unreadable)
{
    bool readable = false;
    Document doc = fromFile(path, &readable);
    if (!readable && unreadable == UnreadableLine::Logged)
        qCritical().noquote() << where << " line:" << __LINE__ << " camera_cfg.json not isReadable!";
    if (doc.m_status == LoadStatus::NoContent)
        qDebug().noquote() << where << " line:" << __LINE__ << path + QLatin1String(" Content is empty");
    else if (doc.m_status == LoadStatus::NotJson)
        qCritical().noquote() << where << " line:" << __LINE__ << path + QLatin1String(" is error!");
    return doc;
}

Document Document::probe(const QString &path)
{
    bool readable = false;
    return fromFile(path, &readable);
}

bool Document::listsStations() const
{
    return m_root.value(stationkey::stations()).isArray();
}

QList<Station> Document::stations() const
{
    QList<Station> out;
    const QJsonArray stations = m_root.value(stationkey::stations()).toArray();
    for (int s = 0; s < stations.size(); ++s)
        out.append(stationAt(stations.at(s), s));
    return out;
}

QList<Camera> Document::cameras() const
{
    QList<Camera> out;
    for (const Station &s : stations())
        out.append(s.cameras);
    return out;
}

QList<Algorithm> Document::algorithms() const
{
    QList<Algorithm> out;
    for (const Station &s : stations())
        out.append(s.algorithms);
    return out;
}

QStringList Document::algorithmNames() const
{
    QStringList out;
    for (const Algorithm &a : algorithms())
        out << a.name;
    return out;
}

QList<DefectClass> Document::defectClasses() const
{
    QList<DefectClass> out;
    for (const QJsonValue &v : m_root.value(stationkey::defectClasses()).toArray()) {
        const QJsonObject o = v.toObject();
        out.append({text(o, stationkey::defectClass()), text(o, stationkey::defectName()),
                    text(o, stationkey::inspect()), v});
    }
    return out;
}

QList<SaveImageEntry> Document::saveImageEntries() const
{
    QList<SaveImageEntry> out;
    const QStringList switches = stationkey::saveSwitches();
    for (const QJsonValue &v : m_root.value(stationkey::saveImage()).toArray()) {
        const QJsonObject o = v.toObject();
        SaveImageEntry e{text(o, stationkey::cameraKey()), text(o, stationkey::windowName()), {}, v};
        for (const QString &s : switches)
            e.switches << text(o, s);
        out.append(e);
    }
    return out;
}

QJsonArray Document::plcSignals() const
{
    return m_root.value(stationkey::plcSignals()).toArray();
}

QString Document::standardFlow() const
{
    return text(m_root, stationkey::standardFlow());
}

QString Document::taskName() const
{
    return text(m_root, stationkey::taskName());
}

} // namespace station
