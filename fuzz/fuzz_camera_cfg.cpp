// The configuration document: the loader, then every rule that reads its result
// (main window layout and flow, defect records, the simulated station, the camera
// debug tool's view of it).
#include "FuzzSupport.h"

#include "CameraConfig.h"
#include "Logic_transfer.h"
#include "MainWindowRules.h"
#include "ProductionRules.h"
#include "SimConfig.h"
#include "StationDocument.h"

#include <QJsonArray>
#include <QJsonObject>

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::app();
    // No module library beside the fuzzer: the bridge only serves the loader.
    static std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    static const QString name = QStringLiteral("fuzz_cfg.json");
    fuzzsupport::placeInput(name, data, size);
    const fuzzsupport::QtJsonLeakGuard qtJsonLeak(data, size);

    const QJsonObject document = bridge->load_camera_cfg(name);

    const station::Document view(document);
    const QList<station::Camera> cameras = view.cameras();
    QStringList keys;
    for (int c = 0; c < cameras.size(); ++c) {
        keys << cameras.at(c).key;
        MainWindowRules::shotList(cameras.at(c).key, cameras.at(c).windowName, cameras.at(c).shotCount);
        MainWindowRules::gridCell(c, cameras.size());
    }
    MainWindowRules::cameraForImage(keys.value(0) + QStringLiteral("_1"), keys);
    MainWindowRules::communicationMode(view.standardFlow(), 2);
    production::buildDefectRecords(document.value(stationkey::defectClasses()).toArray(), {});
    view.algorithmNames();
    view.saveImageEntries();
    station::plcSignalsOf(view.plcSignals());

    sim::Station station;
    QString error;
    if (sim::parseStation(document, &station, &error)) {
        station.totalShots();
        station.prerenderedBytes();
        station.maxDefectClass();
    }

    CameraConfig config;
    config.load(fuzzsupport::programFolder(), name);
    for (const CameraEntry &entry : config.cameras())
        CameraConfig::paramsOf(station::Camera(), entry.typeCode);
    return 0;
}
