#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "Actor.h"
#include "Bone.h"
#include "Environment.h"
#include "HostileFiles.h"
#include "Log.h"
#include "LwoWriter.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"

// LightWave objects written here and loaded into an actor: the points, triangles, surface names,
// bones and weights the actor gets, and the files whose numbers point nowhere.
namespace {
const std::string wrapped = "KelvoEngineException::::LWLoader::LWLoader::FillObject() - Unable to populate Actor with Chunk ";

LwoWriter& layer(LwoWriter& w, uint16_t number)
{
    return w.chunk("LAYR").u2(number).u2(0).vec12(0, 0, 0).s0("").end();
}

// The unit square at z = 0 from the origin, counter-clockwise seen from +z.
LwoWriter& square(LwoWriter& w, float x = 0, float y = 0)
{
    return w.chunk("PNTS").vec12(x, y, 0).vec12(x + 1, y, 0).vec12(x + 1, y + 1, 0).vec12(x, y + 1, 0).end();
}

LwoWriter& quad(LwoWriter& w)
{
    return w.chunk("POLS").id("FACE").u2(4).vx(0).vx(1).vx(2).vx(3).end();
}

class LWGeometryFillTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
    }
    void TearDown() override
    {
        ResourceLoader::setResourcePath("");
        TempDirTest::TearDown();
    }

    // Loads bytes as object.lwo into actor; "" when it loads, else the loader's message.
    std::string load(const std::string& bytes, Actor& actor)
    {
        writeFile("object.lwo", bytes);
        LWLoader loader(&actor, &scene);
        try {
            loader.loadObject("object.lwo");
            loader.fillObject(&actor);
        } catch (const LWLoaderException& e) {
            return e.getMessage();
        }
        return "";
    }

    // Processor seconds of the quickest of five loads of bytes as object.lwo, each into an actor
    // of its own (the quickest, as a load can only be slowed by what else the machine does);
    // check is given the first actor.
    double quickestLoad(const std::string& bytes, const std::function<void(Actor&)>& check)
    {
        writeFile("object.lwo", bytes);
        double quickest = 1e9;
        for (int round = 0; round < 5; ++round) {
            Actor actor(&scene);
            std::string message;
            const double start = threadCpuSeconds();
            try {
                LWLoader loader(&actor, &scene);
                loader.loadObject("object.lwo");
                loader.fillObject(&actor);
            } catch (const LWLoaderException& e) {
                message = e.getMessage();
            }
            quickest = std::min(quickest, threadCpuSeconds() - start);
            EXPECT_EQ(message, "");
            if (round == 0)
                check(actor);
        }
        return quickest;
    }

    static std::vector<int> corners(Actor& actor, int triangle)
    {
        const Triangle* t = actor.getTriangle(triangle);
        return t ? std::vector<int>{t->getPoint(0), t->getPoint(1), t->getPoint(2)} : std::vector<int>{};
    }

    Environment scene;
};
}

TEST_F(LWGeometryFillTest, PointsBecomeTheActorsPointsWithZNegated)
{
    LwoWriter w;
    layer(w, 1);
    w.chunk("PNTS").vec12(1, 2, 3).vec12(-4, 5, -6).end();
    Actor actor(&scene);
    ASSERT_EQ(load(w.file(), actor), "");
    ASSERT_EQ(actor.getPoints().size(), 2u);
    Vector p = actor.getPointVector(0);
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.y, 2);
    EXPECT_EQ(p.z, -3);
    EXPECT_EQ(actor.getPointVector(1).z, 6);
}

