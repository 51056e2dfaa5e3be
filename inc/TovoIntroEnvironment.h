#ifndef KELVO_TOVOINTROENVIRONMENT_H
#define KELVO_TOVOINTROENVIRONMENT_H

#include <vector>

#include "GenericEnvironment.h"
#include "KeyframedSprite.h"
#include "TextureManager.h"

// The opening: a title card that fades in, grows, tilts and fades out, a full-view picture, five
// props picked and animated at random and a second full-view picture on top, while the intro music
// plays. The scene keeps its own clock, which starts at its first rendered frame. It has no
// actions of its own.
class TovoIntroEnvironment : public GenericEnvironment {
public:
    TovoIntroEnvironment();
    ~TovoIntroEnvironment() override;
    TovoIntroEnvironment(const TovoIntroEnvironment&) = delete;
    TovoIntroEnvironment& operator=(const TovoIntroEnvironment&) = delete;

    // Loads the music and the sprites; the props draw on the engine's random generator.
    void loadResources() override;
    // Also starts the music, once.
    void initialize() override;
    void render(double time) override;  // time: playback seconds
    void setViewState() override;

    // Read-only views: the sprites in draw order, and the scene's time origin.
    const std::vector<KeyframedSprite>& getSprites() const { return sprites; }
    float getStartTime() const { return startTime; }  // playback seconds; below 0: not yet rendered

private:
    TextureManager textureManager;        // textures of all sprites
    std::vector<KeyframedSprite> sprites;  // draw order: title, first picture, five props, second picture
    float startTime;                       // playback seconds of the scene time 0
};

#endif
