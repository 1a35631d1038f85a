#include "AffineTransformation.h"

#include <algorithm>
#include <cmath>

namespace pictra::pictures {

namespace {

constexpr float kPi = 3.14159265358979323846f;

float det2(float a1, float a2, float b1, float b2) { return a1 * b2 - a2 * b1; }

// Round to nearest, ties to even, as the fixed-point preparation and the bounds want.
int roundEven(float v) { return static_cast<int>(std::nearbyint(v)); }

std::int32_t fixed(float v) {
    const double scaled = std::nearbyint(static_cast<double>(v * 4096.0f));
    if (!std::isfinite(scaled)) return 0;
    return static_cast<std::int32_t>(std::clamp(scaled, -2147483648.0, 2147483647.0));
}

}  // namespace

Matrix3 identityMatrix() {
    Matrix3 m{};
    m[0][0] = m[1][1] = m[2][2] = 1.0f;
    return m;
}

Matrix3 multiply(const Matrix3& a, const Matrix3& b) {
    Matrix3 r{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) r[i][j] = a[0][j] * b[i][0] + a[1][j] * b[i][1] + a[2][j] * b[i][2];
    }
    return r;
}

float determinant(const Matrix3& m) {
    return m[0][0] * det2(m[1][1], m[2][1], m[1][2], m[2][2]) - m[0][1] * det2(m[1][0], m[2][0], m[1][2], m[2][2]) +
           m[0][2] * det2(m[1][0], m[2][0], m[1][1], m[2][1]);
}

Matrix3 inverse(const Matrix3& m) {
    const float det = determinant(m);
    if (std::fabs(det) < 1e-5f || !std::isfinite(det)) return identityMatrix();
    Matrix3 adj{};
    adj[0][0] = det2(m[1][1], m[1][2], m[2][1], m[2][2]);
    adj[0][1] = -det2(m[0][1], m[0][2], m[2][1], m[2][2]);
    adj[0][2] = det2(m[0][1], m[0][2], m[1][1], m[1][2]);
    adj[1][0] = -det2(m[1][0], m[1][2], m[2][0], m[2][2]);
    adj[1][1] = det2(m[0][0], m[0][2], m[2][0], m[2][2]);
    adj[1][2] = -det2(m[0][0], m[0][2], m[1][0], m[1][2]);
    adj[2][0] = det2(m[1][0], m[1][1], m[2][0], m[2][1]);
    adj[2][1] = -det2(m[0][0], m[0][1], m[2][0], m[2][1]);
    adj[2][2] = det2(m[0][0], m[0][1], m[1][0], m[1][1]);
    const float factor = 1.0f / det;
    for (auto& column : adj) {
        for (float& v : column) v *= factor;
    }
    return adj;
}

void AffineTransformation::clear() {
    m_matrix = identityMatrix();
    m_prepared = false;
}

void AffineTransformation::apply(const Matrix3& operation) {
    m_matrix = multiply(operation, m_matrix);
    m_prepared = false;
}

void AffineTransformation::translate(float dx, float dy) {
    Matrix3 t = identityMatrix();
    t[2][0] = dx;
    t[2][1] = dy;
    apply(t);
}

void AffineTransformation::scale(float sx, float sy) {
    Matrix3 s = identityMatrix();
    s[0][0] = sx;
    s[1][1] = sy;
    apply(s);
}

void AffineTransformation::rotate(float cx, float cy, float alphaDegrees) {
    const bool moved = cx != 0 || cy != 0;
    if (moved) translate(-cx, -cy);
    const float alpha = alphaDegrees * kPi / 180.0f;
    const float s = std::sin(alpha);
    const float c = std::cos(alpha);
    Matrix3 r = identityMatrix();
    r[0][0] = c;
    r[1][0] = s;
    r[0][1] = -s;
    r[1][1] = c;
    apply(r);
    if (moved) translate(cx, cy);
}

const AffineTransformation::Prepared& AffineTransformation::prepared() {
    if (!m_prepared) {
        const Matrix3 inv = inverse(m_matrix);
        m_inverse = {fixed(inv[0][0]), fixed(inv[1][0]), fixed(inv[2][0]),
                     fixed(inv[0][1]), fixed(inv[1][1]), fixed(inv[2][1])};
        m_prepared = true;
    }
    return m_inverse;
}

