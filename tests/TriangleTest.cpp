#include "Triangle.h"

#include <gtest/gtest.h>

#include <vector>

#include <cmath>
#include <string>

#include "TextureCoordinate.h"
#include "TextureCoordinateMap.h"
#include "TriangleNormalMap.h"

namespace {

const std::string TRIANGLE_EXCEPTION = "KelvoEngineException::::TriangleException::";
const std::string COORDINATE_EXCEPTION = "KelvoEngineException::::TextureCoordinateException::";

PointMap points(const Vector& a, const Vector& b, const Vector& c)
{
    PointMap map;
    map[4] = Point(a);
    map[7] = Point(b);
    map[9] = Point(c);
    return map;
}

}  // namespace

TEST(Triangle, DefaultsAndCopiesKeepAllFields)
{
    const Triangle empty;
    EXPECT_EQ(empty.getPoints(), (Triangle::PointIndices{{-1, -1, -1}}));
    EXPECT_EQ(empty.getSurfaceName(), "");
    EXPECT_EQ(empty.getNormal().length(true), 0.0f);
    EXPECT_EQ(empty.getPolygonIndex(), -1);
    EXPECT_EQ(empty.getSmoothingGroup(), -1);

    Triangle t(Triangle::PointIndices{{4, 7, 9}});
    EXPECT_EQ(t.getPoint(0), 4);
    EXPECT_EQ(t.getPoint(2), 9);
    EXPECT_EQ(t.getPolygonIndex(), -1);
    EXPECT_TRUE(t.hasPoint(7));
    EXPECT_FALSE(t.hasPoint(5));
    t.setSurfaceName("skin");
    t.setNormal(Vector(0, 1, 0));
    t.setPolygonIndex(12);
    t.setSmoothingGroup(6);
    const Triangle copy(t);
    EXPECT_EQ(copy.getPoints(), t.getPoints());
    EXPECT_EQ(copy.getSurfaceName(), "skin");
    EXPECT_EQ(copy.getNormal().y, 1.0f);
    EXPECT_EQ(copy.getPolygonIndex(), 12);
    EXPECT_EQ(copy.getSmoothingGroup(), 6);
}

// A surface name many triangles share is counted: each copy, move and replacement keeps the text
// alive for the triangles still holding it, and renaming one triangle leaves the others alone. The
// sanitizer build catches a text freed too early or never.
TEST(Triangle, ASharedSurfaceNameLivesAsLongAsItsLastTriangle)
{
    Triangle kept;
    {
        const Triangle::SurfaceName shared = Triangle::shareSurfaceName("rock");
        std::vector<Triangle> faces(4);
        for (Triangle& face : faces)
            face.setSurfaceName(shared);
        kept = faces[1];
        const Triangle moved(std::move(faces[2]));
        EXPECT_EQ(moved.getSurfaceName(), "rock");
        Triangle& same = faces[0];
        faces[0] = same;
        EXPECT_EQ(faces[0].getSurfaceName(), "rock");
        faces[3].setSurfaceName("moss");
        faces[0].setSurfaceName("");
        EXPECT_EQ(faces[0].getSurfaceName(), "");
        EXPECT_EQ(faces[1].getSurfaceName(), "rock");
        EXPECT_EQ(faces[3].getSurfaceName(), "moss");
        EXPECT_EQ(shared.text(), "rock");
    }
    EXPECT_EQ(kept.getSurfaceName(), "rock");
    EXPECT_EQ(Triangle::shareSurfaceName("").text(), "");
}

TEST(Triangle, CalcNormalIsTheUnitCrossProductOfTheCornersInWindingOrder)
{
    struct Case {
        Vector a, b, c;
        Vector expected;
    } cases[] = {
        // Counter-clockwise seen from +z faces +z; the other winding faces -z.
        {Vector(0, 0, 0), Vector(1, 0, 0), Vector(0, 1, 0), Vector(0, 0, 1)},
        {Vector(0, 0, 0), Vector(0, 1, 0), Vector(1, 0, 0), Vector(0, 0, -1)},
        // (2, 0, 0) × (0, 0, -3) = (0, 6, 0), divided by its length 6.
        {Vector(1, 1, 1), Vector(3, 1, 1), Vector(1, 1, -2), Vector(0, 1, 0)},
        // (0, 3, 0) × (0, 0, 4) = (12, 0, 0).
        {Vector(5, -1, 2), Vector(5, 2, 2), Vector(5, -1, 6), Vector(1, 0, 0)},
        // (1, 1, 0) × (0, 1, 1) = (1, -1, 1), length √3.
        {Vector(0, 0, 0), Vector(1, 1, 0), Vector(0, 1, 1), Vector(1, -1, 1) / std::sqrt(3.0f)},
    };
    for (const Case& c : cases) {
        Triangle t(Triangle::PointIndices{{4, 7, 9}});
        const Vector n = t.calcNormal(points(c.a, c.b, c.c));
        EXPECT_NEAR(n.x, c.expected.x, 1e-6);
        EXPECT_NEAR(n.y, c.expected.y, 1e-6);
        EXPECT_NEAR(n.z, c.expected.z, 1e-6);
        EXPECT_EQ(t.getNormal().length(true), 0.0f) << "calcNormal does not store the normal";
    }
}

