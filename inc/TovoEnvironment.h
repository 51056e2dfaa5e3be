#ifndef KELVO_TOVOENVIRONMENT_H
#define KELVO_TOVOENVIRONMENT_H

#include "Action.inl"
#include "AnimatedSprite.h"
#include "GenericEnvironment.h"
#include "TextureManager.h"

class SampleBank;

// Two characters, Ki on the left and Ro on the right, taking turns to talk: after a random pause
// one of them, chosen at random, speaks a random clip of their own sample bank while their talking
// flip-book plays for exactly the clip's length, then both fall silent again. The timeline reaches
// the scene's one action, "setEndTime", through the controller.
class TovoEnvironment : public GenericEnvironment, public Action<TovoEnvironment> {
public:
    TovoEnvironment();
    ~TovoEnvironment() override;
    TovoEnvironment(const TovoEnvironment&) = delete;
    TovoEnvironment& operator=(const TovoEnvironment&) = delete;

    // Loads the four flip-books and creates the banks "KiPankki" and "RoPankki" in the sound
    // engine; a second scene of this kind fails there, as the names are taken.
    void initialize() override;
    void loadResources() override;
    void render(double time) override;  // time: playback seconds
    void setViewState() override;

    // No utterance that would end after time (playback seconds) starts; 0 or less: no limit.
    void setEndTime(float time);

    // The two transitions, taken by render when the next event is due. time: playback seconds.
    void startIdleSequence(double time);
    void startTalkSequence(double time);

    // Read-only views of the scene's state.
    int getKiState() const { return kiState; }  // 0 idle, 1 talking
    int getRoState() const { return roState; }
    bool isTalking() const { return talking; }
    float getNextEventTime() const { return nextEventTime; }  // playback seconds; below 0: not scheduled
    float getEndTime() const { return endTime; }
    const AnimatedSprite& getKiSprite(int state) const { return kiSprites[state]; }
    const AnimatedSprite& getRoSprite(int state) const { return roSprites[state]; }
    const TextureManager& getTextureManager() const { return textureManager; }

private:
    TextureManager textureManager;  // textures of the four flip-books
    int kiState;                    // 0 idle, 1 talking; index into kiSprites
    int roState;                    // 0 idle, 1 talking; index into roSprites
    AnimatedSprite kiSprites[2];    // [0] idle, [1] talking
    AnimatedSprite roSprites[2];
    SampleBank* kiBank;             // owned by the sound engine's registry
    SampleBank* roBank;
    bool talking;                   // a clip plays and the next event ends it
    float nextEventTime;            // playback seconds of the next decision; below 0: not yet scheduled
    float endTime;                  // playback seconds; no limit unless above 0
    bool rendered;                  // render has run at least once
    double lastRenderTime;          // playback seconds of the previous render
};

#endif
