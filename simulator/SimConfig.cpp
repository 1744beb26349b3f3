#include "SimConfig.h"

#include <QJsonArray>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

// Reason texts name the place in the document, e.g. "工站“A”的第2个相机".
struct Reader
{
    QString *error;

    bool fail(const QString &text)
    {
        if (error)
            *error = text;
        return false;
    }

    // A scalar that must be a non-empty JSON string.
    bool text(const QJsonObject &obj, const QString &key, const QString &where, QString *out,
              bool allowEmpty = false)
    {
        const QJsonValue v = obj.value(key);
        if (v.isUndefined())
            return fail(QStringLiteral("%1缺少“%2”").arg(where, key));
        if (!v.isString())
            return fail(QStringLiteral("%1的“%2”必须是文本").arg(where, key));
        *out = v.toString();
        if (!allowEmpty && out->trimmed().isEmpty())
            return fail(QStringLiteral("%1的“%2”为空").arg(where, key));
        return true;
    }

    bool integer(const QJsonObject &obj, const QString &key, const QString &where, int lo, int hi,
                 int *out)
    {
        QString s;
        if (!text(obj, key, where, &s))
            return false;
        bool ok = false;
        const int n = s.trimmed().toInt(&ok, 10);
        if (!ok || n < lo || n > hi)
            return fail(QStringLiteral("%1的“%2”值“%3”无效，应为%4到%5的整数")
                            .arg(where, key, s)
                            .arg(lo)
                            .arg(hi));
        *out = n;
        return true;
    }

    bool array(const QJsonObject &obj, const QString &key, const QString &where, QJsonArray *out,
               bool allowEmpty)
    {
        const QJsonValue v = obj.value(key);
        if (v.isUndefined())
            return fail(QStringLiteral("%1缺少“%2”").arg(where, key));
        if (!v.isArray())
            return fail(QStringLiteral("%1的“%2”必须是列表").arg(where, key));
        *out = v.toArray();
        if (!allowEmpty && out->isEmpty())
            return fail(QStringLiteral("%1的“%2”为空").arg(where, key));
        return true;
    }

    bool object(const QJsonValue &v, const QString &where, QJsonObject *out)
    {
        if (!v.isObject())
            return fail(QStringLiteral("%1不是对象").arg(where));
        *out = v.toObject();
        return true;
    }

    bool stringArray(const QJsonObject &obj, const QString &key, const QString &where)
    {
        QJsonArray a;
        if (!array(obj, key, where, &a, true))
            return false;
        for (const QJsonValue &v : a)
            if (!v.isString())
                return fail(QStringLiteral("%1的“%2”只能包含文本").arg(where, key));
        return true;
    }

    bool flag(const QJsonObject &obj, const QString &key, const QString &where, bool *out)
    {
        if (!obj.contains(key))
            return true;
        QString s;
        if (!text(obj, key, where, &s))
            return false;
        if (s != QLatin1String("true") && s != QLatin1String("false"))
            return fail(QStringLiteral("%1的“%2”值“%3”无效，应为“true”或“false”").arg(where, key, s));
        *out = s == QLatin1String("true");
        return true;
    }

    bool optionalInt(const QJsonObject &obj, const QString &key, const QString &where, int lo, int hi,
                     int *out)
    {
        return !obj.contains(key) || integer(obj, key, where, lo, hi, out);
    }
};