TEST_F(LWGeometryFillTest, FacesAreFannedIntoTrianglesCarryingTheirPolygonNumber)
{
    LwoWriter w;
    layer(w, 1);
    square(w);
    w.chunk("POLS").id("FACE").u2(0xFC04).vx(0).vx(1).vx(2).vx(3).u2(3).vx(0).vx(1).vx(2).u2(2).vx(0).vx(1).end();
    Actor actor(&scene);
    ASSERT_EQ(load(w.file(), actor), "");
    ASSERT_EQ(actor.getTriangleCount(), 3) << "a two-point polygon makes no triangle";
    EXPECT_EQ(corners(actor, 0), (std::vector<int>{0, 3, 2}));
    EXPECT_EQ(corners(actor, 1), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(corners(actor, 2), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(actor.getPolygonTriangles(0), (std::vector<int>{0, 1}));
    EXPECT_EQ(actor.getPolygonTriangles(1), (std::vector<int>{2}));
    EXPECT_TRUE(actor.getPolygonTriangles(2).empty());
}

TEST_F(LWGeometryFillTest, SurfaceTagsNameTheTrianglesOfTheirPolygons)
{
    LwoWriter w;
    w.chunk("TAGS").s0("Default").s0("Skin").end();
    layer(w, 1);
    square(w);
    w.chunk("POLS").id("FACE").u2(3).vx(0).vx(1).vx(2).u2(3).vx(0).vx(2).vx(3).end();
    w.chunk("PTAG").id("SURF").vx(0).u2(1).vx(1).u2(0).end();
    w.chunk("PTAG").id("PART").vx(0).u2(0).vx(1).u2(0).end();
    Actor actor(&scene);
    ASSERT_EQ(load(w.file(), actor), "");
    EXPECT_EQ(actor.getTriangle(0)->getSurfaceName(), "Skin");
    EXPECT_EQ(actor.getTriangle(1)->getSurfaceName(), "Default");
    EXPECT_EQ(actor.getTriangle(0)->getPolygonIndex(), 0);
}

TEST_F(LWGeometryFillTest, EachLayerNumbersItsOwnPointsAndPolygons)
{
    LwoWriter w;
    w.chunk("TAGS").s0("Near").s0("Far").end();
    layer(w, 1);
    square(w, 0, 0);
    quad(w);
    w.chunk("PTAG").id("SURF").vx(0).u2(0).end();
    layer(w, 2);
    square(w, 5, 0);
    quad(w);
    w.chunk("PTAG").id("SURF").vx(0).u2(1).end();
    Actor actor(&scene);
    ASSERT_EQ(load(w.file(), actor), "");
    ASSERT_EQ(actor.getPoints().size(), 8u);
    ASSERT_EQ(actor.getTriangleCount(), 4);
    // The second layer's square lies at x = 5..6 and keeps its own surface.
    for (int triangle : {2, 3}) {
        for (int point : corners(actor, triangle)) {
            EXPECT_GE(point, 4) << "triangle " << triangle;
            EXPECT_GE(actor.getPointVector(point).x, 5.0f);
        }
        EXPECT_EQ(actor.getTriangle(triangle)->getSurfaceName(), "Far");
        EXPECT_EQ(actor.getTriangle(triangle)->getPolygonIndex(), 1);
    }
    for (int triangle : {0, 1})
        EXPECT_EQ(actor.getTriangle(triangle)->getSurfaceName(), "Near");
}

TEST_F(LWGeometryFillTest, ABoneLayerMakesBonesLinkedEndToStartAndNamedByTheirWeightMaps)
{
    LwoWriter w;
    w.chunk("TAGS").s0("Default").s0("upper").s0("lower").end();
    layer(w, 1);
    square(w);
    w.chunk("VMAP").id("WGHT").u2(1).s0("upper").vx(0).f4(1).vx(1).f4(0.5f).end();
    w.chunk("VMAP").id("WGHT").u2(1).s0("lower").vx(1).f4(0.5f).end();
    quad(w);
    layer(w, 2);
    w.chunk("PNTS").vec12(0, 0, 0).vec12(0, 1, 0).vec12(0, 2, 0).end();
    w.chunk("VMAP").id("WGHT").u2(1).s0("upper").vx(0).f4(1).end();
    w.chunk("POLS").id("BONE").u2(2).vx(0).vx(1).u2(2).vx(1).vx(2).end();
    w.chunk("PTAG").id("BNWT").vx(0).u2(1).vx(1).u2(2).end();
    Actor actor(&scene);
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::debug);
    ASSERT_EQ(load(w.file(), actor), "");
    EXPECT_EQ(actor.getPoints().size(), 4u) << "the bone layer adds no points";
    EXPECT_EQ(actor.getTriangleCount(), 2);
    ASSERT_EQ(actor.getBoneCount(), 2);
    Bone* upper = actor.getBone(0);
    Bone* lower = actor.getBone(1);
    EXPECT_EQ(upper->getName(), "upper");
    EXPECT_EQ(lower->getName(), "lower");
    EXPECT_EQ(actor.findBone("lower"), lower);
    EXPECT_EQ(lower->getParent(), upper);
    EXPECT_EQ(upper->getParent(), nullptr);
    EXPECT_EQ(upper->getChildren(), (std::vector<Bone*>{lower}));
    EXPECT_EQ(upper->getPivot().y, 0.0f);
    EXPECT_EQ(upper->getEnd().y, 1.0f);
    EXPECT_EQ(lower->getPivot().y, 1.0f);
    EXPECT_EQ(actor.getPointWeights().get(0).getWeight("upper"), 1.0f);
    EXPECT_EQ(actor.getPointWeights().get(1).getWeight("upper"), 0.5f);
    EXPECT_EQ(actor.getPointWeights().get(1).getWeight("lower"), 0.5f);
    EXPECT_TRUE(log.contains("[debug] lwpointschunk::fillObject() - Point chunk inside bone layer (Layer 2) SKIPPING.\n"))
        << log.text();
    EXPECT_TRUE(log.contains("[debug] lwvmapchunk::fillObject() - Point weights inside bone layer (Layer 2) SKIPPING.\n"))
        << log.text();
}

TEST_F(LWGeometryFillTest, BoneLinksNeverMakeABoneItsOwnAncestor)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> bones;  // start and end point of each
        std::vector<int> parents;                // index of each bone's parent, -1 for none
    } cases[] = {
        {"a chain", {{0, 1}, {1, 2}, {2, 3}}, {-1, 0, 1}},
        {"a chain given backwards", {{2, 3}, {1, 2}, {0, 1}}, {1, 2, -1}},
        {"two bones end to end both ways", {{0, 1}, {1, 0}}, {1, -1}},
        {"a bone ending where it starts", {{2, 2}, {0, 1}}, {-1, -1}},
        {"a loop of three", {{0, 1}, {1, 2}, {2, 0}}, {2, 0, -1}},
        {"one start, two bones ending there", {{0, 2}, {1, 2}, {2, 3}}, {-1, -1, 0}},
    };
    for (const Case& c : cases) {
        LwoWriter w;
        layer(w, 1);
        w.chunk("PNTS").vec12(0, 0, 0).vec12(0, 1, 0).vec12(0, 2, 0).vec12(0, 3, 0).end();
        w.chunk("POLS").id("BONE");
        for (const auto& bone : c.bones)
            w.u2(2).vx(static_cast<uint32_t>(bone.first)).vx(static_cast<uint32_t>(bone.second));
        w.end();
        Actor actor(&scene);
        ASSERT_EQ(load(w.file(), actor), "") << c.name;
        ASSERT_EQ(actor.getBoneCount(), static_cast<int>(c.bones.size())) << c.name;
        for (size_t i = 0; i < c.bones.size(); ++i) {
            Bone* expected = c.parents[i] < 0 ? nullptr : actor.getBone(c.parents[i]);
            EXPECT_EQ(actor.getBone(static_cast<int>(i))->getParent(), expected) << c.name << ": bone " << i;
            // Each bone is drawn once: as a root or as the child of its parent.
            int listed = expected ? 0 : 1;
            for (int j = 0; j < actor.getBoneCount(); ++j) {
                for (Bone* child : actor.getBone(j)->getChildren())
                    listed += child == actor.getBone(static_cast<int>(i)) ? 1 : 0;
            }
            EXPECT_EQ(listed, 1) << c.name << ": bone " << i;
        }
    }
}

