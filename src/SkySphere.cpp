#include "SkySphere.h"

#include <GL/gl.h>

#include <vector>

#include "Environment.h"
#include "GLClockwiseUnlitScope.h"
#include "GLMatrixScope.h"
#include "Sphere.h"
#include "Surface.h"
#include "Texture.h"
#include "TextureManager.h"

namespace {
const float RADIUS = 5.0f;  // scene units; the depth test is off, so only the near plane matters
const unsigned LATITUDE_STEPS = 15;
const unsigned LONGITUDE_STEPS = 15;
}

SkySphereException::SkySphereException(const std::string& message)
{
    addSource("SkySphereException");
    appendMessage(message);
}

SkySphere::SkySphere(Environment* owner)
    : owner(owner), sphere(new Sphere(owner, RADIUS, LATITUDE_STEPS, LONGITUDE_STEPS)), textured(false)
{
    setClassName("Action<SkySphere>");
    // Drawn where render puts it: around the eye.
    sphere->setTransformEnabled(false);
    addStringAction("loadTexture", &SkySphere::loadTexture);
}

SkySphere::~SkySphere()
{
    dropSurfaces();
}

void SkySphere::setName(const std::string& name)
{
    CommonObject::setName(name);
    sphere->setName(name);
}

void SkySphere::dropSurfaces()
{
    Factory<Surface>& library = sphere->getSurfaces();
    std::vector<std::string> names;
    for (const auto& entry : library.getComponents())
        names.push_back(entry.first);
    for (const std::string& name : names) {
        // Not left as the scene's active surface once deleted.
        if (library.find(name) && owner->getCurrentSurface() == library.find(name))
            owner->setCurrentSurface(nullptr);
        library.erase(name);
    }
}

void SkySphere::loadTexture(std::string file)
{
    try {
        dropSurfaces();
        Surface* surface = sphere->getSurfaces().store(file, std::make_unique<Surface>(owner));
        surface->setName(file);

        TextureManager& textures = owner->getTextureManager();
        textures.createTexture(file);
        Texture* texture = textures.find(file);
        // Scaled to a power of two instead: a mipmapped sky would blur towards its seam.
        texture->disableMipmapping();
        textures.loadCreated(texture, file);
        surface->addTexture(texture);

        sphere->setSurfaceName(file);
        sphere->calcSphericalMapping(file);
        sphere->initialize();
        textured = true;
    } catch (Exception& e) {
        throw SkySphereException("setTexture() - Failed to set the texture from file \"" + file + "\". " +
                                 e.getMessage());
    }
}

void SkySphere::render(double)
{
    // Before its first texture the sphere's triangles name no surface it has.
    if (!textured)
        throw SkySphereException("render() - The sky sphere \"" + getName() + "\" of Environment \"" +
                                 owner->getName() + "\" has no texture: give it one with its action \"loadTexture\" (\"" +
                                 owner->getName() + "." + getName() + ".loadTexture\") before the scene is drawn.");
    glMatrixMode(GL_MODELVIEW);
    const GLMatrixScope matrix;
    // The camera's rotation without its translation: the sky stays around the eye.
    float modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    modelview[12] = 0.0f;
    modelview[13] = 0.0f;
    modelview[14] = 0.0f;
    glLoadMatrixf(modelview);
    // Seen from inside, the sphere's triangles wind clockwise; with no depth test it stays under
    // whatever the scene draws after it.
    const GLClockwiseUnlitScope inside(owner->isLightingEnabled(), true);
    sphere->render(0.0);
}
