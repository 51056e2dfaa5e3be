#ifndef KELVO_CAMERACONTROLLER_H
#define KELVO_CAMERACONTROLLER_H

#include <memory>
#include <string>

#include "Action.inl"
#include "Camera.h"
#include "Factory.h"

// The cameras of one 3D scene by name and the name of the current one. The scene owns it and
// registers it as its child "cameraController"; the Tab key and the timeline switch cameras.
// Owns its cameras: one replaced under its name is kept until the controller goes, since the
// scene's keyframers may still move it.
class CameraController : public Factory<Camera>, public Action<CameraController> {
public:
    CameraController();
    ~CameraController() override;

    // The factory's lookup by name (the scripting base has a private helper of the same name).
    using Factory<Camera>::find;

    // The camera after the current one in name order, wrapping round; the first one when the
    // current name names no camera. Throws ComponentNotFoundException when there are none.
    void setNextCamera();
    // Makes name current without looking it up: an unknown name fails at getCurrentCamera.
    void setCamera(std::string name);
    // A new camera named name, replacing one of that name; not made current.
    void createHpbCamera(std::string name);
    void createTrackCamera(std::string name);

    // Looked up once per frame by the scene; throws ComponentNotFoundException while the current
    // name names no camera.
    Camera* getCurrentCamera() const;
    // The current name, whether or not it names a camera; "" until one is set.
    const std::string& getCurrentCameraName() const;

private:
    void adopt(const std::string& name, std::unique_ptr<Camera> camera);

    std::string currentCamera;  // empty at first
};

#endif