TEST_F(LWGeometryFillTest, BonesLinkAsTriedPairByPairWhateverTheirNumber)
{
    // The rule bone links follow: the pairs i <= j in order, bone i below bone j when it starts
    // at bone j's end, then bone j below bone i when it starts at bone i's end, each link only
    // when the child has no parent and is not above the parent.
    const auto pairwise = [](const std::vector<std::pair<int, int>>& bones) {
        std::vector<int> parent(bones.size(), -1);
        const auto above = [&parent](int bone, int other) {
            for (int b = other; b >= 0; b = parent[static_cast<size_t>(b)])
                if (b == bone)
                    return true;
            return false;
        };
        const auto link = [&](int child, int to) {
            if (child != to && parent[static_cast<size_t>(child)] < 0 && !above(child, to))
                parent[static_cast<size_t>(child)] = to;
        };
        for (size_t i = 0; i < bones.size(); ++i) {
            for (size_t j = i; j < bones.size(); ++j) {
                if (bones[i].first == bones[j].second)
                    link(static_cast<int>(i), static_cast<int>(j));
                if (bones[i].second == bones[j].first)
                    link(static_cast<int>(j), static_cast<int>(i));
            }
        }
        return parent;
    };
    uint32_t seed = 12345;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<uint32_t>(range));
    };
    for (int round = 0; round < 200; ++round) {
        const int points = 1 + next(6);
        std::vector<std::pair<int, int>> bones(static_cast<size_t>(1 + next(12)));
        LwoWriter w;
        layer(w, 1);
        w.chunk("PNTS");
        for (int p = 0; p < points; ++p)
            w.vec12(0, static_cast<float>(p), 0);
        w.end();
        w.chunk("POLS").id("BONE");
        for (auto& bone : bones) {
            bone = {next(points), next(points)};
            w.u2(2).vx(static_cast<uint32_t>(bone.first)).vx(static_cast<uint32_t>(bone.second));
        }
        w.end();
        Actor actor(&scene);
        ASSERT_EQ(load(w.file(), actor), "");
        const std::vector<int> expected = pairwise(bones);
        std::string shape;
        for (const auto& bone : bones)
            shape += " " + std::to_string(bone.first) + "-" + std::to_string(bone.second);
        for (size_t i = 0; i < bones.size(); ++i) {
            Bone* parent = expected[i] < 0 ? nullptr : actor.getBone(expected[i]);
            EXPECT_EQ(actor.getBone(static_cast<int>(i))->getParent(), parent) << "bones" << shape << ": bone " << i;
        }
    }
}

