#ifndef KELVO_VECTOR_H
#define KELVO_VECTOR_H

#include <string>

class Matrix;

// Three single-precision floats: position, direction, scale or angle triple. Laid out as three
// consecutive floats, so an array of three floats can be read as a Vector.
class Vector {
public:
    Vector() : x(0.0f), y(0.0f), z(0.0f) {}
    explicit Vector(const float* values) : x(values[0]), y(values[1]), z(values[2]) {}
    Vector(float x, float y, float z) : x(x), y(y), z(z) {}
    Vector(const Vector& other) = default;
    Vector& operator=(const Vector& other) = default;

    float getX() const { return x; }
    float getY() const { return y; }
    float getZ() const { return z; }
    // 0 = x, 1 = y, 2 = z; other indices are outside the contract.
    float operator[](int i) const { return (&x)[i]; }
    float& operator[](int i) { return (&x)[i]; }

    void set(float x, float y, float z)
    {
        this->x = x;
        this->y = y;
        this->z = z;
    }
    void set(const Vector& v) { *this = v; }

    // The y and z products are summed first.
    float dot(const Vector& v) const { return x * v.x + (y * v.y + z * v.z); }

    Vector operator+(const Vector& v) const { return Vector(x + v.x, y + v.y, z + v.z); }
    Vector operator-(const Vector& v) const { return Vector(x - v.x, y - v.y, z - v.z); }
    Vector& operator+=(const Vector& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    Vector& operator-=(const Vector& v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    Vector operator*(float s) const { return Vector(x * s, y * s, z * s); }
    Vector operator/(float s) const { return Vector(x / s, y / s, z / s); }
    Vector& operator*=(float s)
    {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    Vector& operator/=(float s)
    {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }

    // x² + y² + z² when squared, otherwise its square root.
    float length(bool squared = false) const;
    // Divides by the length in place; a zero vector stays zero.
    void normalize();
    // In place: M·(x, y, z, 1) with m read column by column, as OpenGL reads it.
    void transform(const Matrix& m);
    // In place: subtracts the translation, then applies the transposed upper 3×3 part; undoes
    // transform() for a rotation-plus-translation matrix.
    void inverseTransform(const Matrix& m);
    // "x, y, z" with two decimals each.
    std::string toString() const;

    float x, y, z;
};

#endif
