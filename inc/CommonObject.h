#ifndef KELVO_COMMONOBJECT_H
#define KELVO_COMMONOBJECT_H

#include <string>

#include "Quaternion.h"
#include "Vector.h"

// Base of the scene objects: a name, a position, an orientation and a flag set on first use.
class CommonObject {
public:
    CommonObject();
    // Virtual so that deleting through any level of the hierarchy is well defined.
    virtual ~CommonObject();

    // Sets the default material values; then the object counts as initialized.
    virtual void initialize();
    // Draws the object at the playback time in seconds.
    virtual void render(double time) = 0;
    virtual std::string toString() const;

    void setName(const std::string& name);
    std::string getName() const;
    void setPosition(const Vector& position);
    Vector getPosition() const;
    Quaternion getOrientation() const;
    // Off for an object whose owner places it another way: applyTransform then does nothing.
    void setTransformEnabled(bool on) { transformEnabled = on; }
    bool isTransformEnabled() const { return transformEnabled; }
    // For loaders that aim an object they create (the 3D Studio cameras).
    void setOrientation(const Quaternion& orientation);

    // Multiplies the current OpenGL matrix by the orientation's matrix (the conjugate rotation),
    // then translates by the position in that rotated frame. Nothing when transformEnabled is off.
    void applyTransform();

protected:
    // Default material values, set by initialize().
    float materialShininess;
    float materialAmbient[4];
    float materialDiffuse[4];
    float materialSpecular[4];
    float materialEmission[4];

    std::string name;  // "Object <N>" until a creator names it
    Vector position;
    Quaternion orientation;
    bool initialized;
    bool transformEnabled;  // off for objects that place themselves another way

private:
    static int objectCount;  // objects constructed so far, of every derived class
};

#endif
