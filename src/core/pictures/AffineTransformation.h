#pragma once

#include <array>
#include <cstdint>

#include "pictures/Bitmap32.h"

namespace pictra::pictures {

struct FloatRect {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

// 3 × 3 single-precision matrix stored by columns: m[column][row]; a point maps to
// x' = m[0][0]·x + m[1][0]·y + m[2][0], y' = m[0][1]·x + m[1][1]·y + m[2][1].
using Matrix3 = std::array<std::array<float, 3>, 3>;

Matrix3 identityMatrix();
// a · b: the mapping of b first, then that of a.
Matrix3 multiply(const Matrix3& a, const Matrix3& b);
// Rule of Sarrus over the 2 × 2 minors.
float determinant(const Matrix3& m);
// Adjoint × (1 ÷ determinant); the identity when |determinant| < 1e-5.
Matrix3 inverse(const Matrix3& m);

class AffineTransformation {
public:
    AffineTransformation() { clear(); }

    void clear();
    void translate(float dx, float dy);
    void scale(float sx, float sy);
    // α in degrees; with y growing downwards a positive α turns counter-clockwise on screen.
    void rotate(float cx, float cy, float alphaDegrees);

    FloatRect srcRect;
    const Matrix3& matrix() const { return m_matrix; }

    // The inverse in fixed point with 12 fractional bits.
    struct Prepared {
        std::int32_t a, b, c, d, e, f;
    };
    const Prepared& prepared();
    bool isPrepared() const { return m_prepared; }

    // Inclusive integer bounds of the mapped source rectangle.
    Rect transformedBounds() const;

private:
    void apply(const Matrix3& operation);

    Matrix3 m_matrix{};
    Prepared m_inverse{};
    bool m_prepared = false;
};

// Nearest sampling of the source into the destination through the inverse of T;
// destination pixels without a source pixel keep their value.
void transform(Bitmap32& destination, const Bitmap32& source, AffineTransformation& t);

// Turns the picture by α degrees (positive: to the left on screen) inside its own
// frame: it keeps its size, the turned content fits inside, the corners are grey.
void rotateInFrame(Bitmap32& picture, float alphaDegrees);

}  // namespace pictra::pictures