bool readCamera(Reader &r, const QJsonValue &value, const QString &where, const QString &station,
                const QString &algorithm, Camera *camera)
{
    QJsonObject o;
    if (!r.object(value, where, &o))
        return false;
    camera->station = station;
    camera->algorithm = algorithm;
    if (!r.text(o, QStringLiteral("相机key"), where, &camera->key))
        return false;
    if (camera->key == QStringLiteral("输入SN"))
        return r.fail(QStringLiteral("%1的“相机key”仍是占位值“输入SN”").arg(where));
    // The console takes the part of an image name before the first "_" as the key,
    // and builds shot names around "#" and "_".
    if (camera->key.contains(QLatin1Char('_')) || camera->key.contains(QLatin1Char('#')))
        return r.fail(QStringLiteral("%1的“相机key”“%2”不能包含“_”或“#”").arg(where, camera->key));
    if (!r.text(o, QStringLiteral("界面窗口名称"), where, &camera->windowName))
        return false;
    if (camera->windowName.contains(QLatin1Char('_')) || camera->windowName.contains(QLatin1Char('#')))
        return r.fail(QStringLiteral("%1的“界面窗口名称”“%2”不能包含“_”或“#”")
                          .arg(where, camera->windowName));
    if (!r.integer(o, QStringLiteral("单通道拍照数"), where, 0, 64, &camera->shots))
        return false;
    QString s;
    if (!r.text(o, QStringLiteral("模块名称"), where, &s))
        return false;
    if (!r.text(o, QStringLiteral("触发方式"), where, &s))
        return false;
    if (!s.contains(QLatin1String("hard")) && !s.contains(QLatin1String("soft")))
        return r.fail(QStringLiteral("%1的“触发方式”值“%2”无效，应包含“hard”或“soft”").arg(where, s));
    if (!r.text(o, QStringLiteral("取图超时"), where, &s))
        return false;
    QJsonArray params;
    if (!r.array(o, QStringLiteral("相机参数"), where, &params, true))
        return false;
    for (int i = 0; i < params.size(); ++i) {
        const QString pw = QStringLiteral("%1的第%2个相机参数").arg(where).arg(i + 1);
        QJsonObject p;
        if (!r.object(params.at(i), pw, &p) || !r.text(p, QStringLiteral("参数名"), pw, &s)
            || !r.stringArray(p, QStringLiteral("相机参数值"), pw))
            return false;
    }
    return true;
}

bool readAlgorithms(Reader &r, const QJsonObject &st, const QString &where, QStringList *names)
{
    QJsonArray algs;
    if (!r.array(st, QStringLiteral("算法列表"), where, &algs, false))
        return false;
    for (int i = 0; i < algs.size(); ++i) {
        const QString aw = QStringLiteral("%1的第%2个算法").arg(where).arg(i + 1);
        QJsonObject a;
        QString name;
        if (!r.object(algs.at(i), aw, &a) || !r.text(a, QStringLiteral("算法名称"), aw, &name))
            return false;
        QJsonArray params;
        if (!r.array(a, QStringLiteral("算法初始化参数"), aw, &params, true))
            return false;
        for (int j = 0; j < params.size(); ++j) {
            const QString pw = QStringLiteral("%1的第%2个参数").arg(aw).arg(j + 1);
            QJsonObject p;
            QString s;
            if (!r.object(params.at(j), pw, &p) || !r.text(p, QStringLiteral("算法参数名"), pw, &s)
                || !r.stringArray(p, QStringLiteral("算法参数值"), pw))
                return false;
        }
        names->append(name);
    }
    return true;
}

bool readDefects(Reader &r, const QJsonObject &doc, QList<Defect> *defects)
{
    const QString key = QStringLiteral("缺陷类别名称设置");
    QJsonArray list;
    if (!r.array(doc, key, QStringLiteral("配置"), &list, true))
        return false;
    QSet<int> seen;
    for (int i = 0; i < list.size(); ++i) {
        const QString w = QStringLiteral("第%1个缺陷类别").arg(i + 1);
        QJsonObject o;
        Defect d;
        QString inspect;
        if (!r.object(list.at(i), w, &o) || !r.integer(o, QStringLiteral("缺陷类别"), w, 1, 200, &d.classNo)
            || !r.text(o, QStringLiteral("缺陷名称"), w, &d.name)
            || !r.text(o, QStringLiteral("是否检测"), w, &inspect))
            return false;
        if (inspect != QStringLiteral("是") && inspect != QStringLiteral("否"))
            return r.fail(QStringLiteral("%1的“是否检测”值“%2”无效，应为“是”或“否”").arg(w, inspect));
        if (seen.contains(d.classNo))
            return r.fail(QStringLiteral("缺陷类别%1重复").arg(d.classNo));
        seen.insert(d.classNo);
        d.inspect = inspect == QStringLiteral("是");
        defects->append(d);
    }
    return true;
}

