#ifndef KELVO_SPRITE2D_H
#define KELVO_SPRITE2D_H

#include <string>

#include "Action.inl"
#include "Exception.h"
#include "StaticMesh.h"

class Environment;

class Sprite2DException : public Exception {
public:
    explicit Sprite2DException(const std::string& message);
};

// A textured rectangle drawn over the scene in window coordinates: the window spans 0 to 1 in x
// and y from its lower-left corner, and the rectangle's lower-left corner is at the sprite's
// position. One quad recorded once into a display list; drawn unlit and without depth test.
class Sprite2D : public StaticMesh, public Action<Sprite2D> {
public:
    // owner: the scene whose texture manager and lighting switch the sprite uses; not owned.
    explicit Sprite2D(Environment* owner);
    ~Sprite2D() override;

    // Adds the scene's texture named name to the sprite's one surface "default", made at the
    // first call; a second texture joins the first. The texture is only looked up: the timeline
    // creates and loads it. Throws Sprite2DException; the sprite is then unchanged.
    void setTexture(std::string name);
    // Window fractions.
    void setWidth(float width);
    void setHeight(float height);
    void setX(float x);
    void setY(float y);

    float getWidth() const { return width; }
    float getHeight() const { return height; }

    // Once per frame, in the scene's view: sets its own projection and restores it; the time is
    // not used. Leaves the depth test on, and lighting on while the scene is lit.
    void render(double time) override;

private:
    float width;   // window fractions
    float height;
};

#endif
