#include "Shape.h"

#include <algorithm>
#include <cmath>

#include "Pi.h"

namespace {
// The box that holds every given point.
Shape boundedBy(const std::vector<Vec2>& points, std::function<bool(Vec2)> contains)
{
    Shape shape{points.front(), points.front(), std::move(contains)};
    for (const Vec2& p : points) {
        shape.low = {std::min(shape.low.x, p.x), std::min(shape.low.y, p.y)};
        shape.high = {std::max(shape.high.x, p.x), std::max(shape.high.y, p.y)};
    }
    return shape;
}

// Corners of a width × height box centred on the origin, turned by degrees.
std::vector<Vec2> turnedCorners(Vec2 centre, double halfWidth, double halfHeight, double degrees)
{
    std::vector<Vec2> corners;
    for (Vec2 corner : {Vec2{-halfWidth, -halfHeight}, Vec2{halfWidth, -halfHeight}, Vec2{halfWidth, halfHeight},
                        Vec2{-halfWidth, halfHeight}})
        corners.push_back(centre + rotated(corner, degrees));
    return corners;
}
}

Vec2 rotated(Vec2 v, double degrees)
{
    const double radians = degrees * PI / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

Shape ellipse(Vec2 centre, double radiusX, double radiusY, double degrees)
{
    return boundedBy(turnedCorners(centre, radiusX, radiusY, degrees), [=](Vec2 p) {
        const Vec2 q = rotated(p - centre, -degrees);
        return (q.x * q.x) / (radiusX * radiusX) + (q.y * q.y) / (radiusY * radiusY) <= 1.0;
    });
}

Shape circle(Vec2 centre, double radius) { return ellipse(centre, radius, radius); }

Shape box(Vec2 centre, double width, double height, double degrees)
{
    return boundedBy(turnedCorners(centre, width / 2, height / 2, degrees), [=](Vec2 p) {
        const Vec2 q = rotated(p - centre, -degrees);
        return std::fabs(q.x) <= width / 2 && std::fabs(q.y) <= height / 2;
    });
}

Shape capsule(Vec2 from, Vec2 to, double radius)
{
    const Vec2 pad{radius, radius};
    return boundedBy({from - pad, from + pad, to - pad, to + pad}, [=](Vec2 p) {
        const Vec2 along = to - from;
        const double lengthSquared = along.x * along.x + along.y * along.y;
        double t = 0.0;
        if (lengthSquared > 0.0) {
            const Vec2 offset = p - from;
            t = std::clamp((offset.x * along.x + offset.y * along.y) / lengthSquared, 0.0, 1.0);
        }
        const Vec2 nearest = from + along * t;
        const Vec2 d = p - nearest;
        return d.x * d.x + d.y * d.y <= radius * radius;
    });
}

Shape polygon(std::vector<Vec2> corners)
{
    return boundedBy(corners, [corners](Vec2 p) {
        bool inside = false;
        for (size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
            const Vec2 a = corners[i];
            const Vec2 b = corners[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
        return inside;
    });
}

Shape star(Vec2 centre, double outer, double inner, int points, double degrees)
{
    std::vector<Vec2> corners;
    for (int i = 0; i < 2 * points; ++i)
        corners.push_back(centre + rotated({0.0, i % 2 == 0 ? outer : inner}, degrees + i * 180.0 / points));
    return polygon(corners);
}

Shape unite(const Shape& a, const Shape& b)
{
    return boundedBy({a.low, a.high, b.low, b.high},
                     [ta = a.contains, tb = b.contains](Vec2 p) { return ta(p) || tb(p); });
}

Shape intersect(const Shape& a, const Shape& b)
{
    Shape shape = a;
    shape.contains = [ta = a.contains, tb = b.contains](Vec2 p) { return ta(p) && tb(p); };
    return shape;
}

Shape subtract(const Shape& a, const Shape& b)
{
    Shape shape = a;
    shape.contains = [ta = a.contains, tb = b.contains](Vec2 p) { return ta(p) && !tb(p); };
    return shape;
}
