#include "PolygonTriangulation.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>

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

// From this many corners on, the crossing test sweeps (CrossingSweep, with Cells when unsure) and
// the ear tests look through a tree of the corners (CornerTree) instead of at every edge or
// corner; both ways give the same answers, the faster ones only skip what cannot matter.
const int MANY_CORNERS = 48;
// Added around everything entered into the cells and around the tree's boxes, relative to the
// polygon's size: far more than the rounding of the plane's coordinates, so nothing near a border
// is missed.
const double CELL_MARGIN = 1e-9;

// Cells of equal size over the rectangle of the polygon's corners, about one per corner, each
// with the list of the edges entered over it. The lists live in storage of
// the triangulation object, kept from polygon to polygon.
class Cells {
public:
    Cells(const std::vector<Point2>& p, double size, std::vector<int>& first, std::vector<int>& items,
          std::vector<uint64_t>& notes)
        : first(first), items(items), notes(notes), margin(CELL_MARGIN * size)
    {
        left = right = p[0].x;
        bottom = top = p[0].y;
        for (const Point2& q : p) {
            left = std::min(left, q.x);
            right = std::max(right, q.x);
            bottom = std::min(bottom, q.y);
            top = std::max(top, q.y);
        }
        const double width = right - left, height = top - bottom;
        const double count = static_cast<double>(p.size());
        side = std::max({std::sqrt(width * height / count), std::max(width, height) / count, size * 1e-6});
        columns = std::max(1, std::min(static_cast<int>(p.size()), static_cast<int>(width / side) + 1));
        rows = std::max(1, std::min(static_cast<int>(p.size()), static_cast<int>(height / side) + 1));
        notes.clear();
    }

    // Enters item over every cell that the segment from a to b (a point when they are the same)
    // passes, widened by the margin.
    void enterSegment(int item, const Point2& a, const Point2& b)
    {
        visitSegment(a, b, [&](int cell) { notes.push_back(uint64_t(uint32_t(cell)) << 32 | uint32_t(item)); });
    }

    // Sorts the entered items into the lists of their cells.
    void settle()
    {
        const size_t cellCount = static_cast<size_t>(columns) * static_cast<size_t>(rows);
        first.assign(cellCount + 1, 0);
        for (uint64_t note : notes)
            ++first[static_cast<size_t>(note >> 32) + 1];
        for (size_t c = 0; c < cellCount; ++c)
            first[c + 1] += first[c];
        items.resize(notes.size());
        // first[c] runs up to where cell c's list ends while filling, then back to its start.
        for (uint64_t note : notes)
            items[static_cast<size_t>(first[static_cast<size_t>(note >> 32)]++)] = static_cast<int>(uint32_t(note));
        for (size_t c = cellCount; c > 0; --c)
            first[c] = first[c - 1];
        first[0] = 0;
    }

    // The items of a cell.
    const int* begin(int cell) const { return items.data() + first[static_cast<size_t>(cell)]; }
    const int* end(int cell) const { return items.data() + first[static_cast<size_t>(cell) + 1]; }
    int count() const { return columns * rows; }

private:
    int column(double x) const
    {
        const double at = (x - left) / side;
        return at <= 0.0 ? 0 : at >= columns - 1 ? columns - 1 : static_cast<int>(at);
    }
    int row(double y) const
    {
        const double at = (y - bottom) / side;
        return at <= 0.0 ? 0 : at >= rows - 1 ? rows - 1 : static_cast<int>(at);
    }

    // Widens [from, to] to the x of the part of the segment from a to b between the heights low
    // and high; nothing when the segment stays outside them.
    static void spanInBand(const Point2& a, const Point2& b, double low, double high, double& from, double& to)
    {
        if (std::max(a.y, b.y) < low || std::min(a.y, b.y) > high)
            return;
        double x0 = a.x, x1 = b.x;
        const double dy = b.y - a.y;
        if (dy != 0.0) {
            const double t0 = std::max(0.0, std::min(1.0, (low - a.y) / dy));
            const double t1 = std::max(0.0, std::min(1.0, (high - a.y) / dy));
            x0 = a.x + t0 * (b.x - a.x);
            x1 = a.x + t1 * (b.x - a.x);
        }
        from = std::min({from, x0, x1});
        to = std::max({to, x0, x1});
    }

