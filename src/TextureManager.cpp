#include "TextureManager.h"

#include "BlendableTexture.h"
#include "EnvironmentTexture.h"

TextureManager::TextureManager() : Factory<Texture>("Factory<Texture>"), mipmapping(true)
{
    setClassName("Action<TextureManager>");
    addStringAction("createTexture", &TextureManager::createTexture);
    addStringAction("createBlendableTexture", &TextureManager::createBlendableTexture);
    addStringAction("createEnvironmentTexture", &TextureManager::createEnvironmentTexture);
}

TextureManager::~TextureManager()
{
    // The textures live for the run: surfaces and sprites may still hold them.
    components.clear();
}

Texture* TextureManager::adopt(Texture* texture, const std::string& name)
{
    texture->setName(name);
    if (!mipmapping)
        texture->disableMipmapping();
    addChildAction(texture, name);
    // A texture replaced here stays alive, unreachable by name.
    components[name] = texture;
    return texture;
}

Texture* TextureManager::createTexture(std::string name)
{
    return adopt(new Texture(), name);
}

Texture* TextureManager::createBlendableTexture(std::string name)
{
    return adopt(new BlendableTexture(), name);
}

Texture* TextureManager::createEnvironmentTexture(std::string name)
{
    return adopt(new EnvironmentTexture(), name);
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
    if (it != components.end() && it->second == texture) {
        if (getChildAction(name) == texture)
            removeChildAction(name);
        erase(name);
    }
}

void TextureManager::setMipmapping(bool on)
{
    mipmapping = on;
}
