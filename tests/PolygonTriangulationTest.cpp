#include "PolygonTriangulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {
using Corners = PolygonTriangulation::Corners;

Vector cross(const Vector& a, const Vector& b)
{
    return Vector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float length(const Vector& v)
{
    return std::sqrt(v.dot(v));
}

// Twice the polygon's vector area: its Newell normal.
Vector newell(const std::vector<Vector>& polygon)
{
    Vector sum;
    for (size_t i = 0; i < polygon.size(); ++i)
        sum += cross(polygon[i], polygon[(i + 1) % polygon.size()]);
    return sum;
}

// Twice the vector area of a triangle as drawn.
Vector drawnArea(const std::vector<Vector>& polygon, const Corners& t)
{
    return cross(polygon[t[1]] - polygon[t[0]], polygon[t[2]] - polygon[t[0]]);
}

// The polygon given in the plane z = 0, moved into a tilted plane through (1, 2, 3).
std::vector<Vector> tilted(const std::vector<Vector>& polygon)
{
    std::vector<Vector> moved;
    const float c = std::cos(0.7f), s = std::sin(0.7f);
    for (const Vector& p : polygon) {
        // About x by 0.7 rad, then about y by 0.7 rad.
        const Vector a(p.x, c * p.y - s * p.z, s * p.y + c * p.z);
        moved.push_back(Vector(c * a.x + s * a.z + 1.0f, a.y + 2.0f, -s * a.x + c * a.z + 3.0f));
    }
    return moved;
}

std::vector<Vector> reversed(std::vector<Vector> polygon)
{
    return std::vector<Vector>(polygon.rbegin(), polygon.rend());
}

const std::vector<Vector> L_SHAPE = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}};
// The L begun at its notch's lower corner: the fan from there covers the notch.
const std::vector<Vector> L_FROM_THE_NOTCH = {{2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}, {0, 0, 0}, {2, 0, 0}};
// A U of three prongs' worth: two notches cut from the top of a 3 x 2 rectangle.
const std::vector<Vector> COMB = {{0, 0, 0}, {5, 0, 0}, {5, 2, 0}, {4, 2, 0}, {4, 1, 0}, {3, 1, 0},
                                  {3, 2, 0}, {2, 2, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}};
// An arrow head whose notch reaches almost to its tip.
const std::vector<Vector> ARROW = {{0, 0, 0}, {4, 2, 0}, {0, 4, 0}, {3.5f, 2, 0}};
// A star of five points and five inner corners.
std::vector<Vector> star()
{
    std::vector<Vector> corners;
    for (int i = 0; i < 10; ++i) {
        const float angle = 0.6283185f * static_cast<float>(i);
        const float radius = i % 2 == 0 ? 2.0f : 0.8f;
        corners.push_back(Vector(radius * std::cos(angle), radius * std::sin(angle), 0.0f));
    }
    return corners;
}
// The L with its inner corner lifted a little out of the plane.
std::vector<Vector> nonPlanarL()
{
    std::vector<Vector> corners = L_SHAPE;
    corners[3].z = 0.05f;
    return corners;
}
}

TEST(PolygonTriangulationTest, AConcavePolygonIsCoveredExactlyByTrianglesFacingItsWay)
{
    struct Case {
        std::string name;
        std::vector<Vector> polygon;
        float area;  // of the polygon
    };
    const Case cases[] = {
        {"L", L_SHAPE, 3.0f},
        {"L from its notch", L_FROM_THE_NOTCH, 3.0f},
        {"L wound the other way", reversed(L_SHAPE), 3.0f},
        {"L from its notch in a tilted plane", tilted(L_FROM_THE_NOTCH), 3.0f},
        {"L wound the other way in a tilted plane", tilted(reversed(L_SHAPE)), 3.0f},
        {"L slightly out of its plane", nonPlanarL(), length(newell(nonPlanarL())) / 2.0f},
        {"comb", COMB, 8.0f},
        {"arrow", ARROW, 1.0f},
        {"star", tilted(star()), length(newell(star())) / 2.0f},
    };
    for (const Case& c : cases) {
        const std::vector<Corners> triangles = PolygonTriangulation::triangulate(c.polygon);
        ASSERT_EQ(triangles.size(), c.polygon.size() - 2) << c.name;
        // Drawing order reverses the polygon's, so every triangle faces against its Newell normal.
        const Vector facing = newell(c.polygon) * (-1.0f / length(newell(c.polygon)));
        float covered = 0.0f;
        std::set<int> used;
        for (const Corners& t : triangles) {
            EXPECT_TRUE(t[0] != t[1] && t[1] != t[2] && t[0] != t[2]) << c.name;
            used.insert(t.begin(), t.end());
            const Vector area = drawnArea(c.polygon, t);
            EXPECT_GT(area.dot(facing), 0.0f) << c.name << ": a triangle faces against the polygon";
            // Seen along the normal: for a flat polygon the triangle's own area.
            covered += area.dot(facing) / 2.0f;
        }
        EXPECT_NEAR(covered, c.area, 1e-3f * c.area) << c.name;
        EXPECT_EQ(used.size(), c.polygon.size()) << c.name << ": every corner is used";
    }
}

