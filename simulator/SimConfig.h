// The simulated station as read from a camera configuration document, plus the
// simulator's own settings under the root key "模拟设置".
#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

namespace sim {

// Root key read only by the simulated module.
inline const QString kSettingsKey = QStringLiteral("模拟设置");
// Most memory the pre-rendered frames of all cameras may take.
constexpr qint64 kMaxPrerenderedMb = 2048;

struct Camera
{
    QString key;        // "相机key"
    QString windowName; // "界面窗口名称"
    int shots = 0;      // "单通道拍照数"
    QString station;    // "工站名" of its station
    QString algorithm;  // first "算法名称" of its station
};

struct Defect
{
    int classNo = 0; // "缺陷类别"
    QString name;    // "缺陷名称"
    bool inspect = true; // "是否检测" == "是"
};

// Matrix types the simulator can hand out.
enum class ImageType { Gray8, Gray16, Bgr8, Bgra8 };

struct Settings
{
    QString refuseReason;          // "检查拒绝原因": non-empty refuses the check with this text
    bool failInit = false;         // "initTask失败"
    bool failStart = false;        // "startTask失败"
    bool failStop = false;         // "stopTask失败"
    int cycleMs = 1500;            // "周期毫秒"
    int imageWidth = 1224;         // "图像宽度"
    int imageHeight = 1024;        // "图像高度"
    QList<ImageType> imageTypes{ImageType::Gray8}; // "图像类型": camera i uses entry i mod n
    double imageFps = 3.0;         // "图像帧率" per camera, 0 = no images
    int prerenderedFrames = 3;     // "预渲染帧数" per camera
    int unsupportedEvery = 0;      // "不支持类型间隔": every n-th image of a camera is CV_32FC1, 0 = never
    int plcLossEverySec = 0;       // "PLC掉线间隔秒", 0 = never
    int plcLossSec = 3;            // "PLC掉线时长秒"
    int cameraLossEverySec = 0;    // "相机掉线间隔秒", 0 = never
    int cameraLossSec = 3;         // "相机掉线时长秒"
    int okPercent = 80;            // "良品率"
    QString programAddress = QStringLiteral("D100"); // "程序号指令地址"
    int resultLimit = 32;          // "结果队列上限"
    quint32 seed = 0;              // "随机种子", 0 = a new seed each start
};

struct Station
{
    QString taskName;     // "任务名"
    bool standardFlow = true; // "是否为标准通信流程" contains "true"
    QList<Camera> cameras; // every station's cameras, in document order
    QStringList algorithms; // every "算法名称"
    QList<Defect> defects;
    QStringList plcAddresses; // "手动补信号" addresses
    Settings settings;

    int totalShots() const;
    qint64 prerenderedBytes() const;
    int maxDefectClass() const;
    bool knowsModuleKey(const QString &key) const;
};

// Reads and validates the whole document. On failure returns false and writes a
// readable reason into *error.
bool parseStation(const QJsonObject &document, Station *station, QString *error);

// Reads only "模拟设置" (defaults for missing keys).
bool parseSettings(const QJsonValue &value, Settings *settings, QString *error);

QString imageTypeName(ImageType type);

} // namespace sim
