#include "EnvironmentController.h"

#include <memory>

#include "Environment.h"
#include "Environment2D.h"
#include "ExitNowException.h"
#include "Log.h"
#include "SoundEngine.h"
#include "StringUtil.h"
#include "TovoEnvironment.h"
#include "TovoIntroEnvironment.h"
#include "TovoOutroEnvironment.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

EnvironmentControllerException::EnvironmentControllerException(const std::string& message)
{
    addSource("EnvironmentControllerException");
    appendMessage(message);
}

EnvironmentController::EnvironmentController()
    : Factory<GenericEnvironment>("Factory<GenericEnvironment>"), activeEnvironment(nullptr), initialized(false),
      perspectiveSet(false), fieldOfView(0.0f), aspect(0.0f), zNear(0.0f), zFar(0.0f)
{
}

EnvironmentController::~EnvironmentController() = default;

void EnvironmentController::initialize()
{
    activeEnvironment = nullptr;
    setClassName("Action<EnvironmentController>");
    addAction("exit", &EnvironmentController::exit);
    addStringAction("setActiveEnvironment", &EnvironmentController::activateEnvironment);
    addStringAction("loadResources", &EnvironmentController::loadResources);
    addStringAction("createEnvironment", &EnvironmentController::createEnvironment);
    addStringAction("createEnvironment2D", &EnvironmentController::createEnvironment2D);
    addStringAction("createTovoEnvironment", &EnvironmentController::createTovoEnvironment);
    addStringAction("createTovoIntroEnvironment", &EnvironmentController::createTovoIntroEnvironment);
    addStringAction("createTovoOutroEnvironment", &EnvironmentController::createTovoOutroEnvironment);
    addStringAction("createSoundEngine", &EnvironmentController::createSoundEngine);
    initialized = true;
}

GenericEnvironment* EnvironmentController::registerEnvironment(const std::string& name,
                                                               std::unique_ptr<GenericEnvironment> scene,
                                                               ActionControllable* actions)
{
    if (!initialized)
        initialize();
    if (scene)
        scene->setName(name);
    if (actions)
        addChildAction(actions, name);
    return store(name, std::move(scene));
}

GenericEnvironment* EnvironmentController::findEnvironment(const std::string& name, const char* operation)
{
    GenericEnvironment* scene = Factory<GenericEnvironment>::find(name);
    if (!scene) {
        std::string message = std::string(operation) + "() - Unable to find environment called " + quoted(name) + ".";
        KELVO_LOG(LogLevel::error) << message << logEnd;
        throw EnvironmentControllerException(message);
    }
    return scene;
}

void EnvironmentController::activateEnvironment(std::string name)
{
    KELVO_LOG(LogLevel::info) << "activateEnvironment() - Switching environment to "
                 << quoted(name) << "." << logEnd;
    GenericEnvironment* scene = findEnvironment(name, "activateEnvironment");
    activeEnvironment = scene;
    scene->initialize();
}

void EnvironmentController::loadResources(std::string name)
{
    KELVO_LOG(LogLevel::info) << "loadResources() - loading resources for environment "
                 << quoted(name) << "." << logEnd;
    findEnvironment(name, "loadResources")->loadResources();
}

void EnvironmentController::createEnvironment(std::string name)
{
    auto scene = std::make_unique<Environment>();
    if (perspectiveSet)
        scene->setPerspective(fieldOfView, aspect, zNear, zFar);
    Environment* actions = scene.get();
    registerEnvironment(name, std::move(scene), actions);
}

void EnvironmentController::setPerspective(float fovy, float aspect, float zNear, float zFar)
{
    fieldOfView = fovy;
    this->aspect = aspect;
    this->zNear = zNear;
    this->zFar = zFar;
    perspectiveSet = true;
    for (const auto& entry : components) {
        Environment* scene = dynamic_cast<Environment*>(entry.second.get());
        if (scene)
            scene->setPerspective(fovy, aspect, zNear, zFar);
    }
}

void EnvironmentController::createEnvironment2D(std::string name)
{
    auto scene = std::make_unique<Environment2D>();
    Environment2D* actions = scene.get();
    registerEnvironment(name, std::move(scene), actions);
}

void EnvironmentController::createTovoEnvironment(std::string name)
{
    auto scene = std::make_unique<TovoEnvironment>();
    TovoEnvironment* actions = scene.get();
    registerEnvironment(name, std::move(scene), actions);
}

void EnvironmentController::createTovoIntroEnvironment(std::string name)
{
    registerEnvironment(name, std::make_unique<TovoIntroEnvironment>(), nullptr);
}

void EnvironmentController::createTovoOutroEnvironment(std::string name)
{
    registerEnvironment(name, std::make_unique<TovoOutroEnvironment>(), nullptr);
}

void EnvironmentController::createSoundEngine(std::string name)
{
    // A child only: the engine is no scene and never enters the scene table.
    addChildAction(SoundEngine::getInstance(), name);
}

void EnvironmentController::exit()
{
    throw ExitNowException("Exit requested.");
}

void EnvironmentController::render(double time)
{
    if (!activeEnvironment) {
        const char* message = "render() - No environment available! Unable to render the scene.";
        KELVO_LOG(LogLevel::error) << message << logEnd;
        throw EnvironmentControllerException(message);
    }
    activeEnvironment->setViewState();
    activeEnvironment->render(time);
}

GenericEnvironment* EnvironmentController::getActiveEnvironment()
{
    if (!activeEnvironment) {
        const char* message = "getActiveEnvironment() - No environments active!";
        KELVO_LOG(LogLevel::error) << message << logEnd;
        throw EnvironmentControllerException(message);
    }
    return activeEnvironment;
}