    template <class Visit>
    void visitSegment(const Point2& a, const Point2& b, Visit visit) const
    {
        const double low = std::min(a.y, b.y) - margin, high = std::max(a.y, b.y) + margin;
        for (int r = row(low), lastRow = row(high); r <= lastRow; ++r) {
            double from = 1e300, to = -1e300;
            spanInBand(a, b, std::max(low, bottom + r * side - margin), std::min(high, bottom + (r + 1) * side + margin),
                       from, to);
            if (from > to)
                continue;
            for (int col = column(from - margin), last = column(to + margin); col <= last; ++col)
                visit(r * columns + col);
        }
    }

    std::vector<int>& first;
    std::vector<int>& items;
    std::vector<uint64_t>& notes;
    double margin;
    double left, right, bottom, top;  // the corners' rectangle
    double side;                      // of a cell
    int columns, rows;
};

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

// Edges i and j (from corner i to i + 1) cross each other, each passing from one side of the
// other to the other by more than flatTurn.
bool edgesCross(const std::vector<Point2>& p, size_t i, size_t j, double flatTurn)
{
    const size_t n = p.size();
    const Point2& a = p[i];
    const Point2& b = p[(i + 1) % n];
    const Point2& c = p[j];
    const Point2& d = p[(j + 1) % n];
    const double c1 = turn(a, b, c), d1 = turn(a, b, d);
    const double a2 = turn(c, d, a), b2 = turn(c, d, b);
    return ((c1 > flatTurn && d1 < -flatTurn) || (c1 < -flatTurn && d1 > flatTurn)) &&
           ((a2 > flatTurn && b2 < -flatTurn) || (a2 < -flatTurn && b2 > flatTurn));
}

// Two edges that are not neighbours cross each other.
bool crossesItself(const std::vector<Point2>& p, double flatTurn)
{
    const size_t n = p.size();
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1)
                continue;
            if (edgesCross(p, i, j, flatTurn))
                return true;
        }
    }
    return false;
}

// The same for a polygon of many corners: two edges that cross meet at a point inside both, so
// both pass over the cell of that point, and only edges sharing a cell are tested.
bool crossesItself(const std::vector<Point2>& p, double flatTurn, Cells& cells)
{
    const size_t n = p.size();
    for (size_t i = 0; i < n; ++i)
        cells.enterSegment(static_cast<int>(i), p[i], p[(i + 1) % n]);
    cells.settle();
    for (int cell = 0; cell < cells.count(); ++cell) {
        for (const int* x = cells.begin(cell); x != cells.end(cell); ++x) {
            for (const int* y = x + 1; y != cells.end(cell); ++y) {
                const size_t i = static_cast<size_t>(std::min(*x, *y)), j = static_cast<size_t>(std::max(*x, *y));
                if (j < i + 2 || (i == 0 && j == n - 1))
                    continue;
                if (edgesCross(p, i, j, flatTurn))
                    return true;
            }
        }
    }
    return false;
}

// The corners left while ears are cut, in a tree of boxes: each node holds the box around its
// corners and how many of them are left, and splits them in half across the box's longer side.
// A look for corners in a triangle passes over the boxes that lie outside it or hold none left,
// so a long thin ear across a polygon whose corners lie along its outline asks after a few boxes
// near its ends, not after every corner.
class CornerTree {
public:
    // order, position, boxes and left: storage of the triangulation object, refilled here.
    CornerTree(const std::vector<Point2>& p, double size, std::vector<int>& order, std::vector<int>& position,
               std::vector<double>& boxes, std::vector<int>& left)
        : p(p), order(order), position(position), boxes(boxes), left(left), margin(CELL_MARGIN * size),
          count(static_cast<int>(p.size()))
    {
        order.resize(p.size());
        for (int i = 0; i < count; ++i)
            order[static_cast<size_t>(i)] = i;
        boxes.assign(16 * p.size(), 0.0);
        left.assign(4 * p.size(), 0);
        build(1, 0, count);
        position.resize(p.size());
        for (int i = 0; i < count; ++i)
            position[static_cast<size_t>(order[static_cast<size_t>(i)])] = i;
    }

