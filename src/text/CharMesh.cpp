#include "CharMesh.h"

#include <GL/gl.h>

#include "Environment.h"
#include "GLClockwiseUnlitScope.h"
#include "GLMatrixScope.h"
#include "Surface.h"
#include "Texture.h"
#include "TextureManager.h"

CharMeshException::CharMeshException(const std::string& message)
{
    addSource("CharMeshException");
    appendMessage(message);
}

CharMesh::CharMesh(Environment* owner, Texture* texture) : Mesh(owner)
{
    // The points are the glyph's place: its owner moves them, no transform moves them further.
    transformEnabled = false;

    // Point indices 0 to 3: lower left, lower right, upper right, upper left of the image.
    addImageQuad(0.0f, 0.0f, 1.0f, 1.0f);

    setTexture(texture->getName());

    setClassName("Action<CharMesh>");
    addStringAction("setTexture", &CharMesh::setTexture);
    addPlacementActions();
}

CharMesh::~CharMesh() = default;

void CharMesh::setTexture(std::string name)
{
    try {
        Texture* texture = owner->getTextureManager().find(name);
        if (surface) {
            surface->addTexture(texture);
            return;
        }
        Factory<Surface>& library = getSurfaces();
        if (library.exists(name))
            throw ComponentAlreadyExistsException(library.getFactoryName(),
                                                  "create() - Unable to create new component. Component \"" + name +
                                                      "\" already exists in this factory!.");
        auto made = std::make_unique<Surface>(owner);
        made->setName(name);
        made->addTexture(texture);
        surface = library.store(name, std::move(made));
        setSurfaceName(name);
    } catch (Exception& e) {
        throw CharMeshException("setTexture() - Failed to set texture. " + e.getMessage());
    }
}

void CharMesh::render(double time)
{
    glMatrixMode(GL_MODELVIEW);
    const GLMatrixScope matrix;
    const GLClockwiseUnlitScope unlit(owner->isLightingEnabled());
    Mesh::render(time);
}
