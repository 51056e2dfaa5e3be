#ifndef KELVO_ANIMATEDSPRITE_H
#define KELVO_ANIMATEDSPRITE_H

#include <string>
#include <vector>

#include "Action.inl"
#include "Exception.h"
#include "Vector.h"

class Texture;
class TextureManager;

class AnimatedSpriteException : public Exception {
public:
    explicit AnimatedSpriteException(const std::string& message);
};

// A flip-book: a textured square showing the images of a numbered JPEG sequence in turn, each for
// a randomly jittered interval, centred at a position, scaled, rotated about z and tinted by one
// alpha. It sets no projection or render state: its scene does. Copyable: a copy shows the same
// textures and is never registered as a child action object.
class AnimatedSprite : public Action<AnimatedSprite> {
public:
    AnimatedSprite();
    ~AnimatedSprite() override;
    AnimatedSprite(const AnimatedSprite& other) = default;
    AnimatedSprite& operator=(const AnimatedSprite& other) = default;

    void setTextureManager(TextureManager* manager);  // not owned
    void setBaseScale(float x, float y);
    void setFrameTime(float frameTime, float jitter);  // seconds
    void setPosition(const Vector& position);
    void setRotation(float degrees);
    void setScale(const Vector& scale);
    // Kept within [0, 1]; a value that is not a number gives 0.
    void setAlpha(float alpha);

    // Appends prefix1.jpg, prefix2.jpg, ... up to the first missing or unloadable file, each a
    // texture of the manager named after its file. Throws when it appends none.
    void loadImageSequence(std::string prefix);
    void enable();
    void disable();

    // Advances to the next image when its time has come, then draws. time: playback seconds.
    void render(double time);

    int getFrameCount() const { return static_cast<int>(frames.size()); }
    int getCurrentFrame() const { return currentFrame; }  // -1 before the first switch
    float getNextSwitchTime() const { return nextSwitchTime; }
    bool isEnabled() const { return enabled; }
    float getBaseScaleX() const { return baseScaleX; }
    float getBaseScaleY() const { return baseScaleY; }
    float getAlpha() const { return alpha; }
    Vector getPosition() const { return position; }
    Vector getScale() const { return scale; }
    float getRotation() const { return rotation; }

private:
    void registerActions();

    float baseScaleX;  // aspect factors of the images: the longer side 1
    float baseScaleY;
    float frameTime;   // seconds each image is shown
    float jitter;      // seconds of random spread, centred on frameTime
    Vector position;   // centre of the square
    float rotation;    // degrees about z
    Vector scale;      // x and y multiply the base scale
    float alpha;       // 0..1
    std::vector<Texture*> frames;     // in sequence order; owned by the texture manager
    TextureManager* textureManager;   // not owned
    bool enabled;
    int currentFrame;      // index into frames; -1 before the first switch
    float nextSwitchTime;  // playback seconds
    float lastSwitchTime;  // playback seconds of the last switch; a clock going back before it restarts the schedule
};

#endif
