#include "PolygonTriangulation.h"

#include <algorithm>
#include <cmath>

namespace {
const double TWO_PI = 6.283185307179586;
// Relative to the square of the polygon's size: below it an area or a turn counts as none.
const double FLAT = 1e-12;

using Point2 = PolygonTriangulation::Place;

// Twice the signed area of (o, a, b): positive when the three turn anticlockwise.
double turn(const Point2& o, const Point2& a, const Point2& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool samePlace(const Point2& a, const Point2& b)
{
    return a.x == b.x && a.y == b.y;
}

// Drawing order reverses the polygon's, as the fan does.
PolygonTriangulation::Corners drawn(int a, int b, int c)
{
    return {a, c, b};
}

// The corners in the polygon's plane, in coordinates where the polygon runs anticlockwise, and the
// largest extent of the polygon; false when the polygon encloses no area (or holds no number).
bool project(const Vector* corners, size_t n, std::vector<Point2>& flat, double& size)
{
    double normal[3] = {0.0, 0.0, 0.0};
    double low[3] = {corners[0].x, corners[0].y, corners[0].z};
    double high[3] = {low[0], low[1], low[2]};
    for (size_t i = 0; i < n; ++i) {
        const Vector& p = corners[i];
        const Vector& q = corners[(i + 1) % n];
        normal[0] += (double(p.y) - q.y) * (double(p.z) + q.z);
        normal[1] += (double(p.z) - q.z) * (double(p.x) + q.x);
        normal[2] += (double(p.x) - q.x) * (double(p.y) + q.y);
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], double(p[axis]));
            high[axis] = std::max(high[axis], double(p[axis]));
        }
    }
    size = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
    const double length = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
    if (!(length > FLAT * size * size) || !std::isfinite(length))
        return false;
    const double w[3] = {normal[0] / length, normal[1] / length, normal[2] / length};
    // u along the plane, away from the axis the normal leans on least; v = w x u, so u x v = w and
    // the polygon, anticlockwise about its Newell normal, runs anticlockwise in (u, v).
    int least = 0;
    for (int axis = 1; axis < 3; ++axis)
        if (std::fabs(w[axis]) < std::fabs(w[least]))
            least = axis;
    double helper[3] = {0.0, 0.0, 0.0};
    helper[least] = 1.0;
    double u[3] = {helper[1] * w[2] - helper[2] * w[1], helper[2] * w[0] - helper[0] * w[2],
                   helper[0] * w[1] - helper[1] * w[0]};
    const double uLength = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
    for (double& value : u)
        value /= uLength;
    const double v[3] = {w[1] * u[2] - w[2] * u[1], w[2] * u[0] - w[0] * u[2], w[0] * u[1] - w[1] * u[0]};
    flat.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const double p[3] = {double(corners[i].x) - low[0], double(corners[i].y) - low[1], double(corners[i].z) - low[2]};
        flat[i] = {p[0] * u[0] + p[1] * u[1] + p[2] * u[2], p[0] * v[0] + p[1] * v[1] + p[2] * v[2]};
    }
    return true;
}

// No corner turns clockwise and the outline goes round once: then the polygon is convex.
bool convex(const std::vector<Point2>& p, double flatTurn)
{
    const size_t n = p.size();
    bool everyTurnLeft = true;
    for (size_t i = 0; i < n; ++i) {
        const double t = turn(p[(i + n - 1) % n], p[i], p[(i + 1) % n]);
        if (t < -flatTurn)
            return false;
        if (!(t > flatTurn))
            everyTurnLeft = false;
    }
    // Corners that all turn anticlockwise turn by less than half a turn each: four of them add up
    // to one whole turn, the only whole number of turns below two, so a quad needs no angles.
    if (n == 4 && everyTurnLeft)
        return true;
    double turning = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const Point2& a = p[(i + n - 1) % n];
        const Point2& b = p[i];
        const Point2& c = p[(i + 1) % n];
        const double dot = (b.x - a.x) * (c.x - b.x) + (b.y - a.y) * (c.y - b.y);
        turning += std::atan2(turn(a, b, c), dot);
    }
    return std::fabs(turning - TWO_PI) < 0.5;
}