    // Takes the corner out of the count of every box that holds it.
    void remove(int corner)
    {
        const int at = position[static_cast<size_t>(corner)];
        int node = 1, low = 0, high = count;
        for (;;) {
            --left[static_cast<size_t>(node)];
            if (high - low <= LEAF)
                return;
            const int middle = (low + high) / 2;
            if (at < middle) {
                node = 2 * node;
                high = middle;
            } else {
                node = 2 * node + 1;
                low = middle;
            }
        }
    }

    // Calls visit (corner) for the corners left in boxes that reach the triangle (a, b, c),
    // anticlockwise, until visit returns true; true then.
    template <class Visit>
    bool any(const Point2& a, const Point2& b, const Point2& c, Visit visit) const
    {
        Triangle2 t;
        t.low[0] = std::min({a.x, b.x, c.x});
        t.low[1] = std::min({a.y, b.y, c.y});
        t.high[0] = std::max({a.x, b.x, c.x});
        t.high[1] = std::max({a.y, b.y, c.y});
        const Point2* corners[4] = {&a, &b, &c, &a};
        for (int e = 0; e < 3; ++e) {
            // The inner side is to the left of each edge, as turn measures it.
            const Point2& u = *corners[e];
            const Point2& v = *corners[e + 1];
            t.across[e] = -(v.y - u.y);
            t.up[e] = v.x - u.x;
            t.offset[e] = -(t.across[e] * u.x + t.up[e] * u.y);
        }
        return search(1, 0, count, t, visit);
    }

private:
    static const int LEAF = 16;  // corners a node holds without splitting them

    void build(int node, int low, int high)
    {
        double* box = &boxes[4 * static_cast<size_t>(node)];
        box[0] = box[2] = p[static_cast<size_t>(order[static_cast<size_t>(low)])].x;
        box[1] = box[3] = p[static_cast<size_t>(order[static_cast<size_t>(low)])].y;
        for (int i = low; i < high; ++i) {
            const Point2& q = p[static_cast<size_t>(order[static_cast<size_t>(i)])];
            box[0] = std::min(box[0], q.x);
            box[1] = std::min(box[1], q.y);
            box[2] = std::max(box[2], q.x);
            box[3] = std::max(box[3], q.y);
        }
        box[0] -= margin;
        box[1] -= margin;
        box[2] += margin;
        box[3] += margin;
        left[static_cast<size_t>(node)] = high - low;
        if (high - low <= LEAF)
            return;
        const int middle = (low + high) / 2;
        const bool across = box[2] - box[0] >= box[3] - box[1];
        std::nth_element(order.begin() + low, order.begin() + middle, order.begin() + high, [&](int i, int j) {
            return across ? p[static_cast<size_t>(i)].x < p[static_cast<size_t>(j)].x
                          : p[static_cast<size_t>(i)].y < p[static_cast<size_t>(j)].y;
        });
        build(2 * node, low, middle);
        build(2 * node + 1, middle, high);
    }

    // A triangle as its extent and its edges' lines: a place q lies on the inner side of edge e
    // when across[e] * q.x + up[e] * q.y + offset[e] >= 0.
    struct Triangle2 {
        double low[2], high[2];
        double across[3], up[3], offset[3];
    };

    // The box lies wholly outside the triangle: beyond its extent, or with even its corner
    // furthest inwards beyond the line of an edge.
    static bool apart(const double* box, const Triangle2& t)
    {
        if (box[2] < t.low[0] || box[0] > t.high[0] || box[3] < t.low[1] || box[1] > t.high[1])
            return true;
        for (int e = 0; e < 3; ++e) {
            const double x = t.across[e] > 0.0 ? box[2] : box[0];
            const double y = t.up[e] > 0.0 ? box[3] : box[1];
            if (t.across[e] * x + t.up[e] * y + t.offset[e] < 0.0)
                return true;
        }
        return false;
    }