bool readSaveSettings(Reader &r, const QJsonObject &doc)
{
    QJsonArray list;
    if (!r.array(doc, QStringLiteral("存图设置"), QStringLiteral("配置"), &list, true))
        return false;
    const QStringList switches{QStringLiteral("原图"), QStringLiteral("Seg图"), QStringLiteral("Class图"),
                               QStringLiteral("结果图")};
    for (int i = 0; i < list.size(); ++i) {
        const QString w = QStringLiteral("存图设置第%1项").arg(i + 1);
        QJsonObject o;
        QString s;
        if (!r.object(list.at(i), w, &o) || !r.text(o, QStringLiteral("相机key"), w, &s))
            return false;
        for (const QString &k : switches) {
            if (!r.text(o, k, w, &s))
                return false;
            if (s != QStringLiteral("保存") && s != QStringLiteral("不保存"))
                return r.fail(QStringLiteral("%1的“%2”值“%3”无效，应为“保存”或“不保存”").arg(w, k, s));
        }
    }
    return true;
}

bool readPlcSignals(Reader &r, const QJsonObject &doc, QStringList *addresses)
{
    QJsonArray list;
    if (!r.array(doc, QStringLiteral("手动补信号"), QStringLiteral("配置"), &list, true))
        return false;
    for (int i = 0; i < list.size(); ++i) {
        const QString w = QStringLiteral("第%1个手动补信号").arg(i + 1);
        QJsonObject o;
        QString name, address;
        if (!r.object(list.at(i), w, &o) || !r.text(o, QStringLiteral("信号名"), w, &name)
            || !r.text(o, QStringLiteral("指令地址"), w, &address))
            return false;
        QJsonArray values;
        if (!r.array(o, QStringLiteral("信号值"), w, &values, false))
            return false;
        for (int j = 0; j < values.size(); ++j) {
            const QString vw = QStringLiteral("%1的第%2个信号值").arg(w).arg(j + 1);
            QJsonObject v;
            QString s;
            if (!r.object(values.at(j), vw, &v) || !r.text(v, QStringLiteral("标签名"), vw, &s)
                || !r.text(v, QStringLiteral("标签值"), vw, &s))
                return false;
        }
        addresses->append(address);
    }
    return true;
}

bool parseImageType(const QString &text, ImageType *type)
{
    const QString t = text.trimmed().toUpper();
    if (t == QLatin1String("8UC1"))
        *type = ImageType::Gray8;
    else if (t == QLatin1String("16UC1"))
        *type = ImageType::Gray16;
    else if (t == QLatin1String("8UC3"))
        *type = ImageType::Bgr8;
    else if (t == QLatin1String("8UC4"))
        *type = ImageType::Bgra8;
    else
        return false;
    return true;
}

} // namespace

QString imageTypeName(ImageType type)
{
    switch (type) {
    case ImageType::Gray8: return QStringLiteral("8UC1");
    case ImageType::Gray16: return QStringLiteral("16UC1");
    case ImageType::Bgr8: return QStringLiteral("8UC3");
    case ImageType::Bgra8: return QStringLiteral("8UC4");
    }
    return QString();
}