TEST_F(LWGeometryFillTest, TensOfThousandsOfBonesLinkWithinASecondAndNoChainPasses128Levels)
{
    struct Case {
        const char* name;
        int bones;
        int points;  // bone i runs from point i % points to point (i + 1) % points
    } cases[] = {
        {"65,535 bones round three points", 65535, 3},
        {"a chain of 65,535 bones", 65535, 65536},
        {"65,535 bones from one point to itself", 65535, 1},
    };
    for (const Case& c : cases) {
        const std::string bytes = boneChunkLwo(c.bones, c.points);
        Actor actor(&scene);
        const double start = threadCpuSeconds();
        ASSERT_EQ(load(bytes, actor), "") << c.name;
        const double seconds = threadCpuSeconds() - start;
        EXPECT_LT(seconds, readerSecondsLimit()) << c.name;
        ASSERT_EQ(actor.getBoneCount(), c.bones) << c.name;
        int deepest = 0;
        int linked = 0;
        for (int i = 0; i < c.bones; ++i) {
            int levels = 1;
            for (const Bone* b = actor.getBone(i)->getParent(); b && levels <= 128; b = b->getParent())
                ++levels;
            deepest = std::max(deepest, levels);
            linked += actor.getBone(i)->getParent() ? 1 : 0;
        }
        EXPECT_LE(deepest, 128) << c.name;
        if (c.points > 1) {
            EXPECT_GT(linked, c.bones / 2) << c.name;
        }
    }
}

TEST_F(LWGeometryFillTest, NamesOfPolygonsThatAreNoBonesAreSkipped)
{
    LwoWriter w;
    w.chunk("TAGS").s0("arm").end();
    layer(w, 1);
    square(w);
    quad(w);
    w.chunk("PTAG").id("BNWT").vx(0).u2(0).end();
    layer(w, 2);
    w.chunk("PNTS").vec12(0, 0, 0).vec12(0, 1, 0).end();
    w.chunk("POLS").id("BONE").u2(2).vx(0).vx(1).end();
    w.chunk("PTAG").id("BNWT").vx(5).u2(0).end();
    Actor actor(&scene);
    ASSERT_EQ(load(w.file(), actor), "");
    ASSERT_EQ(actor.getBoneCount(), 1);
    EXPECT_NE(actor.getBone(0)->getName(), "arm");
    EXPECT_EQ(actor.findBone("arm"), nullptr);
}