TEST(Triangle, CalcNormalRefusesCornersWithoutAnArea)
{
    const std::string zero = TRIANGLE_EXCEPTION + "calcNormal() - Zero normal detected. Possibly invalid Triangle.";
    struct Case {
        const char* what;
        Triangle::PointIndices corners;
        PointMap map;
        std::string message;
    } cases[] = {
        {"collinear", {{4, 7, 9}}, points(Vector(0, 0, 0), Vector(1, 1, 1), Vector(3, 3, 3)), zero},
        {"one point twice", {{4, 7, 4}}, points(Vector(0, 0, 0), Vector(1, 0, 0), Vector(0, 1, 0)), zero},
        // A cross product of about 1e-40: not zero, but its squared length underflows to 0.
        {"area too small to normalise", {{4, 7, 9}},
         points(Vector(0, 0, 0), Vector(1e-20f, 0, 0), Vector(0, 1e-20f, 0)), zero},
        // A cross product that overflows has no direction either.
        {"area too large to normalise", {{4, 7, 9}},
         points(Vector(0, 0, 0), Vector(1e30f, 0, 0), Vector(0, 1e30f, 0)), zero},
        {"corner not in the map", {{4, 7, 8}}, points(Vector(0, 0, 0), Vector(1, 0, 0), Vector(0, 1, 0)),
         TRIANGLE_EXCEPTION + "calcNormal() - Point 8 of the triangle is not in the point map."},
    };
    for (const Case& c : cases) {
        try {
            Triangle(c.corners).calcNormal(c.map);
            ADD_FAILURE() << c.what << ": no exception";
        } catch (const TriangleException& e) {
            EXPECT_EQ(e.getMessage(), c.message) << c.what;
        }
    }
}

TEST(TriangleNormalMap, KeepsOneNormalPerCornerOfEachTriangle)
{
    TriangleNormalMap map;
    EXPECT_FALSE(map.hasTriangle(2));
    EXPECT_EQ(map.getPointNormals(2).isComplete(), false);
    map.setNormal(2, 10, Vector(0, 1, 0));
    map.setNormal(2, 11, Vector(1, 0, 0));
    EXPECT_TRUE(map.hasTriangle(2));
    EXPECT_FALSE(map.getPointNormals(2).isComplete());
    map.setNormal(2, 12, Vector(0, 0, 1));
    map.setNormal(2, 10, Vector(0, -1, 0));  // replaces
    // The same point carries another normal in a triangle of another smoothing group.
    map.setNormal(3, 10, Vector(0, 0, -1));
    EXPECT_EQ(map.size(), 2);
    const PointNormalMap normals = map.getPointNormals(2);
    EXPECT_TRUE(normals.isComplete());
    EXPECT_EQ(normals.getNormal(10).y, -1.0f);
    EXPECT_EQ(normals.getNormal(12).z, 1.0f);
    EXPECT_EQ(map.getPointNormals(3).getNormal(10).z, -1.0f);
    map.clear();
    EXPECT_EQ(map.size(), 0);
    EXPECT_FALSE(map.hasTriangle(2));
}

TEST(TextureCoordinate, SetPointsResetsThemToZeroAndTheListIsInPointOrder)
{
    TextureCoordinate tc(9, 3, 5);
    EXPECT_TRUE(tc.isComplete());
    tc.setCoordinate(9, UV(0.25f, 0.75f));
    tc.setCoordinate(3, UV(0.5f, 1.0f));
    tc.setPoints(9, 3, 4);
    EXPECT_EQ(tc.getCoordinate(9), UV(0, 0));
    EXPECT_EQ(tc.getCoordinate(3), UV(0, 0));
    EXPECT_FALSE(tc.isComplete());  // 3, 4, 5 and 9
    tc.setCoordinate(5, UV(0.125f, 0.5f));
    const std::vector<TextureCoordinate::Record> list = tc.getCoordinateList();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].point, 3);
    EXPECT_EQ(list[1].point, 4);
    EXPECT_EQ(list[2].point, 5);
    EXPECT_EQ(list[2].u, 0.125f);
    EXPECT_EQ(list[2].v, 0.5f);
    EXPECT_EQ(list[3].point, 9);
    EXPECT_TRUE(tc.hasPoint(4));
    EXPECT_FALSE(tc.hasPoint(6));
}

