#include "CameraController.h"

#include <memory>

#include "HpbCamera.h"
#include "Log.h"
#include "TrackCamera.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

CameraController::CameraController() : Factory<Camera>("Factory<CameraController>")
{
    setClassName("Action<CameraController>");
    addAction("nextCamera", &CameraController::setNextCamera);
    addStringAction("setCamera", &CameraController::setCamera);
    addStringAction("createHpbCamera", &CameraController::createHpbCamera);
    addStringAction("createTrackCamera", &CameraController::createTrackCamera);
}

CameraController::~CameraController() = default;

void CameraController::setNextCamera()
{
    if (components.empty()) {
        const std::string message = "setNextCamera() - There are no cameras available.";
        KELVO_LOG(LogLevel::error) << message << logEnd;
        throw ComponentNotFoundException("CameraController", message);
    }
    currentCamera = getNext(currentCamera);
    KELVO_LOG(LogLevel::info) << "setNextCamera() - Switched camera to \"" << currentCamera
                 << "\"." << logEnd;
}

void CameraController::setCamera(std::string name)
{
    currentCamera = name;
    KELVO_LOG(LogLevel::info) << "setNextCamera() - Switched camera to \"" << currentCamera
                 << "\"." << logEnd;
}

void CameraController::createHpbCamera(std::string name)
{
    adopt(name, std::make_unique<HpbCamera>());
}

void CameraController::createTrackCamera(std::string name)
{
    adopt(name, std::make_unique<TrackCamera>());
}

Camera* CameraController::getCurrentCamera() const
{
    return find(currentCamera);
}

const std::string& CameraController::getCurrentCameraName() const
{
    return currentCamera;
}

void CameraController::adopt(const std::string& name, std::unique_ptr<Camera> camera)
{
    camera->setName(name);
    store(name, std::move(camera));
}
