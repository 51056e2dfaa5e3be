#ifndef KELVO_TOVOOUTROENVIRONMENT_H
#define KELVO_TOVOOUTROENVIRONMENT_H

#include "AnimatedSprite.h"
#include "GenericEnvironment.h"
#include "TextureManager.h"

// The end credits: one flip-book filling the view, three seconds a page, over and over. It has no
// actions of its own.
class TovoOutroEnvironment : public GenericEnvironment {
public:
    TovoOutroEnvironment();
    ~TovoOutroEnvironment() override;
    TovoOutroEnvironment(const TovoOutroEnvironment&) = delete;
    TovoOutroEnvironment& operator=(const TovoOutroEnvironment&) = delete;

    void initialize() override;
    void loadResources() override;
    void render(double time) override;  // time: playback seconds
    void setViewState() override;

    const AnimatedSprite& getCredits() const { return credits; }

private:
    TextureManager textureManager;  // the pages' textures
    AnimatedSprite credits;         // the pages
};

#endif
