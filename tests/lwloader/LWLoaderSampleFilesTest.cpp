#include "lwloader/LWLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "Actor.h"
#include "Environment.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "lwloader/LWChunk.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWNullSubChunk.h"
#include "lwloader/LWReader.h"

namespace fs = std::filesystem;

namespace {
// The .lwo files below folder, as names relative to it, sorted; none when it is absent.
std::vector<std::string> objectsIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (!fs::is_directory(folder))
        return names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".lwo")
            names.push_back(fs::relative(entry.path(), folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string modelsFolder(const std::string& sub)
{
    std::string shared = sharedDir();
    return shared.empty() ? "" : shared + "/models/" + sub;
}

// Reads a SURF or CLIP body as its leading fields and then a list of sub-chunks, each skipped
// whole; fails unless the sub-chunks end exactly where the body does.
class SubChunkListChunk : public LWChunk {
public:
    explicit SubChunkListChunk(int id) : LWChunk(id) {}

    int64_t readData(LWReader& reader) override
    {
        int64_t consumed = 0;
        if (getId() == ID_SURF) {
            std::string name;
            consumed += reader.readS0(name);
            consumed += reader.readS0(name);
        } else {
            uint32_t index;
            consumed += reader.readU4(index);
        }
        while (consumed < getSize()) {
            int number;
            std::string text;
            if (readChunkId(reader, number, text) != 4)
                return READ_FAILED;
            LWNullSubChunk skipped;
            int64_t bytes = skipped.read(reader);
            if (bytes < 0)
                return READ_FAILED;
            consumed += 4 + bytes;
            ++subChunks;
        }
        return consumed == getSize() ? consumed : READ_FAILED;
    }

    void fillObject(Actor*, LWLoader*) override {}

    int subChunks = 0;
};

class SubChunkListLoader : public LWLoader {
public:
    SubChunkListLoader() : LWLoader(nullptr, nullptr) {}

    int subChunks()
    {
        int count = 0;
        for (int id : {ID_SURF, ID_CLIP}) {
            for (LWChunk* chunk : findChunks(id, false))
                count += static_cast<SubChunkListChunk*>(chunk)->subChunks;
        }
        return count;
    }

protected:
    std::unique_ptr<LWChunk> createChunk(int number) const override
    {
        if (number == ID_SURF || number == ID_CLIP)
            return std::make_unique<SubChunkListChunk>(number);
        return nullptr;
    }
};

class LWLoaderSampleFilesTest : public ::testing::Test {
protected:
    void TearDown() override { ResourceLoader::setResourcePath(""); }

    // The sample files of one folder, read in place; skips the test when they are absent.
    std::vector<std::string> samples(const std::string& sub)
    {
        folder = modelsFolder(sub);
        std::vector<std::string> names = objectsIn(folder);
        if (!names.empty())
            ResourceLoader::setResourcePath(folder + "/");
        return names;
    }

    std::string folder;
};
}

TEST_F(LWLoaderSampleFilesTest, LightWave2FilesLoad)
{
    std::vector<std::string> names = samples("LWO/LWO2");
    if (names.empty())
        GTEST_SKIP() << "no LWO2 sample files: " << modelsFolder("LWO/LWO2") << " is absent";
    for (const std::string& name : names) {
        LWLoader loader(nullptr, nullptr);
        LogCapture log;
        EXPECT_NO_THROW(loader.loadObject(name)) << name;
        EXPECT_EQ(log.errors(), 0) << name << "\n" << log.text();
        // Loads a second time from its start: the first load released it.
        LWLoader again(nullptr, nullptr);
        EXPECT_NO_THROW(again.loadObject(name)) << name;
    }
}

TEST_F(LWLoaderSampleFilesTest, SubChunksOfSurfacesAndClipsFillTheirBodies)
{
    std::vector<std::string> names = samples("LWO/LWO2");
    if (names.empty())
        GTEST_SKIP() << "no LWO2 sample files: " << modelsFolder("LWO/LWO2") << " is absent";
    int subChunks = 0;
    for (const std::string& name : names) {
        SubChunkListLoader loader;
        LogCapture log;
        EXPECT_NO_THROW(loader.loadObject(name)) << name;
        subChunks += loader.subChunks();
    }
    EXPECT_GT(subChunks, 100) << "the sample surfaces hold sub-chunks";
}

TEST_F(LWLoaderSampleFilesTest, LightWave5FilesAreRefusedAsAnotherFormat)
{
    std::vector<std::string> names = samples("LWO/LWOB");
    if (names.empty())
        GTEST_SKIP() << "no LWOB sample files: " << modelsFolder("LWO/LWOB") << " is absent";
    for (const std::string& name : names) {
        LWLoader loader(nullptr, nullptr);
        LogCapture log;
        std::string message;
        try {
            loader.loadObject(name);
        } catch (const LWLoaderException& e) {
            message = e.getMessage();
        }
        EXPECT_EQ(message, "KelvoEngineException::::LWLoader::Unknown file format. File \"" + name +
                               "\": its form type \"LWOB\" is not \"LWO2\".");
        EXPECT_EQ(log.text(), "[error] lwloader::loadObject() - Unsupported file version.\n");
    }
}

TEST_F(LWLoaderSampleFilesTest, AnEmptyFileIsCorrupted)
{
    std::string invalid = modelsFolder("invalid");
    if (invalid.empty() || !fs::is_regular_file(invalid + "/empty.lwo"))
        GTEST_SKIP() << "no empty sample file: " << invalid << "/empty.lwo is absent";
    ResourceLoader::setResourcePath(invalid + "/");
    LWLoader loader(nullptr, nullptr);
    LogCapture log;
    try {
        loader.loadObject("empty.lwo");
        ADD_FAILURE() << "an empty file loads";
    } catch (const LWLoaderException& e) {
        EXPECT_EQ(e.getMessage().rfind("KelvoEngineException::::LWLoader::Corrupted file. File \"empty.lwo\"", 0), 0u)
            << e.getMessage();
    }
}

TEST_F(LWLoaderSampleFilesTest, ConcavePolygonsOfTheSamplesAreCutIntoTrianglesThatFaceTheirWay)
{
    const std::string folder = modelsFolder("LWO/LWO2");
    if (folder.empty() || !fs::is_regular_file(folder + "/concave_polygon.lwo"))
        GTEST_SKIP() << "no concave sample files: " << folder << "/concave_polygon.lwo is absent";
    ResourceLoader::setResourcePath(folder + "/");
    for (const char* name : {"concave_polygon.lwo"}) {
        Actor actor(nullptr);
        LWLoader loader(&actor, nullptr);
        LogCapture quiet;
        ASSERT_NO_THROW(loader.loadObject(name)) << name;
        ASSERT_NO_THROW(loader.fillObject(&actor)) << name;
        // One polygon each: its triangles' areas add up to its own only if none overlaps another
        // or faces the other way.
        Vector sum;
        double covered = 0.0;
        for (int index : actor.getPolygonTriangles(0)) {
            const Triangle::PointIndices& p = actor.getTriangle(index)->getPoints();
            const Vector a = actor.getPointVector(p[0]), b = actor.getPointVector(p[1]), c = actor.getPointVector(p[2]);
            const Vector u = b - a, v = c - a;
            const Vector twice(u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x);
            sum += twice;
            covered += std::sqrt(twice.dot(twice));
        }
        EXPECT_GT(actor.getTriangleCount(), 0) << name;
        EXPECT_NEAR(covered, std::sqrt(sum.dot(sum)), 0.01 * covered) << name << ": triangles overlap or face away";
    }
}

namespace {
// The triangles an object load leaves in its actor, as one number: for each triangle in index
// order its index, its three point numbers in drawing order, its polygon and its surface name,
// folded with 64-bit FNV-1a. Made from the cutting of the earlier engine and kept below, so any
// change to the triangles of these files shows.
struct TriangleDigest {
    int triangles = 0;
    uint64_t hash = 14695981039346656037ull;

    void add(const void* data, size_t bytes)
    {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < bytes; ++i) {
            hash ^= p[i];
            hash *= 1099511628211ull;
        }
    }
    void add(int32_t value)
    {
        const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
        add(bytes, 4);
    }
};

// The digest of the triangles of the object name, loaded from the resource folder into a scene
// of its own; a load that ends in the loader's exception keeps the triangles made before it.
TriangleDigest triangleDigest(const std::string& name)
{
    Environment scene;
    Actor actor(&scene);
    LWLoader loader(&actor, &scene);
    LogCapture quiet;
    try {
        loader.loadObject(name);
        loader.fillObject(&actor);
    } catch (const LWLoaderException&) {
    }
    TriangleDigest digest;
    for (const auto& entry : actor.getTriangles()) {
        const Triangle& t = entry.second;
        digest.add(entry.first);
        for (int corner = 0; corner < 3; ++corner)
            digest.add(t.getPoint(corner));
        digest.add(t.getPolygonIndex());
        const std::string surface = t.getSurfaceName();
        digest.add(surface.data(), surface.size() + 1);
        ++digest.triangles;
    }
    return digest;
}

struct RecordedTriangles {
    const char* name;
    int triangles;
    uint64_t hash;
};
}

