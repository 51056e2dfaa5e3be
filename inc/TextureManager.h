#ifndef KELVO_TEXTUREMANAGER_H
#define KELVO_TEXTUREMANAGER_H

#include <memory>
#include <string>

#include "Action.inl"
#include "Factory.h"
#include "Texture.h"

// A scene's textures by name. Each texture it creates is also its child action object under the
// same name. Owns its textures: one that fails to load is deleted at once; one replaced by a later
// creation of its name is kept until the manager goes, because surfaces and sprites may hold it.
class TextureManager : public Factory<Texture>, public Action<TextureManager> {
public:
    TextureManager();
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // The registry's lookup, not the action table's.
    using Factory<Texture>::find;

    // Create (never load) a texture of each kind under name; return it.
    Texture* createTexture(std::string name);
    Texture* createBlendableTexture(std::string name);
    Texture* createEnvironmentTexture(std::string name);

    // Loads file into texture, which this manager has just created (Texture::load): when the load
    // fails, the texture leaves the manager and its child objects and is deleted before the
    // failure passes on, so that a later user of the name creates and loads it anew instead of
    // finding a texture that never loaded.
    Result<Texture*> load(Texture* texture, const std::string& file);
    // The same, throwing TextureException.
    void loadCreated(Texture* texture, const std::string& file);

    // The mipmapping choice of textures created from now on.
    void setMipmapping(bool on);

    // Every texture by name, in name order, for owners that change them all.
    const ComponentMap& getTextures() const { return components; }

private:
    // Takes a texture that failed to load out of the manager, when it is still the one registered
    // under its name, and deletes it.
    void drop(Texture* texture);
    Texture* adopt(std::unique_ptr<Texture> texture, const std::string& name);

    bool mipmapping;
};

#endif