TEST(TextureCoordinateMap, RangeIsInclusiveInBothComponents)
{
    TextureCoordinateMap map;
    EXPECT_EQ(map.getMin(), UV(0, 0));
    EXPECT_EQ(map.getMax(), UV(1, 1));
    struct Case {
        UV uv;
        bool inDefault;
        bool inWide;
    } cases[] = {
        {UV(0, 0), true, true},      {UV(1, 1), true, true},       {UV(0, 1), true, true},
        {UV(1.5f, 0.5f), false, true}, {UV(0.5f, -0.1f), false, true}, {UV(-2, 2), false, true},
        {UV(2.001f, 0), false, false}, {UV(NAN, 0.5f), false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(map.isInRange(c.uv), c.inDefault) << c.uv.u << ", " << c.uv.v;
    map.setRange(UV(-2, -2), UV(2, 2));
    EXPECT_EQ(map.getMin(), UV(-2, -2));
    for (const Case& c : cases)
        EXPECT_EQ(map.isInRange(c.uv), c.inWide) << c.uv.u << ", " << c.uv.v;
    map.setTextureCoordinates(0, 1, UV(1.5f, 0.5f));
    EXPECT_EQ(map.getTriangleTextureCoordinates(0).getCoordinate(1), UV(1.5f, 0.5f));
}

TEST(TextureCoordinateMap, SettersStoreOnlyCoordinatesInRange)
{
    TextureCoordinateMap map;
    // A triangle without an entry gets one holding just that point.
    map.setTextureCoordinates(5, 20, UV(1, 0));
    EXPECT_TRUE(map.hasTriangle(5));
    EXPECT_EQ(map.count(), 1);
    EXPECT_FALSE(map.getTriangleTextureCoordinates(5).isComplete());
    EXPECT_EQ(map.getTriangleTextureCoordinates(5).getCoordinate(20), UV(1, 0));

    try {
        map.setTextureCoordinates(5, 20, UV(1.5f, 0.5f));
        ADD_FAILURE() << "no exception";
    } catch (const TextureCoordinateException& e) {
        EXPECT_EQ(e.getMessage(), COORDINATE_EXCEPTION +
                                      "setTextureCoordinates() - Texture coordinate for triangle 5, point 20 are out of range!");
    }
    EXPECT_EQ(map.getTriangleTextureCoordinates(5).getCoordinate(20), UV(1, 0));
    EXPECT_THROW(map.setTextureCoordinates(6, 1, UV(0.5f, 1.25f)), TextureCoordinateException);
    EXPECT_FALSE(map.hasTriangle(6));

    TextureCoordinate good(1, 2, 3);
    good.setCoordinate(2, UV(0.5f, 0.25f));
    map.setTriangleTextureCoordinates(5, good);  // replaces the one-point entry
    EXPECT_TRUE(map.getTriangleTextureCoordinates(5).isComplete());
    EXPECT_FALSE(map.getTriangleTextureCoordinates(5).hasPoint(20));

    // One corner out of range rejects the whole triangle; the earlier entry stays.
    TextureCoordinate bad(1, 2, 3);
    bad.setCoordinate(1, UV(0.5f, 0.5f));
    bad.setCoordinate(3, UV(-0.5f, 0.5f));
    try {
        map.setTriangleTextureCoordinates(5, bad);
        ADD_FAILURE() << "no exception";
    } catch (const TextureCoordinateException& e) {
        EXPECT_EQ(e.getMessage(), COORDINATE_EXCEPTION +
                                      "setTriangleTextureCoordinates() - Texture coordinate for triangle 5 is out of range!");
    }
    EXPECT_EQ(map.getTriangleTextureCoordinates(5).getCoordinate(1), UV(0, 0));
    EXPECT_EQ(map.getTriangleTextureCoordinates(5).getCoordinate(2), UV(0.5f, 0.25f));
    // A set with a fourth point is tested in full as well.
    TextureCoordinate four(1, 2, 3);
    four.setCoordinate(4, UV(2, 2));
    EXPECT_THROW(map.setTriangleTextureCoordinates(8, four), TextureCoordinateException);
    EXPECT_FALSE(map.hasTriangle(8));
    EXPECT_EQ(map.count(), 1);

    map.clear();
    EXPECT_EQ(map.count(), 0);
}

TEST(TextureCoordinateMap, AskingForATriangleNeverSetNamesIt)
{
    TextureCoordinateMap map;
    map.setTextureCoordinates(1, 0, UV(0, 0));
    try {
        map.getTriangleTextureCoordinates(17);
        ADD_FAILURE() << "no exception";
    } catch (const TextureCoordinateException& e) {
        EXPECT_EQ(e.getMessage(), COORDINATE_EXCEPTION +
                                      "getTriangleTextureCoordinates() - There are no texture coordinates for triangle 17!");
    }
}