// Two edges that are not neighbours cross each other.
bool crossesItself(const std::vector<Point2>& p, double flatTurn)
{
    const size_t n = p.size();
    for (size_t i = 0; i < n; ++i) {
        const Point2& a = p[i];
        const Point2& b = p[(i + 1) % n];
        for (size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1)
                continue;
            const Point2& c = p[j];
            const Point2& d = p[(j + 1) % n];
            const double c1 = turn(a, b, c), d1 = turn(a, b, d);
            const double a2 = turn(c, d, a), b2 = turn(c, d, b);
            if (((c1 > flatTurn && d1 < -flatTurn) || (c1 < -flatTurn && d1 > flatTurn)) &&
                ((a2 > flatTurn && b2 < -flatTurn) || (a2 < -flatTurn && b2 > flatTurn)))
                return true;
        }
    }
    return false;
}

// Cuts off one ear after the other; false when no ear is left to cut before three corners remain.
bool clipEars(const std::vector<Point2>& p, double flatTurn, std::vector<PolygonTriangulation::Corners>& made,
              std::vector<int>& previous, std::vector<int>& next)
{
    const int n = static_cast<int>(p.size());
    previous.resize(static_cast<size_t>(n));
    next.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        previous[static_cast<size_t>(i)] = (i + n - 1) % n;
        next[static_cast<size_t>(i)] = (i + 1) % n;
    }
    // An ear: a corner turning anticlockwise (or, when nothing else is left, not clockwise) whose
    // triangle with its neighbours holds no other remaining corner, not even on its border.
    auto isEar = [&](int corner, bool flatAllowed) {
        const int a = previous[static_cast<size_t>(corner)];
        const int b = next[static_cast<size_t>(corner)];
        const Point2& pa = p[static_cast<size_t>(a)];
        const Point2& pc = p[static_cast<size_t>(corner)];
        const Point2& pb = p[static_cast<size_t>(b)];
        const double t = turn(pa, pc, pb);
        if (flatAllowed ? t < -flatTurn : t <= flatTurn)
            return false;
        for (int k = next[static_cast<size_t>(b)]; k != a; k = next[static_cast<size_t>(k)]) {
            const Point2& q = p[static_cast<size_t>(k)];
            if (samePlace(q, pa) || samePlace(q, pc) || samePlace(q, pb))
                continue;
            if (turn(pa, pc, q) >= -flatTurn && turn(pc, pb, q) >= -flatTurn && turn(pb, pa, q) >= -flatTurn)
                return false;
        }
        return true;
    };

    int remaining = n;
    int corner = 0;
    int tried = 0;
    bool flatAllowed = false;
    while (remaining > 3) {
        if (isEar(corner, flatAllowed)) {
            const int a = previous[static_cast<size_t>(corner)];
            const int b = next[static_cast<size_t>(corner)];
            made.push_back(drawn(a, corner, b));
            next[static_cast<size_t>(a)] = b;
            previous[static_cast<size_t>(b)] = a;
            --remaining;
            corner = a;
            tried = 0;
            flatAllowed = false;
            continue;
        }
        corner = next[static_cast<size_t>(corner)];
        if (++tried >= remaining) {
            if (flatAllowed)
                return false;
            flatAllowed = true;
            tried = 0;
        }
    }
    made.push_back(drawn(previous[static_cast<size_t>(corner)], corner, next[static_cast<size_t>(corner)]));
    return true;
}
}

std::vector<PolygonTriangulation::Corners> PolygonTriangulation::fan(int count)
{
    PolygonTriangulation triangulation;
    return triangulation.cutFan(count);
}

std::vector<PolygonTriangulation::Corners> PolygonTriangulation::triangulate(const std::vector<Vector>& corners)
{
    PolygonTriangulation triangulation;
    return triangulation.cut(corners.data(), static_cast<int>(corners.size()));
}

const std::vector<PolygonTriangulation::Corners>& PolygonTriangulation::cutFan(int count)
{
    made.clear();
    for (int i = count - 2; i >= 1; --i)
        made.push_back(drawn(0, i, i + 1));
    return made;
}

const std::vector<PolygonTriangulation::Corners>& PolygonTriangulation::cut(const Vector* corners, int n)
{
    if (n < 3) {
        made.clear();
        return made;
    }
    if (n == 3)
        return cutFan(n);
    double size = 0.0;
    if (!project(corners, static_cast<size_t>(n), flat, size))
        return cutFan(n);
    const double flatTurn = FLAT * size * size;
    if (convex(flat, flatTurn) || crossesItself(flat, flatTurn))
        return cutFan(n);
    made.clear();
    made.reserve(static_cast<size_t>(n - 2));
    if (!clipEars(flat, flatTurn, made, previous, next))
        return cutFan(n);
    return made;
}
