#include "Vector.h"

#include <cmath>

#include "Matrix.h"
#include "StringUtil.h"

float Vector::length(bool squared) const
{
    float sum = x * x + y * y + z * z;
    return squared ? sum : std::sqrt(sum);
}

void Vector::normalize()
{
    float l = length(false);
    if (l == 0.0f)
        return;
    x /= l;
    y /= l;
    z /= l;
}

void Vector::transform(const Matrix& m)
{
    const float ox = x, oy = y, oz = z;
    x = m.get(12) + (m.get(0) * ox + (m.get(4) * oy + m.get(8) * oz));
    y = m.get(13) + (m.get(1) * ox + (m.get(5) * oy + m.get(9) * oz));
    z = m.get(14) + (m.get(2) * ox + (m.get(6) * oy + m.get(10) * oz));
}

void Vector::inverseTransform(const Matrix& m)
{
    const float ox = x - m.get(12), oy = y - m.get(13), oz = z - m.get(14);
    x = m.get(0) * ox + m.get(1) * oy + m.get(2) * oz;
    y = m.get(4) * ox + m.get(5) * oy + m.get(6) * oz;
    z = m.get(8) * ox + m.get(9) * oy + m.get(10) * oz;
}

std::string Vector::toString() const
{
    return ::toString(static_cast<double>(x)) + ", " + ::toString(static_cast<double>(y)) + ", " +
           ::toString(static_cast<double>(z));
}
