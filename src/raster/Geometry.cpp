#include "raster/Geometry.h"

#include <algorithm>
#include <cmath>

const Matrix2D Matrix2D::Unit{};

Rect Rect::Intersect(const Rect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
}

Matrix2D Matrix2D::Rotation(double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return {c, -s, s, c};
}

Matrix2D Matrix2D::Scaling(double sx, double sy) {
    return {sx, 0, 0, sy};
}

Matrix2D Matrix2D::Shearing(double kx, double ky) {
    return {1, kx, ky, 1};
}

Matrix2D Matrix2D::Inverse() const {
    const double d = Determinant();
    if (d == 0 || !std::isfinite(d)) return {0, 0, 0, 0};
    return {a22 / d, -a12 / d, -a21 / d, a11 / d};
}

Matrix2D operator*(const Matrix2D& a, const Matrix2D& b) {
    return {a.a11 * b.a11 + a.a12 * b.a21, a.a11 * b.a12 + a.a12 * b.a22,
            a.a21 * b.a11 + a.a22 * b.a21, a.a21 * b.a12 + a.a22 * b.a22};
}
