#ifndef KELVO_SPRITE3D_H
#define KELVO_SPRITE3D_H

#include <string>

#include "Action.inl"
#include "Exception.h"
#include "QuadPlacement.h"
#include "StaticMesh.h"

class Environment;

class Sprite3DException : public Exception {
public:
    explicit Sprite3DException(const std::string& message);
};

// A textured rectangle in the 3D scene that always faces the viewer (a billboard): centred on its
// position, width × height scene units, upright on the screen whatever the camera's turn. One quad
// recorded once into a display list; drawn unlit with the scene's projection and depth test.
class Sprite3D : public StaticMesh, public Action<Sprite3D>, public QuadPlacement<Sprite3D> {
public:
    // owner: the scene whose texture manager and lighting switch the sprite uses; not owned.
    explicit Sprite3D(Environment* owner);
    ~Sprite3D() override;

    // Adds the scene's texture named name to the sprite's one surface "default", made at the
    // first call; a second texture joins the first. The texture is only looked up: the timeline
    // creates and loads it. Throws Sprite3DException; the sprite is then unchanged.
    void setTexture(std::string name);
    // The size (setWidth, setHeight: scene units, also set per particle by the particle
    // visualisation) and place actions are QuadPlacement's.

    // Once per frame, inside the camera's view; the time is not used. Leaves the modelview matrix
    // as it found it, and lighting on while the scene is lit.
    void render(double time) override;
};

#endif
