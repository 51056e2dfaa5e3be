#ifndef KELVO_POINT_H
#define KELVO_POINT_H

#include "Vector.h"

// The position of a mesh point: the three floats of a Vector, as a type of its own.
class Point {
public:
    Point() : x(0.0f), y(0.0f), z(0.0f) {}
    explicit Point(const float* values) : x(values[0]), y(values[1]), z(values[2]) {}
    Point(const Vector& v) : x(v.x), y(v.y), z(v.z) {}
    Point(const Point& other) = default;
    Point& operator=(const Point& other) = default;
    Point& operator=(const Vector& v)
    {
        x = v.x;
        y = v.y;
        z = v.z;
        return *this;
    }

    // 0 = x, 1 = y, 2 = z; other indices are outside the contract.
    float operator[](int i) const { return (&x)[i]; }
    float& operator[](int i) { return (&x)[i]; }

    Vector toVector() const { return Vector(x, y, z); }

    float x, y, z;
};

#endif