TEST_F(LWGeometryFillTest, PolygonsWithoutPointsAndUnknownKindsAreLeftOut)
{
    LwoWriter before;
    layer(before, 1);
    quad(before);
    square(before);
    Actor first(&scene);
    LogCapture log;
    ASSERT_EQ(load(before.file(), first), "");
    EXPECT_EQ(first.getTriangleCount(), 0);
    EXPECT_EQ(log.text(), "[error] lwpolygonschunk::fillObject() - Points chunk not found!\n");

    LwoWriter patches;
    layer(patches, 1);
    square(patches);
    patches.chunk("POLS").id("SUBD").u2(4).vx(0).vx(1).vx(2).vx(3).end();
    patches.chunk("TAGS").s0("Default").end();
    patches.chunk("PTAG").id("SURF").vx(0).u2(0).end();
    Actor second(&scene);
    log.clear();
    ASSERT_EQ(load(patches.file(), second), "");
    EXPECT_EQ(second.getTriangleCount(), 0);
    EXPECT_EQ(log.text(), "[warning] lwpolygonschunk::fillObject() - Unsupported polygons chunk type. Ignoring.\n");
}

TEST_F(LWGeometryFillTest, NumbersThatPointNowhereEndTheLoadNamingTheFile)
{
    struct Case {
        const char* name;
        std::string tail;  // after a layer with the unit square and its quad
        std::string message;
    } cases[] = {
        {"a corner beyond the points", LwoWriter().chunk("POLS").id("FACE").u2(3).vx(0).vx(1).vx(4).end().body(),
         "\"POLS\".  Cause: KelvoEngineException::::LWPointsChunk::actorPoint() - File \"object.lwo\": polygon 0 of layer 1 "
         "names point 4, beyond the 4 points of its points chunk."},
        {"a bone end beyond the points", LwoWriter().chunk("POLS").id("BONE").u2(2).vx(0).vx(9).end().body(),
         "\"POLS\".  Cause: KelvoEngineException::::LWPolygonsChunk::fillObject() - File \"object.lwo\": bone polygon 0 "
         "names point 9, beyond the 4 points of its points chunk."},
        {"a tag beyond the tags", LwoWriter().chunk("PTAG").id("SURF").vx(0).u2(1).end().body(),
         "\"PTAG\".  Cause: KelvoEngineException::::LWPtagChunk::fillObject() - File \"object.lwo\": polygon tag 0 names "
         "tag 1, beyond the 1 tags."},
        {"a tagged polygon beyond the polygons", LwoWriter().chunk("PTAG").id("SURF").vx(0).u2(0).vx(1).u2(0).end().body(),
         "\"PTAG\".  Cause: KelvoEngineException::::LWPtagChunk::fillObject() - File \"object.lwo\": polygon tag 1 names "
         "polygon 1, beyond the 1 polygons of its polygons chunk."},
        {"a weight for a point beyond the points",
         LwoWriter().chunk("VMAP").id("WGHT").u2(1).s0("arm").vx(70000).f4(1).end().body(),
         "\"VMAP\".  Cause: KelvoEngineException::::LWPointsChunk::actorPoint() - File \"object.lwo\": the map \"arm\" "
         "names point 70000, beyond the 4 points of its points chunk."},
        {"a UV for a point beyond the points", LwoWriter().chunk("VMAP").id("TXUV").u2(2).s0("uv").vx(4).f4(0).f4(0).end().body(),
         "\"VMAP\".  Cause: KelvoEngineException::::LWPointsChunk::actorPoint() - File \"object.lwo\": the map \"uv\" "
         "names point 4, beyond the 4 points of its points chunk."},
        {"a corner UV for a polygon beyond the polygons",
         LwoWriter().chunk("VMAD").id("TXUV").u2(2).s0("uv").vx(0).vx(3).f4(0).f4(0).end().body(),
         "\"VMAD\".  Cause: KelvoEngineException::::LWVmadChunk::fillObject() - File \"object.lwo\": the map \"uv\" names "
         "polygon 3, beyond the 1 polygons of its polygons chunk."},
    };
    for (const Case& c : cases) {
        LwoWriter w;
        w.chunk("TAGS").s0("Default").end();
        layer(w, 1);
        square(w);
        quad(w);
        w.raw(c.tail);
        Actor actor(&scene);
        EXPECT_EQ(load(w.file(), actor), wrapped + c.message) << c.name;
    }
}

