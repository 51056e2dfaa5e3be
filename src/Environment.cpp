#include "Environment.h"

#include <GL/gl.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "3dsLoader.h"
#include "Actor.h"
#include "Camera.h"
#include "KeyframedActor.h"
#include "KeyframedMesh.h"
#include "FontSet.h"
#include "Log.h"
#include "SkySphere.h"
#include "Sprite2D.h"
#include "Sprite3D.h"
#include "Surface.h"
#include "StringUtil.h"
#include "Text3D.h"
#include "XMLSceneLoader.h"
#include "lwloader/LWLoader.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
// The projection start-up sets until the controller passes on the command line's: 45 degrees over
// the 640x480 window, clipping planes at 1 and 300.
const float DEFAULT_FIELD_OF_VIEW = 45.0f;
const float DEFAULT_ASPECT = 640.0f / 480.0f;
const float DEFAULT_Z_NEAR = 1.0f;
const float DEFAULT_Z_FAR = 300.0f;
}

Environment::Environment()
    : lightCount(0), currentSurface(nullptr), ambient(0.1f, 0.1f, 0.1f, 1.0f), texturing(true),
      keyframerController(new KeyframerController(this)), lights("Factory<Light>"), surfaces("Factory<Surface>"),
      keyframedMeshes("Factory<KeyframedMesh>"), actors("Factory<Actor>"),
      keyframedActors("Factory<KeyframedActor>"), sprites2D("Factory<Sprite2D>"), sprites3D("Factory<Sprite3D>"),
      faders("Factory<Fader>"), texts3D("Factory<Text3D>"), fontSets("Factory<FontSet>"), lighting(true),
      clearColour(0.0f, 0.0f, 0.0f, 0.0f),
      fieldOfView(DEFAULT_FIELD_OF_VIEW), aspect(DEFAULT_ASPECT), zNear(DEFAULT_Z_NEAR), zFar(DEFAULT_Z_FAR)
{
    setClassName("Action<Environment>");
    addStringAction("load3DS", &Environment::load3DS);
    addStringAction("loadLWO", &Environment::loadLWO);
    addStringAction("loadXMLScene", &Environment::loadXMLScene);
    addStringAction("createSkySphere", &Environment::createSkySphere);
    addStringAction("createSprite", &Environment::createSprite);
    addStringAction("createSprite3D", &Environment::createSprite3D);
    addStringAction("createFader", &Environment::createFader);
    addStringAction("setBackgroundColor", &Environment::setBackgroundColor);
    addStringAction("disableActor", &Environment::disableActor);
    addStringAction("createText3D", &Environment::createText3D);
    addStringAction("createFontSet", &Environment::createFontSet);
    addChildAction(&textureManager, "textureManager");
    addChildAction(&cameraController, "cameraController");
}

Environment::~Environment() = default;

void Environment::initialize()
{
    if (initialized)
        return;
    loadResources();
    KELVO_LOG(LogLevel::info) << "initialize() - Initializing environment " << quoted(getName())
                 << "." << logEnd;
    // Decided once: lights loaded after this do not switch the scene's lighting on.
    if (lights.size() == 0) {
        KELVO_LOG(LogLevel::info) << "initialize() - Scene has no lights, lighting is disabled."
                     << logEnd;
        lighting = false;
    }
    if (lighting)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    glEnable(GL_TEXTURE_2D);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient.data());
    keyframerController->initialize();
    initialized = true;
    printInfo();
}

void Environment::loadResources()
{
    resourcesLoaded = true;
}

void Environment::setViewState()
{
    Camera::setPerspective(fieldOfView, aspect, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    if (lighting)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    // Every scene numbers its lights from GL_LIGHT0: the numbers beyond this scene's own may still
    // be on with another scene's lights. This scene's own are switched on again as it renders.
    GLint maxLights = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
    for (GLint i = lightCount; i < maxLights; ++i)
        glDisable(static_cast<GLenum>(GL_LIGHT0 + i));
    glShadeModel(GL_SMOOTH);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient.data());
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setClearColor(clearColour.r, clearColour.g, clearColour.b, clearColour.a);
}

