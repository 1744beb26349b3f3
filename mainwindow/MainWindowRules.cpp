#include "MainWindowRules.h"

#include "StationDocument.h"

#include <QRegularExpression>

namespace MainWindowRules {

QString configFileName(int programNumber)
{
    return programNumber == 2 ? QStringLiteral("camera_cfg2.json") : QStringLiteral("camera_cfg.json");
}

int communicationMode(const QString &flagText, int previousMode)
{
    if (flagText.contains(QLatin1String("false")))
        return 1;
    if (flagText.contains(QLatin1String("true")))
        return 2;
    return previousMode;
}

int camerasPerRow(int cameraCount)
{
    return cameraCount <= 4 ? 2 : 3;
}

GridCell gridCell(int camera, int cameraCount)
{
    const int perRow = camerasPerRow(cameraCount);
    const int pair = camera / perRow;
    GridCell cell;
    cell.captionRow = 2 * pair;
    cell.viewRow = 2 * pair + 1;
    cell.column = camera % perRow;
    return cell;
}

ShotList shotList(const QString &key, const QString &windowName, const QString &countText)
{
    ShotList list;
    const QString text = countText.trimmed();
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+$"));
    qint64 count = 0;
    if (number.match(text).hasMatch()) {
        bool ok = false;
        count = text.toLongLong(&ok);
        if (!ok || count < 0 || count > kMaxShotsPerCamera) {
            list.error = QStringLiteral("单通道拍照数 out of range 0..%1: \"%2\" (相机key \"%3\")")
                             .arg(kMaxShotsPerCamera)
                             .arg(countText, key);
            return list;
        }
    }
    for (int i = 0; i < count; ++i) {
        const QString index = QString::number(i);
        list.entries.append(key + QLatin1Char('#') + windowName + QLatin1Char('_') + index);
        list.shotNames.append(key + QLatin1Char('_') + index);
        list.tableTexts.append(windowName + QLatin1Char('_') + index);
    }
    return list;
}

int cameraForImage(const QString &imageName, const QStringList &cameraKeys)
{
    const int cut = imageName.indexOf(QLatin1Char('_'));
    if (cut < 0)
        return -1;
    const QStringRef head = imageName.leftRef(cut);
    for (int c = 0; c < cameraKeys.size(); ++c) {
        if (head == cameraKeys.at(c))
            return c;
    }
    return -1;
}

QRect sceneRect(int viewWidth, int viewHeight)
{
    return QRect(-(viewWidth / 2), -(viewHeight / 2), viewWidth, viewHeight);
}

bool stopPressAccepted(qint64 nowMs, qint64 lastAcceptedMs)
{
    return nowMs - lastAcceptedMs >= kStopDebounceMs;
}

bool isOperator(const QString &roleText)
{
    return roleText.contains(QStringLiteral("操作员"));
}

bool isAdministrator(const QString &roleText)
{
    return roleText.contains(QStringLiteral("管理员"));
}

QString logLine(const QDateTime &when, const QString &text)
{
    return when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss:zzz")) + QLatin1Char(' ') + text;
}

} // namespace MainWindowRules
