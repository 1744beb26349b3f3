// Widget-free rules of the camera debug tool: camera type codes, camera list rows,
// the per-camera module copy, exposure/gain commands, parameter table checks, save names.
#pragma once

#include <QDateTime>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

namespace camerarules {

enum class Trigger { Hard, Soft, Any };

struct CameraType
{
    int code;
    const char *moduleName; // substring of "模块名称"
    Trigger trigger;        // tested against "触发方式"
    QString typeText;       // shown in the camera list
    Trigger listBox;        // box the camera list ticks (Hard or Soft)
};

// The table in document order (the order cameraTypeCode tests).
const QVector<CameraType> &cameraTypes();

// Code for a camera-module entry's "模块名称" and "触发方式"; -1 when nothing matches.
int cameraTypeCode(const QString &moduleName, const QString &trigger);
// Row of the table for a code, or null.
const CameraType *typeForCode(int code);
// Code for a type text and the ticked trigger box, in the order the connect tests them
// (the network Dalsa row before the capture-card rows); -1 when nothing matches.
int codeForTypeText(const QString &typeText, bool hardChecked, bool softChecked);

// Camera list row: "相机" N ": " type text, then " 硬触发" / " 软触发" for the ticked box.
QString cameraRowText(int number, const QString &typeText, bool hardChecked, bool softChecked);
// Camera number of a row text (0 when it holds no number).
int cameraNumber(const QString &rowText);
// Type text of a row: the text after ": " with the trigger word removed.
QString rowTypeText(const QString &rowText);
// Trigger word of a row: Hard, Soft, or Any when it names none.
Trigger rowTrigger(const QString &rowText);

// The library in the program folder and camera N's private copy of it.
QString moduleLibraryPath(const QString &programFolder);
QString moduleCopyPath(const QString &programFolder, int cameraIndex);
// Makes a fresh copy for camera N: an old copy is removed first (never written over), then
// the library copied. False with the reason when no fresh copy exists.
bool prepareModuleCopy(const QString &programFolder, int cameraIndex, QString *copyPath,
                       QString *error);

// Exposure and gain commands, C locale: {"SetExposureTime_5000#", "SetGain_2.50"}.
QStringList exposureGainCommands(int exposure, double gain, int gainDecimals);

// Parameter table rows (name, value) into a parameter map.
enum class ParamCheck {
    Ok,
    EmptyCell, // "相机参数错误" / "相机参数名或参数值为空"
    NoSerial   // "相机key参数错误" / "未输入SN"
};
ParamCheck parseParamRows(const QVector<QPair<QString, QString>> &rows, QMap<QString, QString> *map);

// Debug image names: the time stamp, a counter suffix for a repeated stamp, and ".bmp", or
// ".png" for frames a bitmap cannot hold whole (16-bit, or 4 channels with alpha).
class SaveNamer
{
public:
    QString next(const QString &folder, const QDateTime &now, int matType);

private:
    QString m_lastStamp;
    int m_repeat = 0;
};

} // namespace camerarules
