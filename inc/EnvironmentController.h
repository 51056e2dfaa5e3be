#ifndef KELVO_ENVIRONMENTCONTROLLER_H
#define KELVO_ENVIRONMENTCONTROLLER_H

#include <memory>
#include <string>

#include "Action.inl"
#include "Exception.h"
#include "Factory.h"
#include "GenericEnvironment.h"

class EnvironmentControllerException : public Exception {
public:
    explicit EnvironmentControllerException(const std::string& message);
};

// Root of the scripting tree and keeper of the show's scenes by name. Owns its scenes: they go
// with the controller (one replaced under its name is kept until then).
class EnvironmentController : public Factory<GenericEnvironment>, public Action<EnvironmentController> {
public:
    EnvironmentController();
    ~EnvironmentController() override;

    // Registers the actions; no scene is active afterwards.
    void initialize();

    // Renders the active scene at time (playback seconds), after it has set its view.
    void render(double time);
    GenericEnvironment* getActiveEnvironment();

    void exit();
    void activateEnvironment(std::string name);
    void loadResources(std::string name);
    // A new, empty 3D scene named name, its child of that name, with the projection start-up set.
    void createEnvironment(std::string name);
    // A new, empty 2D scene named name, its child of that name.
    void createEnvironment2D(std::string name);
    // A new talking scene named name, its child of that name.
    void createTovoEnvironment(std::string name);
    // A new intro or end credits scene named name; they have no actions, so they are no children.
    void createTovoIntroEnvironment(std::string name);
    void createTovoOutroEnvironment(std::string name);
    // Makes the sound engine's single instance (created on first use) the child name.
    void createSoundEngine(std::string name);

    // The perspective projection start-up set (fovy in degrees, aspect width / height, clipping
    // distances), for the 3D scenes to set at each render: passed to those that exist and to those
    // created later.
    void setPerspective(float fovy, float aspect, float zNear, float zFar);

    // Names scene, takes it into the scene table and returns it, replacing an entry of that name
    // without deactivating it. actions, when not null, is the scene's scripting part (the scene
    // itself or a part of it, not owned) and becomes the child of that name.
    GenericEnvironment* registerEnvironment(const std::string& name, std::unique_ptr<GenericEnvironment> scene,
                                            ActionControllable* actions);

private:
    // The scene of the table entry name; throws the factory's not-found error for a missing name.
    GenericEnvironment* findEnvironment(const std::string& name, const char* operation);

    GenericEnvironment* activeEnvironment;  // not owned
    bool initialized;
    bool perspectiveSet;  // false until start-up passes its projection on
    float fieldOfView;    // degrees
    float aspect;         // width / height
    float zNear;          // clipping distances
    float zFar;
};

#endif