    template <class Visit>
    bool search(int node, int low, int high, const Triangle2& triangle, Visit& visit) const
    {
        if (left[static_cast<size_t>(node)] == 0 || apart(&boxes[4 * static_cast<size_t>(node)], triangle))
            return false;
        if (high - low <= LEAF) {
            for (int i = low; i < high; ++i)
                if (visit(order[static_cast<size_t>(i)]))
                    return true;
            return false;
        }
        const int middle = (low + high) / 2;
        return search(2 * node, low, middle, triangle, visit) || search(2 * node + 1, middle, high, triangle, visit);
    }

    const std::vector<Point2>& p;
    std::vector<int>& order;     // the corners, each node's a run of it
    std::vector<int>& position;  // per corner, its place in order
    std::vector<double>& boxes;  // per node, its box: lowest x and y, highest x and y
    std::vector<int>& left;      // per node, its corners not yet cut off
    const double margin;         // added around every box
    const int count;
};

// What a sweep over a polygon's edges found.
enum class Sweep { CLEAN, CROSSING, UNSURE };

// Looks for edges that cross by sweeping a line over the plane, keeping the edges it meets in
// their order along it (Shamos and Hoey): two edges that meet are next to each other in that
// order somewhere before they meet, so only edges that become neighbours there are tested, and a
// polygon that never crosses itself costs n log n. The line runs across the plane at a slant, so
// that the edges of a polygon drawn along the axes do not lie along it.
// CLEAN: no two edges that are not neighbours meet, so none crosses. CROSSING: two edges cross
// as crossesItself tests. UNSURE: a corner or edge comes so close to another that the order along
// the line could be wrong (corners in one place, a corner on an edge, an edge folded back): the
// caller tests every pair instead.
class CrossingSweep {
public:
    CrossingSweep(const std::vector<Point2>& p, double size, double flatTurn, std::vector<Point2>& slanted,
                  std::vector<int>& order)
        : p(p), slanted(slanted), order(order), flatTurn(flatTurn), close(1e-9 * size * size),
          upright(1e-9 * size), edges(Below{this})
    {
    }

    Sweep run()
    {
        const size_t n = p.size();
        slanted.resize(n);
        const double c = 0.8775825618903728, s = 0.479425538604203;  // a turn by half a radian
        for (size_t i = 0; i < n; ++i)
            slanted[i] = {c * p[i].x - s * p[i].y, s * p[i].x + c * p[i].y};
        order.resize(n);
        for (size_t i = 0; i < n; ++i)
            order[i] = static_cast<int>(i);
        std::sort(order.begin(), order.end(), [&](int a, int b) { return before(a, b); });
        for (size_t i = 0; i < n; ++i) {
            const size_t j = (i + 1) % n;
            if (std::fabs(slanted[i].x - slanted[j].x) < upright)
                return Sweep::UNSURE;
        }
        for (size_t k = 1; k < n; ++k)
            if (samePlace(slanted[static_cast<size_t>(order[k - 1])], slanted[static_cast<size_t>(order[k])]))
                return Sweep::UNSURE;
        places.assign(n, edges.end());
        for (int corner : order) {
            // The edges that end here leave the line, then those that start here join it.
            const int edgesHere[2] = {(corner + static_cast<int>(n) - 1) % static_cast<int>(n), corner};
            for (int edge : edgesHere)
                if (places[static_cast<size_t>(edge)] != edges.end() && right(edge) == corner) {
                    const Sweep found = leave(edge);
                    if (found != Sweep::CLEAN)
                        return found;
                }
            for (int edge : edgesHere)
                if (left(edge) == corner) {
                    const Sweep found = join(edge);
                    if (found != Sweep::CLEAN)
                        return found;
                }
        }
        return Sweep::CLEAN;
    }

private:
    struct Below {
        CrossingSweep* sweep;
        bool operator()(int a, int b) const { return sweep->below(a, b); }
    };
    typedef std::set<int, Below> Edges;