TEST(PolygonTriangulationTest, ConvexAndDegeneratePolygonsGetTheFanFromTheirFirstCorner)
{
    const std::vector<Corners> fan5 = {{0, 4, 3}, {0, 3, 2}, {0, 2, 1}};
    struct Case {
        std::string name;
        std::vector<Vector> polygon;
        std::vector<Corners> triangles;
    };
    const Case cases[] = {
        {"triangle", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 2, 1}}},
        {"square", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 3, 2}, {0, 2, 1}}},
        {"pentagon", {{0, 0, 0}, {2, 0, 0}, {3, 1, 0}, {1, 3, 0}, {-1, 1, 0}}, fan5},
        {"pentagon wound the other way", {{0, 0, 0}, {-1, 1, 0}, {1, 3, 0}, {3, 1, 0}, {2, 0, 0}}, fan5},
        {"pentagon in a tilted plane", tilted({{0, 0, 0}, {2, 0, 0}, {3, 1, 0}, {1, 3, 0}, {-1, 1, 0}}), fan5},
        {"square with a corner halfway along a side", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}}, fan5},
        {"bow tie crossing itself", {{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}}, {{0, 3, 2}, {0, 2, 1}}},
        {"corners on one line", {{0, 0, 0}, {1, 1, 1}, {3, 3, 3}, {2, 2, 2}}, {{0, 3, 2}, {0, 2, 1}}},
        {"all corners in one place", {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}}, {{0, 3, 2}, {0, 2, 1}}},
        {"a corner that is no number", {{0, 0, 0}, {2, 0, 0}, {NAN, 1, 0}, {1, 1, 0}, {1, 2, 0}},
         {{0, 4, 3}, {0, 3, 2}, {0, 2, 1}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PolygonTriangulation::triangulate(c.polygon), c.triangles) << c.name;
    EXPECT_EQ(PolygonTriangulation::fan(5), fan5);
    EXPECT_TRUE(PolygonTriangulation::triangulate({{0, 0, 0}, {1, 0, 0}}).empty());
    EXPECT_TRUE(PolygonTriangulation::fan(2).empty());
}

TEST(PolygonTriangulationTest, AStarCrossingItselfGetsTheFan)
{
    // A pentagram: every corner turns the same way, yet the outline goes round twice.
    std::vector<Vector> pentagram;
    for (int i = 0; i < 5; ++i) {
        const float angle = 2.5132741f * static_cast<float>(i);
        pentagram.push_back(Vector(std::cos(angle), std::sin(angle), 0.0f));
    }
    EXPECT_EQ(PolygonTriangulation::triangulate(pentagram), PolygonTriangulation::fan(5));
}

namespace {
// A small generator of its own, so that the polygons below are the same on every run and machine.
class Lcg {
public:
    // A number in [0, 1).
    float next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<float>(state >> 40) / 16777216.0f;
    }

private:
    uint64_t state = 12345;
};

std::vector<Vector> starOf(int points, float inner)
{
    std::vector<Vector> corners;
    for (int i = 0; i < 2 * points; ++i) {
        const float angle = 3.14159265f * static_cast<float>(i) / static_cast<float>(points);
        const float radius = i % 2 == 0 ? 1.0f : inner;
        corners.push_back(Vector(radius * std::cos(angle), radius * std::sin(angle), 0.0f));
    }
    return corners;
}

// Corners at random distances from the centre, in order of angle: concave almost everywhere.
std::vector<Vector> radial(Lcg& random, int count)
{
    std::vector<Vector> corners;
    for (int i = 0; i < count; ++i) {
        const float angle = 6.2831853f * static_cast<float>(i) / static_cast<float>(count);
        const float radius = 0.2f + 0.8f * random.next();
        corners.push_back(Vector(radius * std::cos(angle), radius * std::sin(angle), 0.0f));
    }
    return corners;
}

