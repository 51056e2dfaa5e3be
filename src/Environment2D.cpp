#include "Environment2D.h"

#include <GL/gl.h>

#include <memory>

#include "StringUtil.h"

Environment2D::Environment2D() : faders("Factory<Fader>")
{
    setClassName("Action<Environment2D>");
    addStringAction("createAnimatedSprite", &Environment2D::createAnimatedSprite);
    addStringAction("createFader", &Environment2D::createFader);
}

Environment2D::~Environment2D()
{
    for (AnimatedSprite* sprite : sprites)
        delete sprite;
    sprites.clear();
}

void Environment2D::initialize()
{
    if (initialized)
        return;
    loadResources();
    setViewState();
    initialized = true;
}

void Environment2D::loadResources()
{
    resourcesLoaded = true;
}

void Environment2D::setViewState()
{
    setFlatView();
    glDisable(GL_BLEND);
}

void Environment2D::render(double time)
{
    if (!initialized)
        initialize();
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    for (AnimatedSprite* sprite : sprites)
        sprite->render(time);
    for (const auto& entry : faders.getComponents())
        entry.second->render(time);
}

void Environment2D::createAnimatedSprite(std::string name)
{
    if (!initialized)
        initialize();
    AnimatedSprite* sprite = new AnimatedSprite();
    sprite->setTextureManager(&textureManager);
    addChildAction(sprite, name);
    sprites.push_back(sprite);
}

void Environment2D::createFader(std::string name)
{
    try {
        if (faders.exists(name))
            throw ComponentAlreadyExistsException(faders.getFactoryName(),
                                                  "create() - Unable to create new component. Component " + quoted(name) +
                                                      " already exists in this factory!.");
        auto fader = std::make_unique<Fader>(0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 2.0f);
        fader->setName(name);
        addChildAction(fader.get(), name);
        faders.store(name, std::move(fader));
    } catch (Exception& e) {
        throw EnvironmentException("createFader() - Failed to create Fader. Exception message:" + e.getMessage());
    }
}
