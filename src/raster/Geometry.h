#pragma once

// Integer points and sizes, inclusive rectangles and 2-D linear transforms.

struct Pair {
    int x = 0;
    int y = 0;
    friend bool operator==(const Pair&, const Pair&) = default;
};

// Inclusive on all four sides: a 1 x 1 rectangle has left == right.
struct Rect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
    bool Empty() const { return right < left || bottom < top; }
    bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    Rect Intersect(const Rect& o) const;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// p' = M p with rows (a11, a12) and (a21, a22).
struct Matrix2D {
    double a11 = 1, a12 = 0;
    double a21 = 0, a22 = 1;

    static const Matrix2D Unit;

    // Counter-clockwise in a y-up frame; with y pointing down it turns clockwise on screen.
    static Matrix2D Rotation(double radians);
    static Matrix2D Scaling(double sx, double sy);
    static Matrix2D Shearing(double kx, double ky);

    double Determinant() const { return a11 * a22 - a12 * a21; }
    // The inverse; a singular matrix yields all zeros.
    Matrix2D Inverse() const;
    friend Matrix2D operator*(const Matrix2D& a, const Matrix2D& b);
    friend bool operator==(const Matrix2D&, const Matrix2D&) = default;
};
