// The camera configuration document ("camera_cfg.json"): read once through the checked
// reader, typed read views over its root object, which is kept whole so that keys the
// console does not know survive every write. Every scalar is a text; a missing key reads
// as an empty text or list, a value that is not a text as an empty text.
#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

// The document's keys, spelt once.
namespace stationkey {
inline QString stations() { return QStringLiteral("工站列表"); }
inline QString stationName() { return QStringLiteral("工站名"); }
inline QString cameraModules() { return QStringLiteral("相机模块列表"); }
inline QString algorithms() { return QStringLiteral("算法列表"); }
inline QString cameraKey() { return QStringLiteral("相机key"); }
inline QString windowName() { return QStringLiteral("界面窗口名称"); }
inline QString shotCount() { return QStringLiteral("单通道拍照数"); }
inline QString moduleName() { return QStringLiteral("模块名称"); }
inline QString trigger() { return QStringLiteral("触发方式"); }
inline QString grabTimeout() { return QStringLiteral("取图超时"); }
inline QString cameraParams() { return QStringLiteral("相机参数"); }
inline QString cameraParamName() { return QStringLiteral("参数名"); }
inline QString cameraParamValues() { return QStringLiteral("相机参数值"); }
inline QString algorithmName() { return QStringLiteral("算法名称"); }
inline QString algorithmParams() { return QStringLiteral("算法初始化参数"); }
inline QString algorithmParamName() { return QStringLiteral("算法参数名"); }
inline QString algorithmParamValues() { return QStringLiteral("算法参数值"); }
inline QString defectClasses() { return QStringLiteral("缺陷类别名称设置"); }
inline QString defectClass() { return QStringLiteral("缺陷类别"); }
inline QString defectName() { return QStringLiteral("缺陷名称"); }
inline QString inspect() { return QStringLiteral("是否检测"); }
inline QString saveImage() { return QStringLiteral("存图设置"); }
inline QString plcSignals() { return QStringLiteral("手动补信号"); }
inline QString standardFlow() { return QStringLiteral("是否为标准通信流程"); }
inline QString taskName() { return QStringLiteral("任务名"); }
// Keys of a "手动补信号" entry and of its "信号值" elements.
inline QString signalName() { return QStringLiteral("信号名"); }
inline QString signalAddress() { return QStringLiteral("指令地址"); }
inline QString signalValues() { return QStringLiteral("信号值"); }
inline QString labelName() { return QStringLiteral("标签名"); }
inline QString labelValue() { return QStringLiteral("标签值"); }
// The four image-saving switches of a "存图设置" entry, in column order.
QStringList saveSwitches();
} // namespace stationkey

namespace station {

// One "相机参数" or "算法初始化参数" element.
struct Parameter
{
    QString name;
    QStringList values;
    QJsonValue stored;
};

struct Camera
{
    int station = 0; // position in "工站列表"
    int index = 0;   // position in the station's "相机模块列表"
    QString key;
    QString windowName;
    QString shotCount;
    QString moduleName;
    QString trigger;
    QString grabTimeout;
    QList<Parameter> parameters;
    QJsonValue stored;
};

struct Algorithm
{
    int station = 0;
    int index = 0; // position in the station's "算法列表"
    QString name;
    QList<Parameter> parameters;
    QJsonValue stored;
};

struct Station
{
    QString name;
    QList<Camera> cameras;
    QList<Algorithm> algorithms;
    QJsonValue stored;
};

struct DefectClass
{
    QString classText; // "缺陷类别", a 1-based number as text
    QString name;
    QString inspect; // "是" or "否"
    QJsonValue stored;
};

struct SaveImageEntry
{
    QString cameraKey;
    QString windowName;
    QStringList switches; // "保存" / "不保存", in the order of stationkey::saveSwitches()
    QJsonValue stored;
};

// One "手动补信号" entry; its "信号值" elements as label name and value.
struct PlcLabel
{
    QString name;
    QString value;
};

struct PlcSignal
{
    QString name;
    QString address;
    QList<PlcLabel> labels;
};

enum class LoadStatus {
    Ok,        // the root object was read
    NoContent, // missing, unreadable, too large or empty file
    NotJson,   // parse error
    NotObject  // valid JSON whose root is not an object
};

// Whether a reader reports a file it cannot read (the loaders do; a quiet probe does not).
enum class UnreadableLine { Logged, Quiet };

class Document
{
public:
    Document() = default;
    explicit Document(const QJsonObject &root);

    // Reads path; every failure gives an empty document and the loader's log lines under
    // `where`, the reader's qualified name: critical " camera_cfg.json not isReadable!" for
    // a file that cannot be read, debug "<path> Content is empty" when nothing was read,
    // critical "<path> is error!" for text that is not JSON; a root that is not an object
    // is not reported.
    static Document read(const QString &path, const QString &where,
                         UnreadableLine unreadable = UnreadableLine::Logged);
    // Reads path as read() does, without any log line (a probe of a folder's files).
    static Document probe(const QString &path);

    LoadStatus status() const { return m_status; }
    bool loaded() const { return m_status == LoadStatus::Ok; }
    const QJsonObject &object() const { return m_root; }
    // The file's bytes as read (empty for a document not read from a file).
    const QByteArray &bytes() const { return m_bytes; }

    // A document that lists stations, as camera configuration documents do.
    bool listsStations() const;
    QList<Station> stations() const;
    QList<Camera> cameras() const;       // of every station, in document order
    QList<Algorithm> algorithms() const; // likewise
    QStringList algorithmNames() const;
    QList<DefectClass> defectClasses() const;
    QList<SaveImageEntry> saveImageEntries() const;
    QJsonArray plcSignals() const; // "手动补信号", an empty array when absent or not a list
    QString standardFlow() const;
    QString taskName() const;

private:
    static Document fromFile(const QString &path, bool *readable);

    QJsonObject m_root;
    QByteArray m_bytes;
    LoadStatus m_status = LoadStatus::NoContent;
};

// Texts of a list parameter value: the array's texts (non-texts as empty texts).
QStringList texts(const QJsonValue &array);

// Views of one stored entry (e.g. one an editor rebuilt); station and index are 0.
Camera cameraOf(const QJsonValue &entry);
Algorithm algorithmOf(const QJsonValue &entry);
// Views of "手动补信号" entries; a non-object reads as an empty entry.
QList<PlcSignal> plcSignalsOf(const QJsonArray &entries);

} // namespace station