TEST_F(LWLoaderSampleFilesTest, TrianglesOfTheSampleObjectsStayThoseRecorded)
{
    // Concave, self-crossing and non-planar polygons among them, cut as the engine always has.
    const std::vector<RecordedTriangles> recorded = {
        {"MappingModes/earth_cylindrical_x.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_cylindrical_x_scale_222_wrap_21.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_cylindrical_y.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_cylindrical_y_scale_111.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_cylindrical_y_scale_111_wrap_21.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_cylindrical_z.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_planar_x.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_planar_y.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_planar_z.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_planar_z_scale_111.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_spherical_x.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_spherical_x_scale_222_wrap_22.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_spherical_y.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_spherical_z.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_spherical_z_wrap_22.lwo", 528, 0xb7feafd44c566e15ull},
        {"MappingModes/earth_uv_cylindrical_y.lwo", 528, 0xb7feafd44c566e15ull},
        {"ModoExport_vertNormals.lwo", 528, 0xb7feafd44c566e15ull},
        {"Subdivision.lwo", 0, 0xcbf29ce484222325ull},
        {"UglyVertexColors.lwo", 3202, 0x2fa17c0d68c66e9eull},
        {"box_2uv_1unused.lwo", 12, 0x3f3d4f199665daddull},
        {"box_2vc_1unused.lwo", 432, 0xf2b9e524f77dab0dull},
        {"boxuv.lwo", 12, 0xe6755e4d8074544bull},
        {"concave_polygon.lwo", 64, 0x61c0a79d98652812ull},
        {"concave_self_intersecting.lwo", 12, 0x1d109ba11aae2c79ull},
        {"hierarchy.lwo", 564, 0x241e6a79369e4b87ull},
        {"hierarchy_smoothed.lwo", 564, 0x241e6a79369e4b87ull},
        {"nonplanar_polygon.lwo", 16, 0x24baec70ebbbf6b5ull},
        {"shader_test/CellShader.lwo", 24, 0x9ddcad5c3fc32805ull},
        {"shader_test/SuperCellShader.lwo", 24, 0x9ddcad5c3fc32805ull},
        {"shader_test/fastFresnel.lwo", 24, 0x9ddcad5c3fc32805ull},
        {"shader_test/realFresnel.lwo", 24, 0x9ddcad5c3fc32805ull},
        {"sphere_with_gradient.lwo", 528, 0xb7feafd44c566e15ull},
        {"sphere_with_mat_gloss_10pc.lwo", 528, 0xb7feafd44c566e15ull},
        {"transparency.lwo", 540, 0xc5cff54ce89554c5ull},
        {"uvtest.lwo", 32, 0xb647b3817d9c42ddull},
    };
    std::vector<std::string> names = samples("LWO/LWO2");
    if (names.empty())
        GTEST_SKIP() << "no LWO2 sample files: " << modelsFolder("LWO/LWO2") << " is absent";
    ASSERT_EQ(names.size(), recorded.size()) << "the sample folder " << folder << " holds other files";
    for (size_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(names[i], recorded[i].name);
        const TriangleDigest digest = triangleDigest(names[i]);
        EXPECT_EQ(digest.triangles, recorded[i].triangles) << names[i];
        EXPECT_EQ(digest.hash, recorded[i].hash) << names[i] << std::hex << ": 0x" << digest.hash;
    }
}

TEST_F(LWLoaderSampleFilesTest, TrianglesOfTheShowsSignpostStayThoseRecorded)
{
    ResourceLoader::setResourcePath(sourceDir() + "/show/garden/");
    const TriangleDigest digest = triangleDigest("signpost.lwo");
    EXPECT_EQ(digest.triangles, 24);
    EXPECT_EQ(digest.hash, 0xe1ec9e25aec6badbull) << std::hex << "0x" << digest.hash;
}