// A bar with teeth of the given count standing on it, teeth and gaps one wide.
std::vector<Vector> combOf(int teeth)
{
    std::vector<Vector> corners = {{0, 0, 0}, {static_cast<float>(2 * teeth - 1), 0, 0}};
    for (int t = teeth - 1; t >= 0; --t) {
        const float right = static_cast<float>(2 * t + 1), left = static_cast<float>(2 * t);
        corners.push_back(Vector(right, 3, 0));
        corners.push_back(Vector(left, 3, 0));
        if (t > 0) {
            corners.push_back(Vector(left, 1, 0));
            corners.push_back(Vector(left - 1, 1, 0));
        }
    }
    return corners;
}

// A band wound turns times round the centre, out along one side and back along the other.
std::vector<Vector> spiral(int steps, float turns)
{
    std::vector<Vector> outward, back;
    for (int i = 0; i <= steps; ++i) {
        const float f = static_cast<float>(i) / static_cast<float>(steps);
        const float angle = 6.2831853f * turns * f;
        const float r = 0.2f + f;
        outward.push_back(Vector(r * std::cos(angle), r * std::sin(angle), 0.0f));
        const float r2 = r + 0.5f / turns;
        back.push_back(Vector(r2 * std::cos(angle), r2 * std::sin(angle), 0.0f));
    }
    outward.insert(outward.end(), back.rbegin(), back.rend());
    return outward;
}

// A staircase: long runs of corners on one line, and corners that touch the outline elsewhere.
std::vector<Vector> staircase(int steps)
{
    std::vector<Vector> corners;
    for (int s = 0; s < steps; ++s) {
        corners.push_back(Vector(static_cast<float>(s), static_cast<float>(s), 0));
        corners.push_back(Vector(static_cast<float>(s) + 0.5f, static_cast<float>(s), 0));
        corners.push_back(Vector(static_cast<float>(s + 1), static_cast<float>(s), 0));
    }
    corners.push_back(Vector(static_cast<float>(steps), static_cast<float>(steps), 0));
    for (int s = steps; s >= 0; --s)
        corners.push_back(Vector(0, static_cast<float>(s) * 0.999f, 0));
    return corners;
}

uint64_t fold(uint64_t hash, int value)
{
    for (int b = 0; b < 4; ++b) {
        hash ^= static_cast<unsigned char>(value >> (8 * b));
        hash *= 1099511628211ull;
    }
    return hash;
}
}

// The cuts of a few hundred concave, degenerate and crossing polygons of up to a thousand corners,
// folded into one number recorded from the ear clipping as it was first written: the cutting may
// get faster, but every polygon keeps exactly its triangles.
TEST(PolygonTriangulationTest, CutsOfGeneratedPolygonsStayThoseRecorded)
{
    std::vector<std::vector<Vector>> polygons;
    for (int points : {3, 5, 17, 64, 300, 511})
        for (float inner : {0.01f, 0.3f, 0.8f, 0.999f})
            polygons.push_back(starOf(points, inner));
    Lcg random;
    for (int count = 4; count < 200; count += 3)
        polygons.push_back(radial(random, count));
    for (int count : {500, 1023})
        polygons.push_back(radial(random, count));
    for (int teeth : {2, 3, 10, 100, 250})
        polygons.push_back(combOf(teeth));
    for (int steps : {20, 100, 400})
        polygons.push_back(spiral(steps, 2.5f));
    for (int steps : {2, 5, 50})
        polygons.push_back(staircase(steps));
    // Two corners in one place, a corner repeated after others, and the figure of eight.
    polygons.push_back({{0, 0, 0}, {2, 0, 0}, {2, 0, 0}, {2, 2, 0}, {1, 1, 0}, {0, 2, 0}});
    polygons.push_back({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {2, 1, 0}, {0, 4, 0}, {2, 1, 0}});
    polygons.push_back({{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}});
    const size_t made = polygons.size();
    for (size_t i = 0; i < made; i += 7) {
        polygons.push_back(tilted(polygons[i]));
        polygons.push_back(reversed(polygons[i]));
    }

    uint64_t hash = 14695981039346656037ull;
    size_t triangles = 0;
    for (const std::vector<Vector>& polygon : polygons) {
        const std::vector<Corners> cut = PolygonTriangulation::triangulate(polygon);
        hash = fold(hash, static_cast<int>(cut.size()));
        for (const Corners& t : cut)
            for (int corner : t)
                hash = fold(hash, corner);
        triangles += cut.size();
    }
    EXPECT_EQ(polygons.size(), 138u);
    EXPECT_EQ(triangles, 24492u);
    EXPECT_EQ(hash, 0x9e0f7a5dd5f318c8ull) << std::hex << "0x" << hash;
}
