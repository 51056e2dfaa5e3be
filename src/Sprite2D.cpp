#include "Sprite2D.h"

#include <GL/gl.h>

#include "Environment.h"
#include "GLClockwiseUnlitScope.h"
#include "GLMatrixScope.h"
#include "TextureManager.h"

namespace {
const char* const SURFACE_NAME = "default";
}

Sprite2DException::Sprite2DException(const std::string& message)
{
    addSource("Sprite2DException");
    appendMessage(message);
}

Sprite2D::Sprite2D(Environment* owner) : StaticMesh(owner), width(1.0f), height(1.0f)
{
    // The render places the quad itself.
    transformEnabled = false;

    // The unit square from its lower-left corner.
    addImageQuad(0.0f, 0.0f, 1.0f, 1.0f);

    setClassName("Action<Sprite2D>");
    addStringAction("setTexture", &Sprite2D::setTexture);
    addFloatAction("setWidth", &Sprite2D::setWidth);
    addFloatAction("setHeight", &Sprite2D::setHeight);
    addFloatAction("setX", &Sprite2D::setX);
    addFloatAction("setY", &Sprite2D::setY);
}

Sprite2D::~Sprite2D() = default;

void Sprite2D::setTexture(std::string name)
{
    try {
        addOwnSurfaceTexture(SURFACE_NAME, owner->getTextureManager().find(name));
    } catch (Exception& e) {
        throw Sprite2DException("setTexture() - Failed to set texture. " + e.getMessage());
    }
}

void Sprite2D::setWidth(float width)
{
    this->width = width;
}

void Sprite2D::setHeight(float height)
{
    this->height = height;
}

void Sprite2D::setX(float x)
{
    position = Vector(x, position.y, 0.0f);
}

void Sprite2D::setY(float y)
{
    position = Vector(position.x, y, 0.0f);
}

void Sprite2D::render(double time)
{
    // The scene's view comes back on every way out, so a failing sprite leaves no overlay
    // projection behind. The modelview scope ends last: its mode is the one left selected.
    const GLMatrixScope modelview(GL_MODELVIEW);
    const GLMatrixScope projection(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLClockwiseUnlitScope overlay(owner->isLightingEnabled(), true);
    glTranslatef(position.x, position.y, position.z);
    glScalef(width, height, 1.0f);
    StaticMesh::render(time);
}
