#include "Quaternion.h"

#include <cmath>

#include "Matrix.h"

Quaternion::Quaternion(float angle, float ax, float ay, float az)
{
    const float s = std::sin(angle / 2);
    x = s * ax;
    y = s * ay;
    z = s * az;
    w = std::cos(angle / 2);
}

Quaternion::Quaternion(float angle, const Vector& axis) : Quaternion(angle, axis.x, axis.y, axis.z)
{
}

Quaternion::Quaternion(float a, float b, float c)
{
    const float sa = std::sin(a / 2), ca = std::cos(a / 2);
    const float sb = std::sin(b / 2), cb = std::cos(b / 2);
    const float sc = std::sin(c / 2), cc = std::cos(c / 2);
    x = sa * cb * cc - ca * sb * sc;
    y = ca * sb * cc + sa * cb * sc;
    z = ca * cb * sc - sa * sb * cc;
    w = ca * cb * cc + sa * sb * sc;
}

Quaternion::~Quaternion() = default;

void Quaternion::setIdentity()
{
    x = y = z = 0.0f;
    w = 1.0f;
}

Quaternion Quaternion::operator*(const Quaternion& q) const
{
    // Eight single-precision products instead of sixteen; the rounding is part of the result.
    const float A = (w + x) * (q.w + q.x);
    const float B = (z - y) * (q.y - q.z);
    const float C = (w - x) * (q.y + q.z);
    const float D = (y + z) * (q.w - q.x);
    const float E = (x + z) * (q.x + q.y);
    const float F = (x - z) * (q.x - q.y);
    const float G = (w + y) * (q.w - q.z);
    const float H = (w - y) * (q.w + q.z);
    Quaternion r;
    r.w = ((H - (F + E)) + G) / 2 + B;
    r.x = A - (E + (F + (H + G))) / 2;
    r.y = ((G + (E - F)) - H) / 2 + C;
    r.z = (H + ((E - F) - G)) / 2 + D;
    return r;
}

Quaternion& Quaternion::operator*=(const Quaternion& q)
{
    *this = *this * q;
    return *this;
}

Quaternion& Quaternion::operator+=(const Quaternion& q)
{
    x += q.x;
    y += q.y;
    z += q.z;
    w += q.w;
    return *this;
}

Quaternion Quaternion::slerp(const Quaternion& q, float t) const
{
    float cosine = x * q.x + y * q.y + z * q.z + w * q.w;
    Quaternion to = q;
    if (cosine < 0) {
        cosine = -cosine;
        to.x = -to.x;
        to.y = -to.y;
        to.z = -to.z;
        to.w = -to.w;
    }
    float wp, wq;
    if (1 - cosine > 0.1f) {
        const float angle = std::acos(cosine);
        const float s = std::sin(angle);
        wp = std::sin((1 - t) * angle) / s;
        wq = std::sin(t * angle) / s;
    } else {
        // Nearly equal: linear weights avoid dividing by a tiny sine.
        wp = 1 - t;
        wq = t;
    }
    Quaternion r;
    r.x = wp * x + wq * to.x;
    r.y = wp * y + wq * to.y;
    r.z = wp * z + wq * to.z;
    r.w = wp * w + wq * to.w;
    return r;
}

Quaternion Quaternion::fromHpb(float h, float p, float b)
{
    const Quaternion heading(h, 0.0f, 1.0f, 0.0f);
    Vector pitchAxis(1.0f, 0.0f, 0.0f);
    pitchAxis.transform(Matrix(heading));
    const Quaternion headingPitch = heading * Quaternion(p, pitchAxis);
    Vector bankAxis(0.0f, 0.0f, -1.0f);
    bankAxis.transform(Matrix(headingPitch));
    return headingPitch * Quaternion(b, bankAxis);
}

Vector Quaternion::toEuler() const
{
    // Clamped: rounding near ±90° pitch can push the argument just past ±1.
    float sinePitch = -2 * (x * z - w * y);
    if (sinePitch > 1.0f)
        sinePitch = 1.0f;
    else if (sinePitch < -1.0f)
        sinePitch = -1.0f;
    return Vector(std::atan2(2 * (w * x + y * z), w * w - x * x - y * y + z * z), std::asin(sinePitch),
                  std::atan2(2 * (w * z + x * y), x * x - y * y - z * z + w * w));
}

void Quaternion::glMultMatrix() const
{
    Matrix(*this).glMultMatrix();
}
