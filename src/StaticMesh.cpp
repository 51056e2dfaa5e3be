#include "StaticMesh.h"

#include <GL/gl.h>

#include <optional>

#include "GLMatrixScope.h"
#include "Surface.h"

StaticMesh::StaticMesh(Environment* owner) : Mesh(owner)
{
}

StaticMesh::~StaticMesh() = default;

void StaticMesh::initialize()
{
    Mesh::initialize();
    OGLObject::initialize();
}

void StaticMesh::render(double)
{
    std::optional<GLMatrixScope> matrix;
    if (transformEnabled) {
        matrix.emplace();
        applyTransform();
    }
    OGLObject::render();
}

void StaticMesh::renderPrimitives()
{
    // Recorded in the local frame: the transform is applied around the list at every frame.
    const bool transformed = transformEnabled;
    transformEnabled = false;
    try {
        Mesh::render(0.0);
    } catch (...) {
        transformEnabled = transformed;
        throw;
    }
    transformEnabled = transformed;
}

void StaticMesh::drawingChanged()
{
    dropList();
}

std::string StaticMesh::toString() const
{
    return Mesh::toString() + "\n" + OGLObject::toString();
}

void StaticMesh::addOwnSurfaceTexture(const std::string& surfaceName, Texture* texture)
{
    Factory<Surface>& library = getSurfaces();
    if (!library.exists(surfaceName)) {
        auto made = std::make_unique<Surface>(owner);
        made->setName(surfaceName);
        library.store(surfaceName, std::move(made));
        setSurfaceName(surfaceName);
    }
    library.find(surfaceName)->addTexture(texture);
    drawingChanged();
}