void Environment::render(double time)
{
    if (!initialized) {
        KELVO_LOG(LogLevel::warning) << "render() - Not initialized. Initializing.." << logEnd;
        initialize();
    }
    glClear(GL_DEPTH_BUFFER_BIT);
    currentCamera()->render(time);
    if (skySphere)
        skySphere->render(0.0);
    else
        glClear(GL_COLOR_BUFFER_BIT);

    if (lighting && lights.size() > 0) {
        glEnable(GL_LIGHTING);
        for (const auto& entry : lights.getComponents())
            if (entry.second)
                entry.second->enable(time);
    }

    // The scene's objects follow, each kind in name order; faders cover everything, so they come
    // last.
    for (const auto& entry : keyframedMeshes.getComponents())
        if (entry.second)
            entry.second->render(time);
    for (const auto& entry : keyframedActors.getComponents())
        if (entry.second)
            entry.second->render(time);
    for (const auto& entry : sprites2D.getComponents())
        if (entry.second)
            entry.second->render(time);
    for (const auto& entry : sprites3D.getComponents())
        if (entry.second)
            entry.second->render(time);
    for (const auto& entry : texts3D.getComponents())
        if (entry.second)
            entry.second->render(time);
    for (const auto& entry : faders.getComponents())
        if (entry.second)
            entry.second->render(time);
}

Camera* Environment::currentCamera() const
{
    try {
        return cameraController.getCurrentCamera();
    } catch (const ComponentNotFoundException& e) {
        // The scene says which camera is missing and how to set one; the lookup's own text follows.
        const std::string name = cameraController.getCurrentCameraName();
        const std::string missing =
            name.empty() ? std::string("no camera was set")
                         : "its current camera " + quoted(name) + " names none of the scene's cameras";
        throw ComponentNotFoundException(
            "Environment", "render() - Environment " + quoted(getName()) + " has no camera to draw through: " + missing +
                               ". The action \"" + getName() + ".cameraController.setCamera\" sets one. " +
                               e.getMessage());
    }
}

void Environment::load3DS(std::string file)
{
    KELVO_LOG(LogLevel::info) << "load3DS() - Loading .3ds scene " << quoted(file)
                 << " to Environment " << quoted(getName()) << ".." << logEnd;
    try {
        _3dsLoader loader;
        loader.load(file, this);
    } catch (const Exception& e) {
        throw EnvironmentException("load3DS() - Failed to load .3ds scene file " + quoted(file) + ". Caught an exception. " +
                                   e.getMessage());
    } catch (const std::exception& e) {
        throw EnvironmentException("load3DS() - Failed to load .3ds scene file " + quoted(file) + ". " + e.what());
    }
    KELVO_LOG(LogLevel::info) << "load3DS() - Loading completed." << logEnd;
}

void Environment::loadLWO(std::string file)
{
    if (actors.exists(file)) {
        KELVO_LOG(LogLevel::debug) << "loadLWO() - Reusable already loaded object " << quoted(file)
                     << " already exists in the Environment " << quoted(getName()) << ". Load command ignored."
                     << logEnd;
        return;
    }
    KELVO_LOG(LogLevel::info) << "loadLWO() - Loading LightWave object " << quoted(file)
                 << " to Environment " << quoted(getName()) << ".." << logEnd;
    const std::string failure = "loadLWO() - Panic! Failed to load LightWave object " + quoted(file) + ". ";
    try {
        // Registered only once filled: an object that failed to load is not handed out to the
        // next user of its file name, which tries the file again and fails the same way.
        auto actor = std::make_unique<Actor>(this);
        actor->setName(file);
        LWLoader loader(actor.get(), this);
        loader.loadObject(file);
        loader.fillObject(actor.get());
        actors.store(file, std::move(actor));
    } catch (const Exception& e) {
        throw EnvironmentException(failure + e.getMessage());
    } catch (const std::exception& e) {
        throw EnvironmentException(failure + e.what());
    } catch (...) {
        throw EnvironmentException(failure + "Unknown error!?");
    }
    KELVO_LOG(LogLevel::info) << "loadLWO() - Loading successfully completed." << logEnd;
}

void Environment::loadXMLScene(std::string file)
{
    KELVO_LOG(LogLevel::info) << "loadXMLScene() - Loading XML Scene object " << quoted(file)
                 << " to Environment " << quoted(getName()) << ".." << logEnd;
    const std::string failure = "loadXMLScene() - Failed to load XML scene file " + quoted(file) + ". ";
    try {
        XMLSceneLoader loader(this);
        loader.load(file);
    } catch (const Exception& e) {
        throw EnvironmentException(failure + e.getMessage());
    } catch (const std::exception& e) {
        throw EnvironmentException(failure + e.what());
    }
}

