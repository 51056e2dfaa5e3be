#include "Surface.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL/SDL.h>

#include <algorithm>

#include "Environment.h"
#include "Texture.h"
#include "TextureManager.h"

namespace {
// The multitexture entry points, resolved by name at their first use; they stay valid for the
// process.
struct MultitextureEntryPoints {
    PFNGLACTIVETEXTUREARBPROC activeTexture;
    PFNGLMULTITEXCOORD2FARBPROC multiTexCoord2f;
};

const MultitextureEntryPoints& multitexture()
{
    static const MultitextureEntryPoints entryPoints = {
        reinterpret_cast<PFNGLACTIVETEXTUREARBPROC>(SDL_GL_GetProcAddress("glActiveTextureARB")),
        reinterpret_cast<PFNGLMULTITEXCOORD2FARBPROC>(SDL_GL_GetProcAddress("glMultiTexCoord2fARB"))};
    return entryPoints;
}

// The texture units of the context (GL_MAX_TEXTURE_UNITS_ARB), 0 without multitexturing. A
// context's answer is kept for the process, as it does not change; no answer (no context yet) is
// asked again next time.
int multitextureUnits()
{
    static int known = 0;
    if (known > 0)
        return known;
    // Without the entry points there is nothing to multitexture with.
    if (!GenericEnvironment::isExtensionSupported("GL_ARB_multitexture") || !multitexture().activeTexture ||
        !multitexture().multiTexCoord2f)
        return 0;
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    known = units;
    return units;
}
}

SurfaceException::SurfaceException(const std::string& message)
{
    addSource("SurfaceException");
    appendMessage(message);
}

Surface::Surface(Environment* owner) : owner(owner), textureUnits(multitextureUnits()), active(false)
{
}

Surface::~Surface() = default;

void Surface::setName(const std::string& name)
{
    this->name = name;
}

std::string Surface::getName() const
{
    return name;
}

void Surface::addTexture(const std::string& file)
{
    appendTexture(file).orThrow<SurfaceException>();
}

Result<Texture*> Surface::appendTexture(const std::string& file)
{
    if (name.empty())
        setName(file);
    TextureManager& manager = owner->getTextureManager();
    Texture* texture = nullptr;
    if (manager.exists(file)) {
        texture = manager.find(file);
    } else {
        const std::string failed = "addTexture() - Failed to create or load new Texture. ";
        Result<Texture*> loaded = Failure{};
        try {
            loaded = manager.load(manager.createTexture(file), file);
        } catch (Exception& e) {
            throw SurfaceException(failed + e.getMessage());
        }
        if (!loaded)
            return Failure{failed + TextureException(loaded.failure()).getMessage()};
        texture = *loaded;
    }
    textures.push_back(texture);
    return texture;
}

void Surface::addTexture(Texture* texture)
{
    if (name.empty())
        name = texture->getName();
    textures.push_back(texture);
}

void Surface::setTextureCenter(const Vector& center)
{
    textureCenter = center;
}

Vector Surface::getTextureCenter() const
{
    return textureCenter;
}

void Surface::setTextureSize(const Vector& size)
{
    textureSize = size;
}

Vector Surface::getTextureSize() const
{
    return textureSize;
}

void Surface::setMaterial(const Material& material)
{
    this->material = material;
}

int Surface::boundUnits() const
{
    const int n = static_cast<int>(textures.size());
    if (n == 1)
        return 1;
    return std::min(textureUnits, n);
}

void Surface::enable()
{
    if (active)
        return;
    Surface* current = owner->getCurrentSurface();
    if (current)
        current->disable();
    material.apply();

    const int n = static_cast<int>(textures.size());
    if (n == 1) {
        glEnable(GL_TEXTURE_2D);
        textures[0]->enable();
    } else if (n > 1 && textureUnits > 0) {
        for (int i = 0; i < boundUnits(); ++i) {
            multitexture().activeTexture(GL_TEXTURE0_ARB + i);
            glEnable(GL_TEXTURE_2D);
            textures[i]->enable();
        }
        multitexture().activeTexture(GL_TEXTURE0_ARB);
    } else {
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    owner->setCurrentSurface(this);
    active = true;
}

void Surface::disable()
{
    if (!active)
        return;
    const int n = static_cast<int>(textures.size());
    if (n == 1) {
        // Texturing stays on for whatever the scene draws next.
        textures[0]->disable();
        glBindTexture(GL_TEXTURE_2D, 0);
    } else if (n > 1 && textureUnits > 0) {
        for (int i = 0; i < boundUnits(); ++i) {
            multitexture().activeTexture(GL_TEXTURE0_ARB + i);
            textures[i]->disable();
            glDisable(GL_TEXTURE_2D);
        }
        multitexture().activeTexture(GL_TEXTURE0_ARB);
    }
    // A copy made while this surface was active must not clear another surface's slot.
    if (owner->getCurrentSurface() == this)
        owner->setCurrentSurface(nullptr);
    active = false;
}

void Surface::suspendTextures() const
{
    const int n = static_cast<int>(textures.size());
    if (n == 1) {
        glDisable(GL_TEXTURE_2D);
    } else if (n > 1 && textureUnits > 0) {
        for (int i = 0; i < boundUnits(); ++i) {
            multitexture().activeTexture(GL_TEXTURE0_ARB + i);
            glDisable(GL_TEXTURE_2D);
        }
        multitexture().activeTexture(GL_TEXTURE0_ARB);
    }
}

void Surface::texCoord(float u, float v) const
{
    const int n = static_cast<int>(textures.size());
    if (n == 1) {
        glTexCoord2f(u, v);
    } else if (n > 1) {
        // The same coordinate for every unit in use; none without multitexturing.
        for (int i = 0; i < boundUnits(); ++i)
            multitexture().multiTexCoord2f(GL_TEXTURE0_ARB + i, u, v);
    }
}
