#ifndef KELVO_ENVIRONMENT2D_H
#define KELVO_ENVIRONMENT2D_H

#include <string>
#include <vector>

#include "Action.inl"
#include "AnimatedSprite.h"
#include "Factory.h"
#include "Fader.h"
#include "GenericEnvironment.h"
#include "TextureManager.h"

// The flat scene: a white background, animated image-sequence sprites in creation order and
// full-window faders in name order over them, in the orthographic view -1..1 of the flat scenes,
// without blending. The timeline reaches its sprites and faders as its children by name.
class Environment2D : public GenericEnvironment, public Action<Environment2D> {
public:
    Environment2D();
    // Deletes the sprites and the faders.
    ~Environment2D() override;
    Environment2D(const Environment2D&) = delete;
    Environment2D& operator=(const Environment2D&) = delete;

    // Loads the resources and sets the flat view; once.
    void initialize() override;
    void loadResources() override;
    // Clears the colour buffer, then draws the sprites and then the faders at time.
    void render(double time) override;
    // The flat view with blending off.
    void setViewState() override;

    // A new sprite without images, drawn after the earlier ones; the newest of a name is the child
    // of that name. Initializes the scene first.
    void createAnimatedSprite(std::string name);
    // A black fader from opaque to transparent over the first two seconds. Throws
    // EnvironmentException when the name is taken.
    void createFader(std::string name);

    bool isInitialized() const { return initialized; }
    bool areResourcesLoaded() const { return resourcesLoaded; }
    const std::vector<AnimatedSprite*>& getSprites() const { return sprites; }
    const Factory<Fader>& getFaders() const { return faders; }
    TextureManager& getTextureManager() { return textureManager; }

private:

    TextureManager textureManager;
    std::vector<AnimatedSprite*> sprites;  // owned; creation order is draw order
    Factory<Fader> faders;  // by name
};

#endif