void Environment::createSkySphere(std::string name)
{
    if (skySphere) {
        // The old name would otherwise reach a deleted object.
        const std::string oldName = skySphere->getName();
        if (getChildAction(oldName) == skySphere.get())
            removeChildAction(oldName);
        skySphere.reset();
    }
    skySphere.reset(new SkySphere(this));
    skySphere->setName(name);
    addChildAction(skySphere.get(), name);
}

template <typename T, typename Make>
void Environment::createNamed(Factory<T>& factory, const std::string& name, const char* failure, Make make)
{
    try {
        if (factory.exists(name))
            throw ComponentAlreadyExistsException(factory.getFactoryName(),
                                                  "create() - Unable to create new component. Component " + quoted(name) +
                                                      " already exists in this factory!.");
        std::unique_ptr<T> component(make());
        component->setName(name);
        addChildAction(component.get(), name);
        factory.store(name, std::move(component));
    } catch (Exception& e) {
        throw EnvironmentException(failure + e.getMessage());
    }
}

void Environment::createSprite(std::string name)
{
    createNamed(sprites2D, name, "createSprite() - Failed to create Sprite. Exception message:",
                [this] { return new Sprite2D(this); });
}

void Environment::createSprite3D(std::string name)
{
    // The same text as a screen-space sprite's.
    createNamed(sprites3D, name, "createSprite() - Failed to create Sprite. Exception message:",
                [this] { return new Sprite3D(this); });
}

void Environment::createFader(std::string name)
{
    // Black, from opaque to transparent over the first two seconds.
    createNamed(faders, name, "createFader() - Failed to create Fader. Exception message:",
                [] { return new Fader(0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 2.0f); });
}

void Environment::setBackgroundColor(std::string colour)
{
    GenericEnvironment::setBackgroundColor(colour);
    // Valid now: the base has parsed it without a failure.
    clearColour = RGBA(colour);
}

void Environment::disableActor(std::string name)
{
    try {
        if (Actor* actor = actors.find(name))
            actor->setEnabled(false);
    } catch (ComponentNotFoundException& e) {
        KELVO_LOG(LogLevel::info) << "Actor disabling failed: " << e.getMessage() << logEnd;
    }
}

void Environment::createText3D(std::string name)
{
    createNamed(texts3D, name, "createText3D() - Failed to create 3D text. Exception message:",
                [this] { return new Text3D(this); });
}

void Environment::createFontSet(std::string name)
{
    createNamed(fontSets, name, "createFontSet() - Failed to create font set. Exception message:",
                [this] { return new FontSet(this); });
}

void Environment::setPerspective(float fovy, float aspect, float zNear, float zFar)
{
    fieldOfView = fovy;
    this->aspect = aspect;
    this->zNear = zNear;
    this->zFar = zFar;
}

void Environment::setAmbient(float r, float g, float b)
{
    ambient.set(r, g, b, 1.0f);
}

int Environment::reserveLightIndex()
{
    GLint maxLights = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
    if (lightCount >= maxLights)
        throw EnvironmentException("reserveLightIndex() - Maximum light count exceeded!\n");
    return GL_LIGHT0 + lightCount++;
}

void Environment::releaseLightIndex(int light)
{
    if (lightCount > 0)
        --lightCount;
    GLint maxLights = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
    // Only a light number OpenGL knows, so a stray value leaves no GL error behind.
    if (light >= GL_LIGHT0 && light < GL_LIGHT0 + maxLights)
        glDisable(static_cast<GLenum>(light));
}

void Environment::enableTexturing()
{
    glEnable(GL_TEXTURE_2D);
    if (lighting)
        glEnable(GL_LIGHTING);
    texturing = true;
}

void Environment::disableTexturing()
{
    glDisable(GL_TEXTURE_2D);
    if (lighting)
        glDisable(GL_LIGHTING);
    texturing = false;
}

void Environment::printInfo()
{
    KELVO_LOG(LogLevel::info) << "printInfo() - Statistics: Environment " << quoted(getName())
                 << " has " << toString(cameraController.size()) << " cameras, "
                 << toString(keyframedMeshes.size()) << " meshes, " << toString(actors.size()) << " actors, "
                 << toString(keyframedActors.size()) << " keyframed actors, " << toString(lights.size())
                 << " lights, " << toString(surfaces.size()) << " surfaces (in library) and "
                 << toString(textureManager.size()) << " textures. " << logEnd;
}