    bool before(int a, int b) const
    {
        const Point2& pa = slanted[static_cast<size_t>(a)];
        const Point2& pb = slanted[static_cast<size_t>(b)];
        return pa.x < pb.x || (pa.x == pb.x && pa.y < pb.y);
    }
    int left(int edge) const
    {
        const int other = (edge + 1) % static_cast<int>(p.size());
        return before(edge, other) ? edge : other;
    }
    int right(int edge) const { return left(edge) == edge ? (edge + 1) % static_cast<int>(p.size()) : edge; }
    const Point2& at(int corner) const { return slanted[static_cast<size_t>(corner)]; }

    // The turn from edge's direction (left to right) to the place q; too small to be sure of its
    // sign marks the sweep unsure.
    double side(int edge, const Point2& q)
    {
        const double t = turn(at(left(edge)), at(right(edge)), q);
        if (std::fabs(t) < close)
            unsure = true;
        return t;
    }

    // Edge a lies below edge b where the line stands, one of them the edge joining it.
    bool below(int a, int b)
    {
        if (a == b)
            return false;
        if (a == joining)
            return sideOfJoining(b) < 0.0;
        return sideOfJoining(a) > 0.0;
    }
    // Where the joining edge lies from other: by its left end, or by its right end when both
    // start at the same corner.
    double sideOfJoining(int other)
    {
        const int start = left(joining);
        return side(other, at(start == left(other) ? right(joining) : start));
    }

    bool neighbours(int a, int b) const
    {
        const int n = static_cast<int>(p.size());
        return (a + 1) % n == b || (b + 1) % n == a;
    }

    // Edges a and b, not neighbours, next to each other on the line: CROSSING when they cross,
    // UNSURE when they come close, CLEAN when they stay apart.
    Sweep test(int a, int b)
    {
        if (neighbours(a, b))
            return Sweep::CLEAN;
        const double o1 = side(a, at(b)), o2 = side(a, at((b + 1) % static_cast<int>(p.size())));
        const double o3 = side(b, at(a)), o4 = side(b, at((a + 1) % static_cast<int>(p.size())));
        if (unsure)
            return Sweep::UNSURE;
        if ((o1 > 0.0) == (o2 > 0.0) || (o3 > 0.0) == (o4 > 0.0))
            return Sweep::CLEAN;
        return edgesCross(p, static_cast<size_t>(std::min(a, b)), static_cast<size_t>(std::max(a, b)), flatTurn)
                   ? Sweep::CROSSING
                   : Sweep::UNSURE;
    }

    Sweep join(int edge)
    {
        joining = edge;
        const Edges::iterator place = edges.insert(edge).first;
        joining = -1;
        if (unsure)
            return Sweep::UNSURE;
        places[static_cast<size_t>(edge)] = place;
        if (place != edges.begin()) {
            const Sweep found = test(*std::prev(place), edge);
            if (found != Sweep::CLEAN)
                return found;
        }
        const Edges::iterator above = std::next(place);
        return above == edges.end() ? Sweep::CLEAN : test(edge, *above);
    }

    Sweep leave(int edge)
    {
        const Edges::iterator place = places[static_cast<size_t>(edge)];
        const Edges::iterator above = std::next(place);
        Sweep found = Sweep::CLEAN;
        if (place != edges.begin() && above != edges.end())
            found = test(*std::prev(place), *above);
        edges.erase(place);
        places[static_cast<size_t>(edge)] = edges.end();
        return found;
    }

    const std::vector<Point2>& p;
    std::vector<Point2>& slanted;  // the corners in the sweep's coordinates
    std::vector<int>& order;       // the corners in the order the line meets them
    const double flatTurn;
    const double close;    // a turn below it is too small to be sure of its sign
    const double upright;  // an edge narrower than this across the sweep's direction is too steep
    Edges edges;           // the edges the line crosses, from below
    std::vector<Edges::iterator> places;  // per edge, its place in edges, or edges.end()
    int joining = -1;      // the edge being put into edges
    bool unsure = false;
};

