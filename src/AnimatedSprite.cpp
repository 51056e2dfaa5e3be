#include "AnimatedSprite.h"

#include <GL/gl.h>

#include <cstdint>

#include "GLMatrixScope.h"
#include "Random.h"
#include "ResourceLoader.h"
#include "StringUtil.h"
#include "Texture.h"
#include "TextureManager.h"

namespace {
// The single-precision value nearest to 1 / 32767: a generator value times it spans 0..1.
const float RANDOM_SCALE = 1.0f / 32767.0f;
}

AnimatedSpriteException::AnimatedSpriteException(const std::string& message)
{
    addSource("AnimatedSpriteException");
    appendMessage(message);
}

AnimatedSprite::AnimatedSprite()
    : baseScaleX(1.0f), baseScaleY(1.0f), frameTime(1.0f), jitter(0.0f), position(0.0f, 0.0f, 0.0f), rotation(0.0f),
      scale(1.0f, 1.0f, 1.0f), alpha(1.0f), textureManager(nullptr), enabled(true), currentFrame(-1),
      nextSwitchTime(0.0f), lastSwitchTime(0.0f)
{
    registerActions();
}

AnimatedSprite::~AnimatedSprite()
{
    frames.clear();  // the textures belong to the texture manager
}

void AnimatedSprite::registerActions()
{
    setClassName("Action<AnimatedSprite>");
    addStringAction("loadImageSequence", &AnimatedSprite::loadImageSequence);
    addAction("enable", &AnimatedSprite::enable);
    addAction("disable", &AnimatedSprite::disable);
}

void AnimatedSprite::setTextureManager(TextureManager* manager)
{
    textureManager = manager;
}

void AnimatedSprite::setBaseScale(float x, float y)
{
    baseScaleX = x;
    baseScaleY = y;
}

void AnimatedSprite::setFrameTime(float frameTime, float jitter)
{
    this->frameTime = frameTime;
    this->jitter = jitter;
}

void AnimatedSprite::setPosition(const Vector& position)
{
    this->position = position;
}

void AnimatedSprite::setRotation(float degrees)
{
    rotation = degrees;
}

void AnimatedSprite::setScale(const Vector& scale)
{
    this->scale = scale;
}

void AnimatedSprite::setAlpha(float alpha)
{
    if (alpha > 1.0f)
        this->alpha = 1.0f;
    else if (!(alpha >= 0.0f))  // below 0, or not a number
        this->alpha = 0.0f;
    else
        this->alpha = alpha;
}

void AnimatedSprite::loadImageSequence(std::string prefix)
{
    int n = 1;
    std::string missing;  // where the first image was looked for, when it is not there
    try {
        for (;;) {
            const std::string name = prefix + toString(n) + ".jpg";
            if (!ResourceLoader::resourceExists(name)) {
                if (n == 1)
                    missing = ResourceLoader::describeUnreadable(ResourceLoader::joinedPath(name));
                break;
            }
            if (!textureManager)
                break;  // nowhere to keep the images
            textureManager->createTexture(name);
            Texture* texture = textureManager->find(name);
            textureManager->loadCreated(texture, name);
            const float w = static_cast<float>(texture->getWidth());
            const float h = static_cast<float>(texture->getHeight());
            if (h > w)
                setBaseScale(w / h, 1.0f);
            else
                setBaseScale(1.0f, h / w);
            frames.push_back(texture);
            ++n;
        }
    } catch (...) {
        // The sequence ends at the last image that loaded.
    }
    if (n == 1)
        throw AnimatedSpriteException("loadImageSequence() - Failed to load any images from \"" + prefix + "\"!" +
                                      (missing.empty() ? "" : " " + missing));
}

void AnimatedSprite::enable()
{
    enabled = true;
}

void AnimatedSprite::disable()
{
    enabled = false;
}

void AnimatedSprite::render(double time)
{
    if (!enabled || frames.empty())
        return;

    // A clock moved back before the last switch (the timer's reset, set or loopAt): the schedule
    // starts again from now instead of waiting for the old switch time to come round.
    // Compared as stored, so a render at the very time of the last switch is not a step back.
    if (currentFrame >= 0 && static_cast<float>(time) < lastSwitchTime)
        nextSwitchTime = static_cast<float>(time);

    if (time >= nextSwitchTime) {
        const std::uint32_t next = static_cast<std::uint32_t>(currentFrame) + 1u;
        currentFrame = static_cast<int>(next % static_cast<std::uint32_t>(frames.size()));
        const int r = Random::next();
        nextSwitchTime = static_cast<float>((static_cast<float>(r) * jitter * RANDOM_SCALE + frameTime) + time -
                                            jitter * 0.5);
        lastSwitchTime = static_cast<float>(time);
    }
    // Before the first switch (a time below 0) no image is current.
    if (currentFrame < 0)
        return;

    frames[currentFrame]->enable();

    const GLMatrixScope matrix;
    glTranslatef(position.x, position.y, position.z);
    glScalef(scale.x * baseScaleX, scale.y * baseScaleY, 1.0f);
    glRotatef(rotation, 0.0f, 0.0f, 1.0f);
    const float colour[4] = {alpha, alpha, alpha, alpha};
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glColor4fv(colour);
    glVertex3f(-0.5f, 0.5f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glColor4fv(colour);
    glVertex3f(-0.5f, -0.5f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glColor4fv(colour);
    glVertex3f(0.5f, -0.5f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glColor4fv(colour);
    glVertex3f(0.5f, 0.5f, 0.0f);
    glEnd();
}
