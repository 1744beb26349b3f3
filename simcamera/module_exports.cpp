// Exports of the simulated camera module library, resolved by name by the camera debug tool.
// Every loaded copy of the library keeps its own count of live cameras.
#include "SimCamera.h"

#include <atomic>

namespace {
std::atomic<int> liveCameras{0};
} // namespace

extern "C" {

Q_DECL_EXPORT CameraModule *create(int typeCode)
{
    if (!SimCamera::knownTypeCode(typeCode))
        return nullptr;
    ++liveCameras;
    return new SimCamera(typeCode);
}

// Spelled as the tool resolves it.
Q_DECL_EXPORT void destory(CameraModule *camera)
{
    if (!camera)
        return;
    --liveCameras;
    delete static_cast<SimCamera *>(camera);
}

// Test probes: cameras alive in this copy, and a camera's call journal.
Q_DECL_EXPORT int simLiveCameras()
{
    return liveCameras.load();
}

Q_DECL_EXPORT void simJournal(const CameraModule *camera, QStringList *out)
{
    if (camera && out)
        *out = static_cast<const SimCamera *>(camera)->journal;
}

}
