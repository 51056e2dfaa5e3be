#include <gtest/gtest.h>

#include <GL/gl.h>
#include <dirent.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "GLEnvironment.h"
#include "HostileFiles.h"
#include "TestSupport.h"

// Replays what the fuzz targets are seeded with and what they found: the bundled show's files,
// the regression inputs kept under tests/fuzz/corpus and the hostile files made here. Each must
// load or end in its reader's own exception, release its file, and take under a second of
// processor time (readerSecondsLimit), the first frame of a scene that loads included.
namespace {

// The targets whose inputs load into a 3D scene, which then draws its first frame.
bool drawsScene(const std::string& target)
{
    return target == "lwo" || target == "3ds" || target == "scene" || target == "fontset";
}

// The number of different colours in the frame drawn in the 640 x 480 window.
size_t coloursInFrame()
{
    std::vector<unsigned char> rgb(640 * 480 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::set<unsigned> colours;
    for (size_t i = 0; i < rgb.size(); i += 3)
        colours.insert(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
    return colours.size();
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> files;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.empty() || name[0] == '.')
                continue;
            const std::string path = folder + "/" + name;
            if (entry->d_type == DT_DIR) {
                for (const std::string& inner : filesIn(path))
                    files.push_back(inner);
            } else {
                files.push_back(path);
            }
        }
        closedir(dir);
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct Replay {
    FuzzOutcome outcome;
    double seconds;  // processor time of the read
};

Replay replay(const std::string& target, const std::string& bytes)
{
    Replay result;
    // A run over the limit is made once more and the less of the two counts: on a machine busy
    // with other tests a thread's processor time grows with its waits for shared caches and
    // pages, while a path that is really too slow is too slow twice.
    for (int run = 0; run < 2; ++run) {
        const double start = threadCpuSeconds();
        result.outcome = runFuzzTarget(target, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        const double seconds = threadCpuSeconds() - start;
        result.seconds = run == 0 ? seconds : std::min(result.seconds, seconds);
        if (result.seconds < readerSecondsLimit())
            break;
    }
    return result;
}

class FuzzCorpusTest : public TempDirTest {};
}

TEST_F(FuzzCorpusTest, TheShowsFilesAndTheKeptFindingsLoadOrEndInTheirReadersException)
{
    struct Source {
        std::string target;
        std::vector<std::string> files;
    };
    std::vector<Source> sources;
    const std::vector<std::string> show = filesIn(sourceDir() + "/show");
    for (const std::string& target : fuzzTargets()) {
        Source source{target, filesIn(sourceDir() + "/tests/fuzz/corpus/" + target)};
        for (const std::string& file : show) {
            const bool xml = endsWith(file, ".xml");
            const bool fontSet = endsWith(file, "/logo.xml");
            const bool scene = endsWith(file, "/signpost.xml");
            if ((!xml && endsWith(file, fuzzExtension(target))) || (target == "fontset" && fontSet) ||
                (target == "scene" && scene) || (target == "timeline" && xml && !fontSet && !scene))
                source.files.push_back(file);
        }
        sources.push_back(source);
    }
    int replayed = 0;
    for (const Source& source : sources) {
        EXPECT_FALSE(source.files.empty()) << source.target << " has nothing to replay";
        for (const std::string& file : source.files) {
            SCOPED_TRACE(source.target + " " + file);
            const Replay run = replay(source.target, readFile(file));
            EXPECT_TRUE(run.outcome.loaded || !run.outcome.refusal.empty());
            EXPECT_EQ(run.outcome.drawn, run.outcome.loaded && drawsScene(source.target));
            EXPECT_TRUE(run.outcome.released);
            EXPECT_LT(run.seconds, readerSecondsLimit());
            ++replayed;
        }
    }
    // The show's scene, font set and timeline load (its object misses its picture here).
    EXPECT_TRUE(replay("3ds", readFile(sourceDir() + "/show/garden/garden.3ds")).outcome.loaded);
    EXPECT_TRUE(replay("fontset", readFile(sourceDir() + "/show/garden/logo.xml")).outcome.loaded);
    EXPECT_TRUE(replay("timeline", readFile(sourceDir() + "/show/timeline.xml")).outcome.loaded);
    EXPECT_GT(replayed, 10);
}

TEST_F(FuzzCorpusTest, HostileFilesEndInTheirReadersExceptionOrLoadWithinASecond)
{
    for (const HostileFile& file : hostileFiles()) {
        SCOPED_TRACE(file.target + " " + file.name);
        const std::string bytes = file.make();
        const Replay run = replay(file.target, bytes);
        if (file.refusal.empty()) {
            EXPECT_TRUE(run.outcome.loaded) << run.outcome.refusal;
        } else {
            EXPECT_FALSE(run.outcome.loaded);
            EXPECT_NE(run.outcome.refusal.find(file.refusal), std::string::npos) << run.outcome.refusal;
            EXPECT_NE(run.outcome.refusal.find("input" + fuzzExtension(file.target)), std::string::npos)
                << "the message names the file: " << run.outcome.refusal;
        }
        EXPECT_EQ(run.outcome.drawn, run.outcome.loaded && drawsScene(file.target));
        EXPECT_TRUE(run.outcome.released);
        EXPECT_LT(run.seconds, readerSecondsLimit()) << bytes.size() << " bytes";
    }
}

TEST_F(FuzzCorpusTest, TheFrameOfALoadedSceneIsDrawnThroughItsOwnCamera)
{
    // The garden seen through its own camera at time 0: the lawn, the crate and the lamp, lit,
    // before a clear colour alone. Cleared to one colour first, so an undrawn frame shows as one.
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_EQ(coloursInFrame(), 1u);
    const Replay run = replay("3ds", readFile(sourceDir() + "/show/garden/garden.3ds"));
    ASSERT_TRUE(run.outcome.loaded) << run.outcome.refusal;
    EXPECT_TRUE(run.outcome.drawn);
    EXPECT_GT(coloursInFrame(), 16u);
}