bool parseSettings(const QJsonValue &value, Settings *settings, QString *error)
{
    *settings = Settings();
    if (value.isUndefined())
        return true;
    Reader r{error};
    QJsonObject o;
    if (!r.object(value, kSettingsKey, &o))
        return false;
    const QString w = kSettingsKey;
    Settings s;
    if (o.contains(QStringLiteral("检查拒绝原因"))
        && !r.text(o, QStringLiteral("检查拒绝原因"), w, &s.refuseReason, true))
        return false;
    if (!r.flag(o, QStringLiteral("initTask失败"), w, &s.failInit)
        || !r.flag(o, QStringLiteral("startTask失败"), w, &s.failStart)
        || !r.flag(o, QStringLiteral("stopTask失败"), w, &s.failStop)
        || !r.optionalInt(o, QStringLiteral("周期毫秒"), w, 10, 3600000, &s.cycleMs)
        || !r.optionalInt(o, QStringLiteral("图像宽度"), w, 16, 16384, &s.imageWidth)
        || !r.optionalInt(o, QStringLiteral("图像高度"), w, 16, 16384, &s.imageHeight)
        || !r.optionalInt(o, QStringLiteral("预渲染帧数"), w, 1, 16, &s.prerenderedFrames)
        || !r.optionalInt(o, QStringLiteral("不支持类型间隔"), w, 0, 1000000, &s.unsupportedEvery)
        || !r.optionalInt(o, QStringLiteral("PLC掉线间隔秒"), w, 0, 86400, &s.plcLossEverySec)
        || !r.optionalInt(o, QStringLiteral("PLC掉线时长秒"), w, 1, 3600, &s.plcLossSec)
        || !r.optionalInt(o, QStringLiteral("相机掉线间隔秒"), w, 0, 86400, &s.cameraLossEverySec)
        || !r.optionalInt(o, QStringLiteral("相机掉线时长秒"), w, 1, 3600, &s.cameraLossSec)
        || !r.optionalInt(o, QStringLiteral("良品率"), w, 0, 100, &s.okPercent)
        || !r.optionalInt(o, QStringLiteral("结果队列上限"), w, 1, 100000, &s.resultLimit))
        return false;
    if (o.contains(QStringLiteral("图像帧率"))) {
        QString t;
        if (!r.text(o, QStringLiteral("图像帧率"), w, &t))
            return false;
        bool ok = false;
        const double fps = t.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(fps) || fps < 0 || fps > 1000)
            return r.fail(QStringLiteral("%1的“图像帧率”值“%2”无效，应为0到1000的数").arg(w, t));
        s.imageFps = fps;
    }
    if (o.contains(QStringLiteral("图像类型"))) {
        const QJsonValue v = o.value(QStringLiteral("图像类型"));
        QStringList names;
        if (v.isString()) {
            names = v.toString().split(QLatin1Char(','));
        } else if (v.isArray()) {
            for (const QJsonValue &e : v.toArray()) {
                if (!e.isString())
                    return r.fail(QStringLiteral("%1的“图像类型”只能包含文本").arg(w));
                names.append(e.toString());
            }
        } else {
            return r.fail(QStringLiteral("%1的“图像类型”必须是文本或文本列表").arg(w));
        }
        s.imageTypes.clear();
        for (const QString &n : names) {
            ImageType t;
            if (!parseImageType(n, &t))
                return r.fail(QStringLiteral("%1的“图像类型”值“%2”无效，应为8UC1、16UC1、8UC3或8UC4").arg(w, n));
            s.imageTypes.append(t);
        }
        if (s.imageTypes.isEmpty())
            return r.fail(QStringLiteral("%1的“图像类型”为空").arg(w));
    }
    if (o.contains(QStringLiteral("程序号指令地址"))
        && !r.text(o, QStringLiteral("程序号指令地址"), w, &s.programAddress))
        return false;
    if (o.contains(QStringLiteral("随机种子"))) {
        QString t;
        if (!r.text(o, QStringLiteral("随机种子"), w, &t))
            return false;
        bool ok = false;
        s.seed = t.trimmed().toUInt(&ok, 10);
        if (!ok)
            return r.fail(QStringLiteral("%1的“随机种子”值“%2”无效，应为非负整数").arg(w, t));
    }
    *settings = s;
    return true;
}

