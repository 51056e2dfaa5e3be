#include "lwloader/LWLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "Actor.h"
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