// Cuts off one ear after the other; false when no ear is left to cut before three corners remain.
// With a tree of the corners (for a polygon of many corners) an ear test looks only at the
// corners near the ear.
bool clipEars(const std::vector<Point2>& p, double flatTurn, std::vector<PolygonTriangulation::Corners>& made,
              std::vector<int>& previous, std::vector<int>& next, CornerTree* tree, std::vector<char>& clipped)
{
    const int n = static_cast<int>(p.size());
    previous.resize(static_cast<size_t>(n));
    next.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        previous[static_cast<size_t>(i)] = (i + n - 1) % n;
        next[static_cast<size_t>(i)] = (i + 1) % n;
    }
    if (tree)
        clipped.assign(static_cast<size_t>(n), 0);
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
        const auto blocks = [&](int k) {
            const Point2& q = p[static_cast<size_t>(k)];
            if (samePlace(q, pa) || samePlace(q, pc) || samePlace(q, pb))
                return false;
            return turn(pa, pc, q) >= -flatTurn && turn(pc, pb, q) >= -flatTurn && turn(pb, pa, q) >= -flatTurn;
        };
        if (tree && t > flatTurn) {
            // Each of the three turns is t times a barycentric coordinate of the corner tested, so
            // the corners that block lie in the triangle grown about its centroid by 1 + 3 flatTurn
            // / t (below 4); a hundredth more for the rounding of the turns, which stays below a
            // thousandth of flatTurn. The tree's boxes are widened for the rounding of the places.
            const double grow = 1.0 + 3.0 * 1.01 * flatTurn / t;
            const Point2 centre = {(pa.x + pc.x + pb.x) / 3.0, (pa.y + pc.y + pb.y) / 3.0};
            const auto grown = [&](const Point2& q) {
                return Point2{centre.x + grow * (q.x - centre.x), centre.y + grow * (q.y - centre.y)};
            };
            return !tree->any(grown(pa), grown(pc), grown(pb), [&](int k) {
                return k != a && k != corner && k != b && !clipped[static_cast<size_t>(k)] && blocks(k);
            });
        }
        for (int k = next[static_cast<size_t>(b)]; k != a; k = next[static_cast<size_t>(k)]) {
            if (blocks(k))
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
            if (tree) {
                clipped[static_cast<size_t>(corner)] = 1;
                tree->remove(corner);
            }
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

const std::vector<PolygonTriangulation::Corners>& PolygonTriangulation::cut(const Vector* points, int n)
{
    if (n < 3) {
        made.clear();
        return made;
    }
    if (n == 3)
        return cutFan(n);
    double size = 0.0;
    if (!project(points, static_cast<size_t>(n), flat, size))
        return cutFan(n);
    const double flatTurn = FLAT * size * size;
    if (convex(flat, flatTurn))
        return cutFan(n);
    if (n < MANY_CORNERS) {
        if (crossesItself(flat, flatTurn))
            return cutFan(n);
        made.clear();
        made.reserve(static_cast<size_t>(n - 2));
        if (!clipEars(flat, flatTurn, made, previous, next, nullptr, clipped))
            return cutFan(n);
        return made;
    }
    const Sweep swept = CrossingSweep(flat, size, flatTurn, slanted, sweepOrder).run();
    if (swept == Sweep::CROSSING)
        return cutFan(n);
    if (swept == Sweep::UNSURE) {
        Cells edges(flat, size, cellFirst, cellItems, cellNotes);
        if (crossesItself(flat, flatTurn, edges))
            return cutFan(n);
    }
    CornerTree corners(flat, size, treeOrder, treePosition, treeBoxes, treeLeft);
    made.clear();
    made.reserve(static_cast<size_t>(n - 2));
    if (!clipEars(flat, flatTurn, made, previous, next, &corners, clipped))
        return cutFan(n);
    return made;
}
