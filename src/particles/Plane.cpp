#include "Plane.h"

#include <cmath>

Plane::Plane() : point(), normal(0.0f, 1.0f, 0.0f), d(0.0f) {}

Plane::Plane(const Point& point, const Vector& normal) : point(point), normal(normal)
{
    this->normal.normalize();
    d = -this->normal.dot(point.toVector());
}

float Plane::distance(const Point& p, bool signedValue) const
{
    const float v = normal.dot(p.toVector()) + d;
    if (signedValue)
        return v;
    return v > 0.0f ? std::sqrt(v) : 0.0f;
}
