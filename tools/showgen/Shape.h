#ifndef SHOWGEN_SHAPE_H
#define SHOWGEN_SHAPE_H

#include <functional>
#include <vector>

// A point or offset in local drawing units, y pointing up.
struct Vec2 {
    double x = 0.0;
    double y = 0.0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double s) { return {a.x * s, a.y * s}; }

// v turned counter-clockwise by degrees about the origin.
Vec2 rotated(Vec2 v, double degrees);

// A region of the local plane: a bounding box and a point test.
struct Shape {
    Vec2 low;   // lower-left corner of the bounding box
    Vec2 high;  // upper-right corner
    std::function<bool(Vec2)> contains;
};

Shape ellipse(Vec2 centre, double radiusX, double radiusY, double degrees = 0.0);
Shape circle(Vec2 centre, double radius);
Shape box(Vec2 centre, double width, double height, double degrees = 0.0);
// A thick line with round ends.
Shape capsule(Vec2 from, Vec2 to, double radius);
// Any simple or self-crossing polygon, filled by the even-odd rule.
Shape polygon(std::vector<Vec2> corners);

// A star of the given number of points between an outer and an inner radius; a point faces degrees
// (0 = up).
Shape star(Vec2 centre, double outer, double inner, int points, double degrees = 0.0);

Shape unite(const Shape& a, const Shape& b);
Shape intersect(const Shape& a, const Shape& b);
Shape subtract(const Shape& a, const Shape& b);

#endif
