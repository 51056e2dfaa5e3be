#ifndef KELVO_PLANE_H
#define KELVO_PLANE_H

#include "Point.h"
#include "Vector.h"

// An infinite plane: a point on it, a unit normal and the constant d = -(normal . point). The
// plane value of a position p, normal . p + d, is positive on the side the normal points to.
class Plane {
public:
    // The ground plane y = 0, facing up.
    Plane();
    // Normalises normal; a zero normal stays zero (every position then lies on the plane).
    Plane(const Point& point, const Vector& normal);
    Plane(const Plane& other) = default;
    Plane& operator=(const Plane& other) = default;
    virtual ~Plane() = default;

    // signedValue: the plane value itself; otherwise its square root, taken as 0 behind the plane
    // (where the value is negative and has no root).
    float distance(const Point& p, bool signedValue) const;
    Vector getNormal() const { return normal; }
    Point getPoint() const { return point; }
    float getD() const { return d; }

private:
    Point point;
    Vector normal;  // unit length
    float d;
};

#endif
