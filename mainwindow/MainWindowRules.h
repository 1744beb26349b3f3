// Rules of the main window that need no widget: document names, camera grid,
// shot lists, image routing, geometry, debounce and the role gate.
#pragma once

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace MainWindowRules {

// "camera_cfg2.json" for program 2, "camera_cfg.json" for any other number.
QString configFileName(int programNumber);

// Mode from "是否为标准通信流程": 1 when it contains "false", else 2 when it
// contains "true", else the previous mode.
int communicationMode(const QString &flagText, int previousMode);


// Cameras per grid row: 2 up to four cameras, 3 beyond.
int camerasPerRow(int cameraCount);

struct GridCell
{
    int captionRow = 0;
    int viewRow = 0;
    int column = 0;
};
GridCell gridCell(int camera, int cameraCount);

// Most shots one camera may list; larger counts are a configuration error.
constexpr int kMaxShotsPerCamera = 1000;

// The shots of one camera. entries are key#window_i; shotNames (key_i) are what a
// per-shot message's camera name is compared with; tableTexts (window_i) fill the
// shot table. All three are built from the parts, never parsed back, so keys or
// window names holding "#" or "_" cannot shift or drop fields.
struct ShotList
{
    QStringList entries;
    QStringList shotNames;
    QStringList tableTexts;
    QString error; // set when the count is outside 0..kMaxShotsPerCamera
};
ShotList shotList(const QString &key, const QString &windowName, const QString &countText);

// Index of the camera whose key is the part of the image name before the first
// "_" (the name must contain "_"); -1 when none. The first matching camera wins.
int cameraForImage(const QString &imageName, const QStringList &cameraKeys);

// Scene rectangle that centres a fitted picture in a view of w x h.
QRect sceneRect(int viewWidth, int viewHeight);

// Stop presses closer than this to the last accepted one are ignored.
constexpr qint64 kStopDebounceMs = 100;
bool stopPressAccepted(qint64 nowMs, qint64 lastAcceptedMs);

// Role texts: operators are refused the administration functions.
bool isOperator(const QString &roleText);
bool isAdministrator(const QString &roleText);

// One line of a log view: time stamp, blank, text.
QString logLine(const QDateTime &when, const QString &text);

} // namespace MainWindowRules