TEST_F(LWGeometryFillTest, MapsBeforeAnyPointsAreRefused)
{
    LwoWriter w;
    layer(w, 1);
    w.chunk("VMAP").id("WGHT").u2(1).s0("arm").vx(0).f4(1).end();
    square(w);
    Actor actor(&scene);
    EXPECT_EQ(load(w.file(), actor), wrapped + "\"VMAP\".  Cause: KelvoEngineException::::LWVmapChunk::fillObject() - File "
                                               "\"object.lwo\": the map \"arm\" comes before any points chunk.");
}

TEST_F(LWGeometryFillTest, UvMapsListingTheirPointsBackwardsLoadInTimeLinearInTheirEntries)
{
    struct Case {
        const char* name;
        bool perCorner;
    };
    const Case cases[] = {{"per point (VMAP)", false}, {"per corner (VMAD)", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int points[2] = {50000, 200000};
        double seconds[2];
        for (int size = 0; size < 2; ++size) {
            const int columns = points[size] / 2;
            seconds[size] = quickestLoad(descendingUvLwo(points[size], c.perCorner), [&](Actor& actor) {
                // Every corner of every quad has the coordinates the map gives its point.
                actor.initializeTextureCoordinates();
                ASSERT_EQ(actor.getTriangleCount(), 2 * (columns - 1));
                ASSERT_TRUE(actor.isTextured());
                int wrong = 0;
                for (const auto& entry : actor.getTriangles()) {
                    const TextureCoordinate* uv = actor.findTriangleTextureCoordinates(entry.first);
                    for (int corner = 0; corner < 3; ++corner) {
                        const int p = entry.second.getPoint(corner);
                        const UV got = uv->getCoordinate(p);
                        if (got.u != static_cast<float>(p / 2) / static_cast<float>(columns) ||
                            got.v != 1.0f - static_cast<float>(p % 2))
                            ++wrong;
                    }
                }
                EXPECT_EQ(wrong, 0);
            });
        }
        EXPECT_LT(seconds[1], readerSecondsLimit()) << "200,000 points";
        // Four times the entries, four times the work: a search through the entries stored so far
        // would make it sixteen.
        EXPECT_LT(seconds[1], FOUR_TIMES_INPUT_GROWTH_LIMIT * seconds[0]) << seconds[0] << " s for 50,000 points, " << seconds[1]
                                                << " s for 200,000";
    }
}

TEST_F(LWGeometryFillTest, ConcavePolygonsAreCutInTimeFarBelowTheSquareOfTheirCorners)
{
    const auto cutWhole = [](int corners, int polygons) {
        return [=](Actor& actor) {
            ASSERT_EQ(actor.getTriangleCount(), polygons * (corners - 2));
            // Cut along its inside: the fan from a star's first corner would have triangles
            // facing away, which a cut never has.
            for (int triangle : actor.getPolygonTriangles(polygons - 1)) {
                const Triangle::PointIndices& p = actor.getTriangle(triangle)->getPoints();
                const Vector u = actor.getPointVector(p[1]) - actor.getPointVector(p[0]);
                const Vector v = actor.getPointVector(p[2]) - actor.getPointVector(p[0]);
                ASSERT_LT(u.x * v.y - u.y * v.x, 0.0f) << "triangle " << triangle;
            }
        };
    };
    const double small = quickestLoad(starPolygonsLwo(255, 100), cutWhole(255, 100));
    const double large = quickestLoad(starPolygonsLwo(1020, 100), cutWhole(1020, 100));
    // Four times the corners: sixteen times the work for a test of every edge against every other.
    EXPECT_LT(large, FOUR_TIMES_INPUT_GROWTH_LIMIT * small) << small << " s for stars of 255 corners, " << large << " s for 1,020";
    const double whole = quickestLoad(starPolygonsLwo(1023, 500), cutWhole(1023, 500));
    EXPECT_LT(whole, readerSecondsLimit()) << "500 stars of 1,023 corners";
}