Rect AffineTransformation::transformedBounds() const {
    const float xs[4] = {srcRect.left, srcRect.right, srcRect.right, srcRect.left};
    const float ys[4] = {srcRect.top, srcRect.top, srcRect.bottom, srcRect.bottom};
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int i = 0; i < 4; ++i) {
        const float x = m_matrix[0][0] * xs[i] + m_matrix[1][0] * ys[i] + m_matrix[2][0];
        const float y = m_matrix[0][1] * xs[i] + m_matrix[1][1] * ys[i] + m_matrix[2][1];
        if (i == 0 || x < minX) minX = x;
        if (i == 0 || x > maxX) maxX = x;
        if (i == 0 || y < minY) minY = y;
        if (i == 0 || y > maxY) maxY = y;
    }
    // Inclusive bounds, as the transform loop runs over them.
    return {roundEven(minX - 0.5f), roundEven(minY - 0.5f), roundEven(maxX + 0.5f), roundEven(maxY + 0.5f)};
}

void transform(Bitmap32& destination, const Bitmap32& source, AffineTransformation& t) {
    if (source.empty() || destination.empty()) return;
    const AffineTransformation::Prepared& p = t.prepared();
    // Inclusive rectangles throughout.
    const int sl = std::max(roundEven(t.srcRect.left), 0);
    const int st = std::max(roundEven(t.srcRect.top), 0);
    const int sr = std::min(roundEven(t.srcRect.right), source.width() - 1);
    const int sb = std::min(roundEven(t.srcRect.bottom), source.height() - 1);
    const Rect bounds = t.transformedBounds();
    const int dl = std::max(bounds.left, 0);
    const int dt = std::max(bounds.top, 0);
    const int dr = std::min(bounds.right, destination.width() - 1);
    const int db = std::min(bounds.bottom, destination.height() - 1);
    if (dl > dr || dt > db || sl > sr || st > sb) return;
    for (int y = dt; y <= db; ++y) {
        Color32* row = destination.row(y);
        for (int x = dl; x <= dr; ++x) {
            const std::int64_t sx = (std::int64_t{p.a} * x + std::int64_t{p.b} * y + p.c + 2047) >> 12;
            const std::int64_t sy = (std::int64_t{p.d} * x + std::int64_t{p.e} * y + p.f + 2047) >> 12;
            if (sx < sl || sx > sr || sy < st || sy > sb) continue;
            source.writeByDrawMode(source.pixel(static_cast<int>(sx), static_cast<int>(sy)), row[x]);
        }
    }
    destination.changed();
}

void rotateInFrame(Bitmap32& picture, float alphaDegrees) {
    const int w = picture.width();
    const int h = picture.height();
    if (picture.empty()) return;
    Bitmap32 source;
    source.assign(picture);
    source.drawMode = DrawMode::Opaque;
    source.stretchFilter = StretchFilter::Nearest;
    AffineTransformation t;
    t.srcRect = {0, 0, static_cast<float>(w), static_cast<float>(h)};
    const float hw = static_cast<float>(w - 1) / 2.0f;
    const float hh = static_cast<float>(h - 1) / 2.0f;
    t.translate(-hw, -hh);
    t.rotate(0, 0, alphaDegrees);
    const float alpha = alphaDegrees * kPi / 180.0f;
    const float sa = std::fabs(std::sin(alpha));
    const float ca = std::fabs(std::cos(alpha));
    const float fw = static_cast<float>(w - 1);
    const float fh = static_cast<float>(h - 1);
    float s = std::min(static_cast<float>(h) / (fw * sa + fh * ca), static_cast<float>(w) / (fw * ca + fh * sa));
    // A 1 × 1 picture divides by zero in both terms: it has nothing to shrink.
    if (!std::isfinite(s)) s = 1.0f;
    t.scale(s, s);
    t.translate(hw, hh);
    picture.clear(0xFF7F7F7F);
    transform(picture, source, t);
}

}  // namespace pictra::pictures