bool parseStation(const QJsonObject &document, Station *station, QString *error)
{
    Reader r{error};
    if (document.isEmpty())
        return r.fail(QStringLiteral("配置文档为空或无法读取"));
    Station st;
    if (!r.text(document, QStringLiteral("任务名"), QStringLiteral("配置"), &st.taskName))
        return false;
    QString flow;
    if (!r.text(document, QStringLiteral("是否为标准通信流程"), QStringLiteral("配置"), &flow))
        return false;
    if (!flow.contains(QLatin1String("true")) && !flow.contains(QLatin1String("false")))
        return r.fail(QStringLiteral("“是否为标准通信流程”值“%1”无效，应为“true”或“false”").arg(flow));
    st.standardFlow = !flow.contains(QLatin1String("false"));

    QJsonArray stations;
    if (!r.array(document, QStringLiteral("工站列表"), QStringLiteral("配置"), &stations, false))
        return false;
    QSet<QString> keys;
    for (int i = 0; i < stations.size(); ++i) {
        const QString sw = QStringLiteral("第%1个工站").arg(i + 1);
        QJsonObject so;
        QString name;
        if (!r.object(stations.at(i), sw, &so) || !r.text(so, QStringLiteral("工站名"), sw, &name))
            return false;
        const QString where = QStringLiteral("工站“%1”").arg(name);
        QStringList algs;
        if (!readAlgorithms(r, so, where, &algs))
            return false;
        QJsonArray cams;
        if (!r.array(so, QStringLiteral("相机模块列表"), where, &cams, false))
            return false;
        for (int c = 0; c < cams.size(); ++c) {
            Camera cam;
            if (!readCamera(r, cams.at(c), QStringLiteral("%1的第%2个相机").arg(where).arg(c + 1), name,
                            algs.first(), &cam))
                return false;
            if (keys.contains(cam.key))
                return r.fail(QStringLiteral("相机key“%1”重复").arg(cam.key));
            keys.insert(cam.key);
            st.cameras.append(cam);
        }
        st.algorithms += algs;
    }
    if (!readDefects(r, document, &st.defects) || !readSaveSettings(r, document)
        || !readPlcSignals(r, document, &st.plcAddresses))
        return false;
    if (!parseSettings(document.value(kSettingsKey), &st.settings, error))
        return false;
    const qint64 frameMb = st.prerenderedBytes() >> 20;
    if (frameMb > kMaxPrerenderedMb)
        return r.fail(QStringLiteral("%1的预渲染图像共需约%2 MB，超过上限%3 MB")
                          .arg(kSettingsKey)
                          .arg(frameMb)
                          .arg(kMaxPrerenderedMb));
    *station = st;
    return true;
}

int Station::totalShots() const
{
    int n = 0;
    for (const Camera &c : cameras)
        n += c.shots;
    return n;
}

qint64 Station::prerenderedBytes() const
{
    qint64 total = 0;
    const qint64 pixels = qint64(settings.imageWidth) * settings.imageHeight * settings.prerenderedFrames;
    for (int i = 0; i < cameras.size(); ++i) {
        switch (settings.imageTypes.at(i % settings.imageTypes.size())) {
        case ImageType::Gray8: total += pixels; break;
        case ImageType::Gray16: total += pixels * 2; break;
        case ImageType::Bgr8: total += pixels * 3; break;
        case ImageType::Bgra8: total += pixels * 4; break;
        }
    }
    return total;
}

int Station::maxDefectClass() const
{
    int m = 0;
    for (const Defect &d : defects)
        m = std::max(m, d.classNo);
    return m;
}

bool Station::knowsModuleKey(const QString &key) const
{
    if (algorithms.contains(key))
        return true;
    return std::any_of(cameras.begin(), cameras.end(), [&](const Camera &c) { return c.key == key; });
}

} // namespace sim
