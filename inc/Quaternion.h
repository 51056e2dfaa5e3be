#ifndef KELVO_QUATERNION_H
#define KELVO_QUATERNION_H

#include "Vector.h"

// A rotation as x, y, z, w. Angles are in radians. Turned into a matrix (Matrix(q)) it is stored
// row by row, so OpenGL rotates by its conjugate.
class Quaternion {
public:
    Quaternion() : x(0.0f), y(0.0f), z(0.0f), w(1.0f) {}
    Quaternion(const Quaternion& other) = default;
    // Rotation by angle about the axis; the axis is not normalised.
    Quaternion(float angle, float ax, float ay, float az);
    Quaternion(float angle, const Vector& axis);
    // Euler angles about x (a), y (b) and z (c), composed as z·y·x.
    Quaternion(float a, float b, float c);
    virtual ~Quaternion();

    Quaternion& operator=(const Quaternion& other) = default;
    void setIdentity();

    // Hamilton product this·q.
    Quaternion operator*(const Quaternion& q) const;
    Quaternion& operator*=(const Quaternion& q);
    Quaternion& operator+=(const Quaternion& q);

    // t = 0 gives this, t = 1 gives q (or -q when that is the nearer one); not normalised.
    Quaternion slerp(const Quaternion& q, float t) const;

    // Heading about y, then pitch and bank about the x and -z axes turned by the inverse of the
    // rotation so far (the axes Vector::transform yields).
    static Quaternion fromHpb(float h, float p, float b);

    // Angles about x, y, z in radians.
    Vector toEuler() const;

    void glMultMatrix() const;

    float x, y, z, w;
};

#endif
