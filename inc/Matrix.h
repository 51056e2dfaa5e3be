#ifndef KELVO_MATRIX_H
#define KELVO_MATRIX_H

class Quaternion;
class Vector;

// A 4×4 float matrix in the element order of glMultMatrixf and glGetFloatv: element m[4c + r]
// is row r, column c as OpenGL reads it, so m12..m14 hold the translation.
//
// Rotation matrices built from quaternions and axis-angle pairs are stored row by row
// (m[4i + j] = R(i, j)), so OpenGL and Vector::transform, which read column by column, rotate by
// the conjugate rotation. Every rotation of the engine and of its imported data relies on this.
class Matrix {
public:
    Matrix();  // identity
    Matrix(const Matrix& other);
    explicit Matrix(const float* elements);  // 16 floats in element order
    explicit Matrix(const Quaternion& q);    // as setRotation(q)
    virtual ~Matrix();

    Matrix& operator=(const Matrix& other);
    float get(int i) const { return m[i]; }

    void setIdentity();
    // Replaces every element with the row-by-row rotation of q (q is not normalised); clears
    // any translation.
    void setRotation(const Quaternion& q);
    // hpb: heading, pitch, bank in radians.
    void setHpbRotation(const Vector& hpb);
    void setTranslation(const Vector& t);
    void setScale(const Vector& s);
    // Axis not normalised, angle in radians; only the upper 3×3 part changes.
    void setAxisAngleRotation(const Vector& axis, float angle);
    // Read in OpenGL's column order this is N·M: the argument is applied after this matrix.
    Matrix& operator*=(const Matrix& n);
    // Scales each of the triples (m0..m2), (m4..m6), (m8..m10) to unit length; zero triples stay.
    void normalize();
    void transpose();

    void glMultMatrix() const;
    void loadModelviewMatrix();
    void loadProjectionMatrix();
    void toArray(float* out) const;  // 16 floats

private:
    float m[16];
};

#endif
