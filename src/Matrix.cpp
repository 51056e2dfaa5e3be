#include "Matrix.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

#include "Quaternion.h"
#include "Vector.h"

namespace {
const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix::Matrix()
{
    setIdentity();
}

Matrix::Matrix(const Matrix& other)
{
    std::copy(other.m, other.m + 16, m);
}

Matrix::Matrix(const float* elements)
{
    std::copy(elements, elements + 16, m);
}

Matrix::Matrix(const Quaternion& q)
{
    setRotation(q);
}

Matrix::~Matrix() = default;

Matrix& Matrix::operator=(const Matrix& other)
{
    std::copy(other.m, other.m + 16, m);
    return *this;
}

void Matrix::setIdentity()
{
    std::copy(identity, identity + 16, m);
}

void Matrix::setRotation(const Quaternion& q)
{
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    // Row by row: OpenGL, reading columns, applies the transpose (the conjugate rotation).
    m[0] = 1 - 2 * y * y - 2 * z * z;
    m[1] = 2 * x * y - 2 * z * w;
    m[2] = 2 * x * z + 2 * y * w;
    m[3] = 0;
    m[4] = 2 * x * y + 2 * z * w;
    m[5] = 1 - 2 * x * x - 2 * z * z;
    m[6] = 2 * y * z - 2 * x * w;
    m[7] = 0;
    m[8] = 2 * x * z - 2 * y * w;
    m[9] = 2 * y * z + 2 * x * w;
    m[10] = 1 - 2 * x * x - 2 * y * y;
    m[11] = 0;
    m[12] = m[13] = m[14] = 0;
    m[15] = 1;
}

void Matrix::setHpbRotation(const Vector& hpb)
{
    setRotation(Quaternion::fromHpb(hpb.x, hpb.y, hpb.z));
}

void Matrix::setTranslation(const Vector& t)
{
    m[12] = t.x;
    m[13] = t.y;
    m[14] = t.z;
}

void Matrix::setScale(const Vector& s)
{
    m[0] = s.x;
    m[5] = s.y;
    m[10] = s.z;
}

void Matrix::setAxisAngleRotation(const Vector& axis, float angle)
{
    const float c = std::cos(angle), s = std::sin(angle), d = 1 - c;
    const float x = axis.x, y = axis.y, z = axis.z;
    // Row by row, like setRotation.
    m[0] = c + d * x * x;
    m[1] = d * x * y - s * z;
    m[2] = d * x * z + s * y;
    m[4] = d * x * y + s * z;
    m[5] = c + d * y * y;
    m[6] = d * y * z - s * x;
    m[8] = d * x * z - s * y;
    m[9] = d * y * z + s * x;
    m[10] = c + d * z * z;
}

Matrix& Matrix::operator*=(const Matrix& n)
{
    float o[16], r[16];
    std::copy(m, m + 16, o);
    std::copy(n.m, n.m + 16, r);  // n may be this matrix
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[4 * i + j] = o[4 * i + 0] * r[j] + o[4 * i + 1] * r[4 + j] + o[4 * i + 2] * r[8 + j] +
                           o[4 * i + 3] * r[12 + j];
    return *this;
}

void Matrix::normalize()
{
    for (int start = 0; start <= 8; start += 4) {
        float* t = m + start;
        float length = std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2]);
        if (length == 0.0f)
            continue;
        t[0] /= length;
        t[1] /= length;
        t[2] /= length;
    }
}

void Matrix::transpose()
{
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            std::swap(m[4 * i + j], m[4 * j + i]);
}

void Matrix::glMultMatrix() const
{
    glMultMatrixf(m);
}

void Matrix::loadModelviewMatrix()
{
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
}

void Matrix::loadProjectionMatrix()
{
    glGetFloatv(GL_PROJECTION_MATRIX, m);
}

void Matrix::toArray(float* out) const
{
    std::copy(m, m + 16, out);
}
