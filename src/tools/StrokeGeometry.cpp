#include "tools/StrokeGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace stroke {

int ArrowLength(int size) {
    static constexpr int lengths[] = {0, 6, 16, 35, 60};
    return size >= 0 && size <= 4 ? lengths[size] : 0;
}

namespace {
// Far enough apart that only the first position is stamped.
double Once(double length) {
    return length + 2;
}
} // namespace

double LineSpacing(int mode, int value, Pair a, Pair b) {
    if (mode == Distance) return std::max(value, 1);
    if (mode != Count) return 1;
    const double length = std::max(std::abs(double(b.x) - a.x), std::abs(double(b.y) - a.y));
    if (value < 2) return Once(length);
    return length / (value - 1);
}

double CurveSpacing(int mode, int value, double length) {
    if (mode == Distance) return std::max(value, 1);
    if (mode != Count) return 1;
    if (value < 2) return Once(length);
    return (length - 0.05) / (value - 1);
}

bool ArrowPoints(Pair s, Pair e, int size, std::array<Pair, 2>& out) {
    const int a = ArrowLength(size);
    const double dx = double(s.x) - e.x, dy = double(s.y) - e.y;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (a == 0 || d == 0) return false;
    const double pi = 3.14159265358979323846;
    // sin 30° comes out a hair under one half; whole results must not truncate to one less.
    const auto cut = [](double v) { return int(std::trunc(v + std::copysign(1e-9, v))); };
    for (int k = 0; k < 2; ++k) {
        const double theta = (k == 0 ? -30.0 : 30.0) * pi / 180.0;
        const double c = std::cos(theta), sn = std::sin(theta);
        out[size_t(k)] = {e.x + cut((dx * c - dy * sn) * a / d),
                          e.y + cut((dx * sn + dy * c) * a / d)};
    }
    return true;
}

Pair BendControl(Pair s, Pair e, Pair p) {
    // Integer division truncates toward zero, as the mid point is meant to.
    return {2 * p.x - (s.x + e.x) / 2, 2 * p.y - (s.y + e.y) / 2};
}

std::array<Pair, 17> CurvePoints(Pair s, Pair c, Pair e) {
    std::array<Pair, 17> points;
    points[0] = s;
    float t = 0;
    for (int k = 1; k <= 16; ++k) {
        t += 1.0f / 16.0f;
        const double u = 1.0 - double(t), tt = double(t);
        const auto at = [&](int sv, int cv, int ev) {
            return int(std::trunc(u * u * sv + 2 * tt * u * cv + tt * tt * ev));
        };
        points[size_t(k)] = {at(s.x, c.x, e.x), at(s.y, c.y, e.y)};
    }
    return points;
}

double CurveLength(const std::array<Pair, 17>& points) {
    double length = 0;
    for (size_t k = 1; k < points.size(); ++k)
        length += std::max(std::abs(double(points[k].x) - points[k - 1].x),
                           std::abs(double(points[k].y) - points[k - 1].y));
    return length;
}

} // namespace stroke
