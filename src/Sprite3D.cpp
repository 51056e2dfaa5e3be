#include "Sprite3D.h"

#include <GL/gl.h>

#include "Environment.h"
#include "GLClockwiseUnlitScope.h"
#include "GLMatrixScope.h"
#include "TextureManager.h"

namespace {
const char* const SURFACE_NAME = "default";
}

Sprite3DException::Sprite3DException(const std::string& message)
{
    addSource("Sprite3DException");
    appendMessage(message);
}

Sprite3D::Sprite3D(Environment* owner) : StaticMesh(owner)
{
    // The render places the quad itself.
    transformEnabled = false;

    // The unit square centred on the origin.
    addImageQuad(-0.5f, -0.5f, 0.5f, 0.5f);

    setClassName("Action<Sprite3D>");
    addStringAction("setTexture", &Sprite3D::setTexture);
    addPlacementActions();
}

Sprite3D::~Sprite3D() = default;

void Sprite3D::setTexture(std::string name)
{
    try {
        addOwnSurfaceTexture(SURFACE_NAME, owner->getTextureManager().find(name));
    } catch (Exception& e) {
        throw Sprite3DException("setTexture() - Failed to set texture. " + e.getMessage());
    }
}

void Sprite3D::render(double time)
{
    const GLMatrixScope matrix(GL_MODELVIEW);
    glTranslatef(position.x, position.y, position.z);

    // The position stays where the camera sees it; the camera's turn (and any scale) goes, so the
    // quad lies in the view plane. Column-major: elements 12 to 14 are the translation.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    m[0] = 1.0f;
    m[1] = 0.0f;
    m[2] = 0.0f;
    m[4] = 0.0f;
    m[5] = 1.0f;
    m[6] = 0.0f;
    m[8] = 0.0f;
    m[9] = 0.0f;
    m[10] = 1.0f;
    glLoadMatrixf(m);

    glScalef(width, height, 1.0f);
    const GLClockwiseUnlitScope unlit(owner->isLightingEnabled());
    StaticMesh::render(time);
}
