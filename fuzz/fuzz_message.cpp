// One module message through the main window's widget-free dispatch rules. The input is
// key, camera name and serial number on the first three lines; the rest is the data bytes.
#include "FuzzSupport.h"

#include "MainWindowRules.h"
#include "ProductionRules.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>

using namespace production;

namespace {

QString takeLine(QByteArray &rest)
{
    const int end = rest.indexOf('\n');
    const QByteArray line = end < 0 ? rest : rest.left(end);
    rest = end < 0 ? QByteArray() : rest.mid(end + 1);
    return QString::fromUtf8(line);
}

QList<DefectData> stationDefects()
{
    QJsonArray entries;
    for (int c = 1; c <= 4; ++c)
        entries.append(QJsonObject{{QStringLiteral("缺陷类别"), QString::number(c)},
                                   {QStringLiteral("缺陷名称"), QStringLiteral("缺陷%1").arg(c)}});
    return buildDefectRecords(entries, {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray rest(reinterpret_cast<const char *>(data), int(size));
    const QString key = takeLine(rest);
    const QString cameraName = takeLine(rest);
    const QString snInfo = takeLine(rest);
    const QByteArray &byte = rest;

    const QString myByte = dataText(byte);
    const QDateTime now = QDateTime(QDate(2026, 3, 1), QTime(20, 29, 59, 999));
    const QString stamp = logStamp(now);

    switch (classifyKey(key)) {
    case MessageKind::PlcLink:
        linkStateText(linkConnected(key));
        return 0;
    case MessageKind::CameraLink: {
        OfflineCameras offline;
        offline.report(cameraName, linkConnected(key));
        linkStateText(linkConnected(key));
        return 0;
    }
    case MessageKind::Data:
        break;
    }

    QQueue<QString> lines;
    appendBounded(lines, runLine(1, stamp, key, cameraName, snInfo, myByte), 1);
    const ShiftId shift = shiftOf(now);
    QString verdictData = myByte;
    if (isProgramSwitchKey(key)) {
        const SwitchDecision d = decideProgramSwitch(myByte, 1);
        if (d.action == SwitchDecision::NotANumber)
            return 0;
        MainWindowRules::configFileName(d.number);
    } else if (isResultData(myByte)) {
        verdictData = isOkResult(myByte) ? QStringLiteral("OK") : QStringLiteral("NG");
        appendBounded(lines, resultLine(1, stamp, snInfo, verdictData), 1);
        okRateText(shift.night ? 1 : 0, 1);
    }
    static const QList<DefectData> defects = stationDefects();
    for (int position : defectPositions(verdictData))
        recordOfClass(defects, position);
    MainWindowRules::cameraForImage(cameraName, {QStringLiteral("cam1"), QStringLiteral("cam2")});
    return 0;
}
