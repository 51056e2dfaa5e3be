#include "Sprite3DVisualisation.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL/SDL.h>

#include <algorithm>
#include <cmath>

#include "Camera.h"
#include "Environment.h"
#include "Log.h"
#include "Sprite3D.h"
#include "Texture.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
const char* const SPRITE_NAME = "Sprite";

// glBlendColor, resolved by name at its first use; it stays valid for the process. Null when the
// driver has none: the sprites are then drawn untinted.
PFNGLBLENDCOLORPROC blendColor()
{
    static const PFNGLBLENDCOLORPROC entryPoint = [] {
        PFNGLBLENDCOLORPROC resolved = reinterpret_cast<PFNGLBLENDCOLORPROC>(SDL_GL_GetProcAddress("glBlendColor"));
        if (resolved == nullptr)
            KELVO_LOG(LogLevel::warning)
                                << "blendColor() - glBlendColor not available: particle sprites are not tinted."
                                << logEnd;
        return resolved;
    }();
    return entryPoint;
}
}

Sprite3DVisualisation::Sprite3DVisualisation(Environment* owner)
    : ownSprite(new Sprite3D(owner)), sprite(ownSprite.get()), rampWidth(0), rampHeight(0), owner(owner)
{
    ownSprite->setName(SPRITE_NAME);
    addChildAction(ownSprite.get(), SPRITE_NAME);
    addStringAction("setEnergyTexture", &Sprite3DVisualisation::setEnergyTexture);
}

Sprite3DVisualisation::~Sprite3DVisualisation() = default;

void Sprite3DVisualisation::setEnergyTexture(std::string name)
{
    Texture* texture = owner->getTextureManager().find(name);
    if (texture == nullptr)
        return;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    texture->enable();
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    // A texture without an image has no level 0 to read: the ramp is then empty.
    if (width < 0 || height < 0)
        width = height = 0;
    std::vector<float> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    if (!pixels.empty())
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, pixels.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    ramp.swap(pixels);
    rampWidth = ramp.empty() ? 0 : width;
    rampHeight = ramp.empty() ? 0 : height;
}

void Sprite3DVisualisation::setSprite(const std::string& name)
{
    sprite = owner->getSprites3D().find(name);
}

int Sprite3DVisualisation::rampIndex(float energy) const
{
    if (rampWidth <= 0)
        return 0;
    const float last = static_cast<float>(rampWidth - 1);
    float x = (1.0f - energy) * last + 0.5f;
    // An energy above 1 (a particle born after the time drawn, as after the timer was set back) or
    // below 0 points beyond the ramp's ends; a NaN energy takes the first pixel.
    if (!(x >= 0.0f))
        x = 0.0f;
    else if (x > last)
        x = last;
    return static_cast<int>(x);
}

void Sprite3DVisualisation::tint(float energy) const
{
    if (ramp.empty() || blendColor() == nullptr)
        return;
    const float* pixel = &ramp[static_cast<size_t>(rampIndex(energy)) * 4];
    blendColor()(pixel[0], pixel[1], pixel[2], pixel[3]);
}

void Sprite3DVisualisation::draw(const Vector& position, float size)
{
    sprite->setPosition(position);
    sprite->setWidth(size);
    sprite->setHeight(size);
    sprite->render(0.0);
}

void Sprite3DVisualisation::renderAt(Particle* particle, const Vector& position)
{
    draw(position, particle->size);
}

void Sprite3DVisualisation::renderParticle(Particle* particle)
{
    tint(particle->energy);
    draw(particle->position, particle->size);
}

void Sprite3DVisualisation::renderAll(RingBuffer<Particle>* ring)
{
    // First, so that a scene without a camera throws before anything is changed.
    const Vector eye = owner->getCameraController().getCurrentCamera()->getPosition();

    order.clear();
    for (int i = 0; i < ring->size(); ++i) {
        Particle* particle = (*ring)[i];
        const float distance = (particle->position - eye).length(true);
        // A NaN would break the ordering the sort relies on; such a particle is drawn nowhere anyway.
        order.emplace_back(std::isnan(distance) ? 0.0f : distance, particle);
    }
    // Without depth test the sprite drawn last covers the others: the nearest goes last.
    std::sort(order.begin(), order.end(),
              [](const std::pair<float, Particle*>& a, const std::pair<float, Particle*>& b) {
                  return a.first > b.first;
              });

    glDisable(GL_DEPTH_TEST);
    const bool tinted = !ramp.empty() && blendColor() != nullptr;
    if (tinted)
        glBlendFunc(GL_CONSTANT_COLOR, GL_ONE_MINUS_SRC_ALPHA);
    const auto restore = [] {
        const GLfloat transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, transparent);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_DEPTH_TEST);
    };
    try {
        for (const auto& entry : order)
            renderParticle(entry.second);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}
