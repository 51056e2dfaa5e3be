#ifndef KELVO_CHARMESH_H
#define KELVO_CHARMESH_H

#include <memory>
#include <string>

#include "Action.inl"
#include "Exception.h"
#include "Mesh.h"
#include "QuadPlacement.h"

class Environment;
class Surface;
class Texture;

class CharMeshException : public Exception {
public:
    explicit CharMeshException(const std::string& message);
};

// One glyph of a 3D text: a quad textured with the glyph's image, drawn in immediate mode exactly
// where its four points are (point 0 lower left, 1 lower right, 2 upper right, 3 upper left of the
// image), unlit, so its owner can move the corners every frame.
class CharMesh : public Mesh, public Action<CharMesh>, public QuadPlacement<CharMesh> {
public:
    // owner: the scene (texture manager, lighting switch); texture: the glyph's, held by the
    // scene's texture manager under its name. Neither is owned. Throws CharMeshException when the
    // manager holds no texture of that name.
    CharMesh(Environment* owner, Texture* texture);
    ~CharMesh() override;

    // The scene's texture named name on the glyph's surface: the first call makes the surface,
    // named after the texture, a later one adds a further texture to it. Throws CharMeshException.
    void setTexture(std::string name);
    // The size and place actions are QuadPlacement's; the size is stored only, the glyph is drawn
    // where its points are.
    Surface* getSurface() const { return surface; }

    // Once per frame; time is not used. Initialises the mesh at the first call. Leaves the
    // modelview matrix as it found it, front faces counter-clockwise, and lighting on while the
    // scene is lit.
    void render(double time) override;

private:
    Surface* surface = nullptr;  // made by the first setTexture; owned by the surface library
};

#endif
