#include "TextureManager.h"

#include <memory>

#include "BlendableTexture.h"
#include "EnvironmentTexture.h"

TextureManager::TextureManager() : Factory<Texture>("Factory<Texture>"), mipmapping(true)
{
    setClassName("Action<TextureManager>");
    addStringAction("createTexture", &TextureManager::createTexture);
    addStringAction("createBlendableTexture", &TextureManager::createBlendableTexture);
    addStringAction("createEnvironmentTexture", &TextureManager::createEnvironmentTexture);
}

Texture* TextureManager::adopt(std::unique_ptr<Texture> texture, const std::string& name)
{
    texture->setName(name);
    if (!mipmapping)
        texture->disableMipmapping();
    addChildAction(texture.get(), name);
    return store(name, std::move(texture));
}

Texture* TextureManager::createTexture(std::string name)
{
    return adopt(std::make_unique<Texture>(), name);
}

Texture* TextureManager::createBlendableTexture(std::string name)
{
    return adopt(std::make_unique<BlendableTexture>(), name);
}

Texture* TextureManager::createEnvironmentTexture(std::string name)
{
    return adopt(std::make_unique<EnvironmentTexture>(), name);
}

void TextureManager::loadCreated(Texture* texture, const std::string& file)
{
    load(texture, file).orThrow<TextureException>();
}

Result<Texture*> TextureManager::load(Texture* texture, const std::string& file)
{
    try {
        Result<Texture*> loaded = texture->load(file);
        if (!loaded)
            drop(texture);
        return loaded;
    } catch (...) {
        drop(texture);
        throw;
    }
}

void TextureManager::drop(Texture* texture)
{
    // Only a texture still registered as made here is dropped; nothing else holds it yet.
    const std::string name = texture->getName();
    const ComponentMap::const_iterator it = components.find(name);
    if (it != components.end() && it->second.get() == texture) {
        if (getChildAction(name) == texture)
            removeChildAction(name);
        erase(name);
    }
}

void TextureManager::setMipmapping(bool on)
{
    mipmapping = on;
}
