#include "CameraRules.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <opencv2/core.hpp>

namespace camerarules {
namespace {

const QString kHardWord = QStringLiteral(" 硬触发");
const QString kSoftWord = QStringLiteral(" 软触发");

bool triggerMatches(Trigger want, const QString &trigger)
{
    switch (want) {
    case Trigger::Hard:
        return trigger.contains(QLatin1String("hard"));
    case Trigger::Soft:
        return trigger.contains(QLatin1String("soft"));
    case Trigger::Any:
        break;
    }
    return true;
}

bool boxMatches(Trigger want, bool hardChecked, bool softChecked)
{
    switch (want) {
    case Trigger::Hard:
        return hardChecked;
    case Trigger::Soft:
        return softChecked;
    case Trigger::Any:
        break;
    }
    return true;
}

} // namespace

const QVector<CameraType> &cameraTypes()
{
    static const QVector<CameraType> table{
        {0, "HIK", Trigger::Hard, QStringLiteral("2D：海康（面阵/线扫）"), Trigger::Hard},
        {1, "HIK", Trigger::Soft, QStringLiteral("2D：海康（面阵/线扫）"), Trigger::Soft},
        {2, "Basler", Trigger::Hard, QStringLiteral("2D：Basler（面阵/线扫）"), Trigger::Hard},
        {3, "Basler", Trigger::Soft, QStringLiteral("2D：Basler（面阵/线扫）"), Trigger::Soft},
        {6, "DaHeng", Trigger::Hard, QStringLiteral("2D：大恒（面阵）"), Trigger::Hard},
        {7, "DaHeng", Trigger::Soft, QStringLiteral("2D：大恒（面阵）"), Trigger::Soft},
        {4, "DAHUA", Trigger::Hard, QStringLiteral("2D：大华（面阵）"), Trigger::Hard},
        {5, "DAHUA", Trigger::Soft, QStringLiteral("2D：大华（面阵）"), Trigger::Soft},
        {11, "ITEK", Trigger::Hard, QStringLiteral("2D：埃科（线扫）"), Trigger::Hard},
        {12, "ITEK", Trigger::Soft, QStringLiteral("2D：埃科（线扫）"), Trigger::Soft},
        {14, "OPT", Trigger::Soft, QStringLiteral("2D：Opt（面阵）"), Trigger::Soft},
        {9, "DalsaDAQH", Trigger::Hard, QStringLiteral("2D：Dalsa（采集卡线扫）"), Trigger::Hard},
        {10, "DalsaDAQ", Trigger::Soft, QStringLiteral("2D：Dalsa（采集卡线扫）"), Trigger::Soft},
        {8, "Dalsa", Trigger::Any, QStringLiteral("2D：Dalsa（网口线扫）"), Trigger::Hard},
        {16, "Bx_CameraModule_3DKeyence", Trigger::Any, QStringLiteral("3D：基恩士"), Trigger::Soft},
        {17, "Bx_CameraModule_3DLMI", Trigger::Any, QStringLiteral("3D：LMI"), Trigger::Soft},
        {18, "Bx_CameraModule_3DSszn", Trigger::Any, QStringLiteral("3D：深视智能"), Trigger::Soft},
        {15, "Bx_25DCameraVJ_module", Trigger::Any, QStringLiteral("2.5D：基恩士"), Trigger::Soft},
        {1000, "Bx_CameraModule_readImage", Trigger::Any, QStringLiteral("离线：读图模块"), Trigger::Soft},
    };
    return table;
}

int cameraTypeCode(const QString &moduleName, const QString &trigger)
{
    for (const CameraType &t : cameraTypes())
        if (moduleName.contains(QLatin1String(t.moduleName)) && triggerMatches(t.trigger, trigger))
            return t.code;
    return -1;
}

const CameraType *typeForCode(int code)
{
    for (const CameraType &t : cameraTypes())
        if (t.code == code)
            return &t;
    return nullptr;
}

int codeForTypeText(const QString &typeText, bool hardChecked, bool softChecked)
{
    static const int order[] = {0, 1, 2, 3, 6, 7, 4, 5, 11, 12, 14, 8, 9, 10, 16, 17, 18, 15, 1000};
    for (int code : order) {
        const CameraType *t = typeForCode(code);
        // Hard/soft rows test the ticked box; the "any" rows none.
        if (typeText.contains(t->typeText) && boxMatches(t->trigger, hardChecked, softChecked))
            return code;
    }
    return -1;
}

QString cameraRowText(int number, const QString &typeText, bool hardChecked, bool softChecked)
{
    QString text = QStringLiteral("相机") + QString::number(number) + QStringLiteral(": ") + typeText;
    if (hardChecked)
        text += kHardWord;
    else if (softChecked)
        text += kSoftWord;
    return text;
}

int cameraNumber(const QString &rowText)
{
    const QString head = rowText.section(QLatin1Char(':'), 0, 0);
    const int at = head.indexOf(QStringLiteral("相机"));
    if (at < 0)
        return 0;
    bool ok = false;
    const int n = head.mid(at + 2).toInt(&ok);
    return ok ? n : 0;
}

QString rowTypeText(const QString &rowText)
{
    const int at = rowText.indexOf(QStringLiteral(": "));
    QString text = at < 0 ? QString() : rowText.mid(at + 2);
    text.remove(kHardWord.mid(1));
    text.remove(kSoftWord.mid(1));
    return text;
}

Trigger rowTrigger(const QString &rowText)
{
    if (rowText.contains(kHardWord.mid(1)))
        return Trigger::Hard;
    if (rowText.contains(kSoftWord.mid(1)))
        return Trigger::Soft;
    return Trigger::Any;
}

QString moduleLibraryPath(const QString &programFolder)
{
    return programFolder + QStringLiteral("/Bx_CameraModule_All.so");
}

QString moduleCopyPath(const QString &programFolder, int cameraIndex)
{
    return programFolder + QStringLiteral("/Bx_CameraModule_All#") + QString::number(cameraIndex)
           + QStringLiteral(".so");
}

bool prepareModuleCopy(const QString &programFolder, int cameraIndex, QString *copyPath,
                       QString *error)
{
    const QString source = moduleLibraryPath(programFolder);
    const QString copy = moduleCopyPath(programFolder, cameraIndex);
    *copyPath = copy;
    if (!QFileInfo(source).isFile()) {
        *error = source + QStringLiteral(": not found");
        return false;
    }
    // A loaded copy keeps its mapping of the removed file; the new file is a new inode.
    QFile old(copy);
    if ((old.exists() || QFileInfo(copy).isSymLink()) && !old.remove()) {
        *error = copy + QStringLiteral(": ") + old.errorString();
        return false;
    }
    QFile library(source);
    if (!library.copy(copy)) {
        *error = copy + QStringLiteral(": ") + library.errorString();
        return false;
    }
    return true;
}

QStringList exposureGainCommands(int exposure, double gain, int gainDecimals)
{
    const QLocale c = QLocale::c();
    return {QStringLiteral("SetExposureTime_") + c.toString(exposure) + QLatin1Char('#'),
            QStringLiteral("SetGain_") + c.toString(gain, 'f', gainDecimals)};
}

ParamCheck parseParamRows(const QVector<QPair<QString, QString>> &rows, QMap<QString, QString> *map)
{
    QMap<QString, QString> result;
    for (const auto &row : rows) {
        if (row.first.isEmpty() || row.second.isEmpty())
            return ParamCheck::EmptyCell;
        if (row.first == QStringLiteral("相机key") && row.second == QStringLiteral("输入SN"))
            return ParamCheck::NoSerial;
        result.insert(row.first, row.second);
    }
    *map = result;
    return ParamCheck::Ok;
}

QString SaveNamer::next(const QString &folder, const QDateTime &now, int matType)
{
    const QString stamp = now.toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss-zzz"));
    if (stamp == m_lastStamp) {
        ++m_repeat;
    } else {
        m_lastStamp = stamp;
        m_repeat = 0;
    }
    QString name = stamp;
    if (m_repeat > 0)
        name += QLatin1Char('_') + QString::number(m_repeat);
    const bool png = CV_MAT_DEPTH(matType) == CV_16U || CV_MAT_CN(matType) == 4;
    return folder + QLatin1Char('/') + name + (png ? QStringLiteral(".png") : QStringLiteral(".bmp"));
}

} // namespace camerarules
