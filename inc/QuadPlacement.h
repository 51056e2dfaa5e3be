#ifndef KELVO_QUADPLACEMENT_H
#define KELVO_QUADPLACEMENT_H

#include "Action.inl"
#include "Vector.h"

// The size and place of a quad-shaped scene object as the timeline sets them: "setWidth" and
// "setHeight" store a size in scene units (what it means is the object's own: a sprite scales its
// quad, a glyph only keeps it), "setX", "setY" and "setZ" change one coordinate of its position.
// T is the object: a scene object (getPosition, setPosition) that is scriptable (Action<T>) and
// derives from QuadPlacement<T>.
template <typename T> class QuadPlacement {
public:
    void setWidth(float width) { this->width = width; }
    void setHeight(float height) { this->height = height; }
    void setX(float x)
    {
        const Vector p = self().getPosition();
        self().setPosition(Vector(x, p.y, p.z));
    }
    void setY(float y)
    {
        const Vector p = self().getPosition();
        self().setPosition(Vector(p.x, y, p.z));
    }
    void setZ(float z)
    {
        const Vector p = self().getPosition();
        self().setPosition(Vector(p.x, p.y, z));
    }

    float getWidth() const { return width; }
    float getHeight() const { return height; }

protected:
    QuadPlacement() = default;
    ~QuadPlacement() = default;

    // Registers the five actions in T's table; for T's constructor.
    void addPlacementActions()
    {
        Action<T>& actions = self();
        actions.addFloatAction("setWidth", &QuadPlacement::setWidth);
        actions.addFloatAction("setHeight", &QuadPlacement::setHeight);
        actions.addFloatAction("setX", &QuadPlacement::setX);
        actions.addFloatAction("setY", &QuadPlacement::setY);
        actions.addFloatAction("setZ", &QuadPlacement::setZ);
    }

    float width = 1.0f;  // scene units
    float height = 1.0f;

private:
    T& self() { return static_cast<T&>(*this); }
};

#endif
