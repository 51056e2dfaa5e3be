#include "lwloader/LWLoader.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "Actor.h"
#include "FuzzTarget.h"
#include "Log.h"
#include "LwoWriter.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "lwloader/LWChunk.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWReader.h"

namespace {
const std::string prefix = "KelvoEngineException::::LWLoader::";

// What the probe chunks of one test saw.
struct Record {
    std::vector<std::string> applied;  // "<id> <values>" of each chunk applied, in order
    std::vector<Actor*> actors;
    std::vector<LWLoader*> loaders;
    std::function<void(const LWChunk&, LWLoader&)> onFill;
};

// A chunk kind made up for the tests. Body: U2 count, then count U4 values. As a LAYR its first
// value is the layer number, as a POLS its polygon type.
class ProbeChunk : public LWChunk {
public:
    ProbeChunk(int id, Record& record) : LWChunk(id), record(record) {}

    int64_t readData(LWReader& reader) override
    {
        uint16_t count;
        if (reader.readU2(count) != 2)
            return READ_FAILED;
        if (!reader.hasRoomFor(count, 4)) {
            reader.fail(std::to_string(count) + " values do not fit");
            return READ_FAILED;
        }
        values.resize(count);
        if (reader.readU4(values.data(), count) != 4 * static_cast<int64_t>(count))
            return READ_FAILED;
        return 2 + 4 * static_cast<int64_t>(count);
    }

    void fillObject(Actor* actor, LWLoader* loader) override
    {
        record.applied.push_back(describe());
        record.actors.push_back(actor);
        record.loaders.push_back(loader);
        if (record.onFill)
            record.onFill(*this, *loader);
    }

    int getLayerNumber() const override { return values.empty() ? -1 : static_cast<int>(values[0]); }
    int getPolygonType() const override { return values.empty() ? ID_OTHER : static_cast<int>(values[0]); }

    std::string describe() const
    {
        std::string text = getIdString();
        for (uint32_t value : values)
            text += " " + std::to_string(value);
        return text;
    }

private:
    Record& record;
    std::vector<uint32_t> values;
};

// Reads the chunk kinds it is given with probe chunks; every other kind as the loader does.
class ProbeLoader : public LWLoader {
public:
    ProbeLoader(Record& record, std::set<int> kinds, Actor* actor = nullptr)
        : LWLoader(actor, nullptr), record(record), kinds(std::move(kinds))
    {
    }

protected:
    std::unique_ptr<LWChunk> createChunk(int number) const override
    {
        if (kinds.count(number))
            return std::make_unique<ProbeChunk>(number, record);
        return LWLoader::createChunk(number);
    }

private:
    Record& record;
    std::set<int> kinds;
};

LwoWriter& probe(LwoWriter& writer, const std::string& code, const std::vector<uint32_t>& values)
{
    writer.chunk(code).u2(static_cast<uint16_t>(values.size()));
    for (uint32_t value : values)
        writer.u4(value);
    return writer.end();
}

std::string describe(const LWChunk* chunk)
{
    return chunk ? static_cast<const ProbeChunk*>(chunk)->describe() : "none";
}

std::string describe(const std::vector<LWChunk*>& chunks)
{
    std::string text;
    for (const LWChunk* chunk : chunks)
        text += (text.empty() ? "" : ", ") + describe(chunk);
    return text;
}

const std::set<int> layerKinds = {LWLoaderComponent::ID_LAYR, LWLoaderComponent::ID_PNTS, LWLoaderComponent::ID_POLS,
                                  LWLoaderComponent::ID_PTAG, LWLoaderComponent::ID_TAGS};

class LWLoaderTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("");
    }

    // The loader's exception text, or "" when it loads.
    static std::string failure(LWLoader& loader, const std::string& name)
    {
        try {
            loader.loadObject(name);
        } catch (const LWLoaderException& e) {
            return e.getMessage();
        }
        return "";
    }

    std::string failure(const std::string& name)
    {
        LWLoader loader(nullptr, nullptr);
        return failure(loader, name);
    }
};
}

TEST(LWLoaderExceptionTest, CodesStandForTheirTexts)
{
    const std::pair<int, const char*> table[] = {
        {-5, "NO ERROR!?"}, {-4, "File not found."},   {-3, "Unknown file format."},
        {-2, "Corrupted file."}, {-1, "INVALID MESSAGE!"}, {0, "INVALID MESSAGE!"}, {7, "INVALID MESSAGE!"},
    };
    for (const auto& entry : table)
        EXPECT_EQ(LWLoaderException("LWLoader", entry.first).getMessage(), prefix + entry.second);
    EXPECT_EQ(LWLoaderException("LWSurfChunkException", "fillObject() - x").getMessage(),
              "KelvoEngineException::::LWSurfChunkException::fillObject() - x");
    EXPECT_STREQ(LWLoaderException("LWLoader", -2).what(), (prefix + "Corrupted file.").c_str());
}

TEST_F(LWLoaderTest, FramingFailuresAreLoggedAndNameTheFile)
{
    struct Case {
        const char* file;
        std::string bytes;
        const char* message;
        const char* log;
    } cases[] = {
        {"empty.lwo", "", "Corrupted file.", "loadObject() - Failed to read LWO file id (\"FORM\")."},
        {"cut.lwo", "FOR", "Corrupted file.", "loadObject() - Failed to read LWO file id (\"FORM\")."},
        {"riff.lwo", std::string("RIFF\0\0\0\4WAVE", 12), "Unknown file format.",
         "loadObject() - Unknown file format (Not LWO/IFF?)."},
        {"picture.lwo", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11), "Unknown file format.",
         "loadObject() - Unknown file format (Not LWO/IFF?)."},
        {"nolength.lwo", std::string("FORM\0\0", 6), "Corrupted file.",
         "loadObject() - Failed to read LWO file master length."},
        {"notype.lwo", std::string("FORM\0\0\0\4LW", 10), "Corrupted file.",
         "loadObject() - Failed to read LWO file version."},
        {"old.lwo", LwoWriter().file("LWOB"), "Unknown file format.", "loadObject() - Unsupported file version."},
        {"model.lwo", LwoWriter().file("LWO3"), "Unknown file format.", "loadObject() - Unsupported file version."},
        {"tiny.lwo", LwoWriter().file("LWO2", 2), "Corrupted file.", "loadObject() - Invalid LWO file master length."},
    };
    for (const Case& c : cases) {
        writeFile(c.file, c.bytes);
        LogCapture log;
        const int descriptors = openDescriptors();
        std::string message = failure(c.file);
        EXPECT_EQ(message.rfind(prefix + c.message + " File \"" + c.file + "\": ", 0), 0u) << message;
        EXPECT_TRUE(log.contains(std::string("[error] lwloader::") + c.log + "\n")) << log.text();
        EXPECT_EQ(log.errors(), 1) << c.file;
        EXPECT_EQ(openDescriptors(), descriptors) << c.file << " left open";
    }
}

TEST_F(LWLoaderTest, AFileShorterThanItsFormLengthFailsWithTheByteCount)
{
    LwoWriter writer;
    writer.chunk("DESC").raw("abcd").end();
    writeFile("short.lwo", writer.file("LWO2", 4 + 12 + 10));
    LogCapture log;
    EXPECT_EQ(failure("short.lwo"), prefix +
                                        "LWLoader::readChunks() - Bytecount (12) vs. filesize (22) mismatch, possibly "
                                        "corrupted file. File \"short.lwo\": it ends before its form length.");
    EXPECT_EQ(log.errors(), 0) << log.text();
}

TEST_F(LWLoaderTest, AChunkThatCannotBeReadOrSkippedEndsTheLoad)
{
    struct Case {
        const char* name;
        std::string body;  // after the form type
        std::vector<std::string> log;
        std::string detail;
    } cases[] = {
        {"a skipped chunk larger than what remains", LwoWriter().raw("DESC").u4(100).raw("abcd").body(),
         {"readNullChunk() - Seek error. Failed to skip the chunk."},
         "chunk \"DESC\" at byte 12: a skipped body at byte 20 needs 100 bytes where 4 remain"},
        {"a skipped chunk whose size is cut off", LwoWriter().chunk("DESC").end().raw("TEXT").u2(1).body(),
         {"readNullChunk() - Failed to chunk size."}, "chunk \"TEXT\" at byte 20: U4 at byte 24 needs 4 bytes where 2 remain"},
        {"a read chunk larger than what remains", LwoWriter().raw("PNTS").u4(100).u2(0).body(), {},
         "chunk \"PNTS\" at byte 12: a body at byte 20 needs 100 bytes where 2 remain"},
        {"a read chunk whose reader runs past its body", LwoWriter().chunk("PNTS").u2(2).u4(1).end().raw("rest").body(),
         {}, "chunk \"PNTS\" at byte 12: 2 values do not fit"},
        {"a read chunk whose reader fails", LwoWriter().chunk("PNTS").u1(0).end().raw("rest").body(), {},
         "chunk \"PNTS\" at byte 12: U2 at byte 20 needs 2 bytes where 1 remain"},
    };
    for (const Case& c : cases) {
        writeFile("broken.lwo", LwoWriter().raw(c.body).file());
        Record record;
        ProbeLoader loader(record, {LWLoaderComponent::ID_PNTS});
        LogCapture log;
        EXPECT_EQ(failure(loader, "broken.lwo"), prefix + "Corrupted file. File \"broken.lwo\": " + c.detail + ".")
            << c.name;
        std::vector<std::string> lines = c.log;
        lines.push_back("LWLoader::readChunks() - Possible silent error detected!");
        std::string expected;
        for (const std::string& line : lines)
            expected += "[error] lwloader::" + line + "\n";
        EXPECT_EQ(log.text(), expected) << c.name;
        EXPECT_EQ(log.errors(), static_cast<int>(lines.size())) << c.name;
    }
}

TEST_F(LWLoaderTest, ChunksWithoutAClassAreSkippedByTheirSizeAndPad)
{
    LwoWriter writer;
    writer.chunk("DESC").raw("abc").end();         // odd: a pad byte follows
    writer.chunk("ICON").raw("abcde").end();
    probe(writer, "PNTS", {1, 2});
    writer.chunk("BBOX").end();
    writer.chunk("FORM").raw("LWO2").end();        // a nested form is no chunk of an object
    writer.chunk("BLOK").raw("IMAP").end();        // nor are sub-chunk identifiers
    writer.chunk("LWO2").raw("x").end();
    probe(writer, "PNTS", {3});
    writeFile("skips.lwo", writer.file());

    Record record;
    ProbeLoader loader(record, {LWLoaderComponent::ID_PNTS});
    loader.loadObject("skips.lwo");
    std::vector<LWChunk*> points = loader.findChunks(LWLoaderComponent::ID_PNTS, false);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0]->getId(), LWLoaderComponent::ID_PNTS);
    EXPECT_EQ(points[0]->getIdString(), "PNTS");
    EXPECT_EQ(points[0]->getSize(), 10u);
    loader.fillObject(nullptr);
    EXPECT_EQ(record.applied, (std::vector<std::string>{"PNTS 1 2", "PNTS 3"}));
}

TEST_F(LWLoaderTest, TheLoaderReadsAnObjectOfChunksItHasNoClassesFor)
{
    LwoWriter writer;
    writer.chunk("TEXT").s0("made by hand").end();
    writer.chunk("DESC").raw("xyz").end();
    writeFile("plain.lwo", writer.file());
    LWLoader loader(nullptr, nullptr);
    LogCapture log;
    loader.loadObject("plain.lwo");
    loader.fillObject(nullptr);
    EXPECT_TRUE(loader.findChunks(LWLoaderComponent::ID_OTHER, false).empty());
    EXPECT_EQ(log.errors(), 0);
}

TEST_F(LWLoaderTest, AFormLengthShorterThanTheFileStillReadsEveryChunk)
{
    LwoWriter writer;
    probe(writer, "PNTS", {1});
    probe(writer, "PNTS", {2});
    writeFile("long.lwo", writer.file("LWO2", 4 + 14));
    Record record;
    ProbeLoader loader(record, {LWLoaderComponent::ID_PNTS});
    loader.loadObject("long.lwo");
    loader.fillObject(nullptr);
    EXPECT_EQ(record.applied, (std::vector<std::string>{"PNTS 1", "PNTS 2"}));
}

TEST_F(LWLoaderTest, AnIdentifierHolding0xFFEndsTheReadingLikeTheEndOfTheFile)
{
    LwoWriter writer;
    probe(writer, "PNTS", {1});
    // Behind the form: reading stops at the identifier, the chunk after it is never read.
    writeFile("tail.lwo", writer.file() + LwoWriter().raw("\xFF\xFF\xFF\xFF").u4(4).raw("abcd").body() +
                              LwoWriter().raw("PNTS").u4(6).u2(1).u4(9).body());
    Record record;
    ProbeLoader loader(record, {LWLoaderComponent::ID_PNTS});
    loader.loadObject("tail.lwo");
    loader.fillObject(nullptr);
    EXPECT_EQ(record.applied, (std::vector<std::string>{"PNTS 1"}));

    // Inside the form: the bytes read fall short of the form length.
    LwoWriter inner;
    probe(inner, "PNTS", {1});
    inner.raw("PN\xFFS").u4(2).u2(0);
    probe(inner, "PNTS", {2});
    writeFile("inner.lwo", inner.file());
    EXPECT_EQ(failure(loader, "inner.lwo"),
              prefix + "LWLoader::readChunks() - Bytecount (14) vs. filesize (38) mismatch, possibly corrupted file. "
                       "File \"inner.lwo\": it ends before its form length.");
}

TEST_F(LWLoaderTest, TheLastChunksPadByteMayBeMissing)
{
    LwoWriter writer;
    probe(writer, "PNTS", {1});
    writer.chunk("DESC").raw("abc").end();
    std::string file = writer.file();
    file.pop_back();
    writeFile("nopad.lwo", file);
    Record record;
    ProbeLoader loader(record, {LWLoaderComponent::ID_PNTS});
    EXPECT_EQ(failure(loader, "nopad.lwo"), "");
    loader.fillObject(nullptr);
    EXPECT_EQ(record.applied, (std::vector<std::string>{"PNTS 1"}));
}

TEST_F(LWLoaderTest, AFailedLoadKeepsTheChunksOfTheLastGoodOne)
{
    LwoWriter good;
    probe(good, "PNTS", {1});
    writeFile("good.lwo", good.file());
    LwoWriter bad;
    probe(bad, "PNTS", {2});
    bad.raw("PNTS").u4(40);
    writeFile("bad.lwo", bad.file());

    Record record;
    ProbeLoader loader(record, {LWLoaderComponent::ID_PNTS});
    loader.loadObject("good.lwo");
    LogCapture quiet;
    EXPECT_NE(failure(loader, "bad.lwo"), "");
    loader.fillObject(nullptr);
    EXPECT_EQ(record.applied, (std::vector<std::string>{"PNTS 1"}));
}

TEST_F(LWLoaderTest, TheFileIsReleasedOnEveryPathAndLoadsAgainFromItsStart)
{
    LwoWriter valid;
    probe(valid, "PNTS", {5, 6});
    LwoWriter broken;
    probe(broken, "PNTS", {5});
    broken.raw("PNTS").u4(99);
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"valid", valid.file()},
        {"broken chunk", broken.file()},
        {"short of its form length", valid.file("LWO2", 100)},
        {"not LWO2", valid.file("LWOB")},
        {"not IFF", "GIF89a"},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        writeFile("object.lwo", c.bytes);
        Record record;
        ProbeLoader first(record, {LWLoaderComponent::ID_PNTS});
        ProbeLoader second(record, {LWLoaderComponent::ID_PNTS});
        LogCapture quiet;
        const int descriptors = openDescriptors();
        std::string once = failure(first, "object.lwo");
        EXPECT_EQ(openDescriptors(), descriptors) << c.name;
        EXPECT_EQ(failure(second, "object.lwo"), once) << c.name;
        EXPECT_EQ(openDescriptors(), descriptors) << c.name;
        first.fillObject(nullptr);
        second.fillObject(nullptr);
        if (once.empty()) {
            EXPECT_EQ(record.applied, (std::vector<std::string>{"PNTS 5 6", "PNTS 5 6"})) << c.name;
        }
    }
}

TEST_F(LWLoaderTest, AFileThatCannotBeOpenedFailsWithTheCauseLogged)
{
    LogCapture log;
    EXPECT_EQ(failure("missing.lwo"),
              prefix + "loadObject() - LightWave object loading failed. Unable to open the resource. ");
    EXPECT_TRUE(log.contains("[error] lwloader::loadObject() - LightWave object loading failed. Unable to open the "
                             "resource. KelvoEngineException::::ResourceLoaderException::readResourceFile() - Can't "
                             "open file \"missing.lwo\". Failed to access the file.\n"))
        << log.text();
    EXPECT_EQ(log.errors(), 2) << "the resource loader's and the loader's";
}

TEST_F(LWLoaderTest, LoadingAndFillingLogTheFileAndEachChunkAtDebugLevel)
{
    LwoWriter writer;
    probe(writer, "LAYR", {0});
    writer.chunk("DESC").end();
    probe(writer, "PNTS", {});
    writeFile("debug.lwo", writer.file());
    Record record;
    // An actor of no scene: the chunks are handed it, and the loader finds no triangles in it.
    Actor empty(nullptr);
    Actor* actor = &empty;
    ProbeLoader loader(record, layerKinds);
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::debug);
    loader.loadObject("debug.lwo");
    loader.fillObject(actor);
    EXPECT_EQ(log.text(), "[debug] lwloader::loadObject() - Opening LightWave file: debug.lwo\n"
                          "[debug] lwloader::fillObject() - Populating Actor with \"LAYR\" chunk.\n"
                          "[debug] lwloader::fillObject() - Populating Actor with \"PNTS\" chunk.\n");
    EXPECT_EQ(record.applied, (std::vector<std::string>{"LAYR 0", "PNTS"}));
    EXPECT_EQ(record.actors, (std::vector<Actor*>{actor, actor}));
    EXPECT_EQ(record.loaders, (std::vector<LWLoader*>{&loader, &loader}));
}

TEST_F(LWLoaderTest, FillingWrapsWhatAChunkThrowsAndStopsThere)
{
    struct Case {
        const char* name;
        std::function<void()> raise;
        std::string message;
    } cases[] = {
        {"loader exception", [] { throw LWLoaderException("LWSurfChunkException", "fillObject() - Failed."); },
         "LWLoader::FillObject() - Unable to populate Actor with Chunk \"PNTS\".  Cause: "
         "KelvoEngineException::::LWSurfChunkException::fillObject() - Failed."},
        {"engine exception", [] { throw InvalidParameterValueException("out of range"); },
         "LWLoader::FillObject() - Unable to populate Actor with Chunk \"PNTS\".  Cause: "
         "KelvoEngineException::::InvalidParameterValueException::out of range"},
        {"standard exception", [] { throw std::runtime_error("plain"); },
         "LWLoader::FillObject() - Unable to populate Actor with Chunk \"PNTS\".  Cause: plain"},
        {"anything else", [] { throw 42; },
         "LWLoader::FillObject() - Unable to populate Actor with Chunk \"PNTS\". Unknown Cause!"},
    };
    LwoWriter writer;
    probe(writer, "LAYR", {0});
    probe(writer, "PNTS", {1});
    probe(writer, "POLS", {6});
    writeFile("throws.lwo", writer.file());
    for (const Case& c : cases) {
        Record record;
        record.onFill = [&c](const LWChunk& chunk, LWLoader&) {
            if (chunk.getId() == LWLoaderComponent::ID_PNTS)
                c.raise();
        };
        ProbeLoader loader(record, layerKinds);
        loader.loadObject("throws.lwo");
        LogCapture log;
        std::string message;
        try {
            loader.fillObject(nullptr);
        } catch (const LWLoaderException& e) {
            message = e.getMessage();
        }
        EXPECT_EQ(message, prefix + c.message) << c.name;
        EXPECT_EQ(record.applied, (std::vector<std::string>{"LAYR 0", "PNTS 1"})) << c.name;
        EXPECT_EQ(log.errors(), 0) << c.name;
    }
}

TEST_F(LWLoaderTest, TheCursorWalksFromTheChunkBeingAppliedAndStopsAtTheEnds)
{
    LwoWriter writer;
    probe(writer, "LAYR", {0});
    probe(writer, "PNTS", {10});
    probe(writer, "POLS", {LWLoaderComponent::ID_FACE});
    probe(writer, "PTAG", {});
    probe(writer, "LAYR", {1});
    probe(writer, "PNTS", {20});
    probe(writer, "POLS", {LWLoaderComponent::ID_BONE});
    probe(writer, "TAGS", {});
    writeFile("layers.lwo", writer.file());

    Record record;
    std::vector<std::string> seen;
    record.onFill = [&seen](const LWChunk& chunk, LWLoader& loader) {
        std::string me = static_cast<const ProbeChunk&>(chunk).describe();
        if (me == "LAYR 0") {
            seen.push_back(describe(loader.previousChunk()));
            seen.push_back(describe(loader.nextChunk()));
        }
        if (me != "POLS 7")
            return;
        seen.push_back(describe(loader.previousChunk()));
        seen.push_back(describe(loader.previousChunk()));
        seen.push_back(describe(loader.previousChunk()));
        loader.resetCursor();
        seen.push_back(describe(loader.nextChunk()));
        seen.push_back(describe(loader.nextChunk()));
        seen.push_back(describe(loader.previousChunk()));
        loader.nextChunk();
        loader.findChunks(LWLoaderComponent::ID_PNTS, false);
        seen.push_back(describe(loader.previousChunk()));
        loader.nextChunk();
        loader.isBoneLayer();
        seen.push_back(describe(loader.previousChunk()));
    };
    ProbeLoader loader(record, layerKinds);
    loader.loadObject("layers.lwo");
    loader.fillObject(nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{"none", "PNTS 10",                       // at the first chunk
                                              "PNTS 20", "LAYR 1", "PTAG",             // back from POLS 7
                                              "TAGS", "none", "POLS 7",                // forward, stopping at TAGS
                                              "PNTS 20", "PNTS 20"}));                 // reset by the searches
}

TEST_F(LWLoaderTest, LayersBoundTheSearchesAndTheBoneTest)
{
    LwoWriter writer;
    probe(writer, "LAYR", {0});
    probe(writer, "PNTS", {10});
    probe(writer, "POLS", {LWLoaderComponent::ID_FACE});
    probe(writer, "PTAG", {});
    probe(writer, "LAYR", {1});
    probe(writer, "PNTS", {20});
    probe(writer, "POLS", {LWLoaderComponent::ID_BONE});
    probe(writer, "TAGS", {});
    writeFile("layers.lwo", writer.file());

    Record record;
    std::vector<std::string> seen;
    record.onFill = [&seen](const LWChunk& chunk, LWLoader& loader) {
        seen.push_back(static_cast<const ProbeChunk&>(chunk).describe() + ": layer " +
                       std::to_string(loader.getLayerNumber()) + (loader.isBoneLayer() ? " bones" : " mesh") +
                       "; points here " + describe(loader.findChunks(LWLoaderComponent::ID_PNTS, true)) +
                       "; points anywhere " + describe(loader.findChunks(LWLoaderComponent::ID_PNTS, false)));
    };
    ProbeLoader loader(record, layerKinds);
    loader.loadObject("layers.lwo");
    loader.fillObject(nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "LAYR 0: layer 0 mesh; points here PNTS 10; points anywhere PNTS 10, PNTS 20",
                        "PNTS 10: layer 0 mesh; points here PNTS 10; points anywhere PNTS 10, PNTS 20",
                        "POLS 6: layer 0 mesh; points here PNTS 10; points anywhere PNTS 10, PNTS 20",
                        "PTAG: layer 0 mesh; points here PNTS 10; points anywhere PNTS 10, PNTS 20",
                        "LAYR 1: layer 1 bones; points here PNTS 20; points anywhere PNTS 10, PNTS 20",
                        "PNTS 20: layer 1 bones; points here PNTS 20; points anywhere PNTS 10, PNTS 20",
                        "POLS 7: layer 1 bones; points here PNTS 20; points anywhere PNTS 10, PNTS 20",
                        "TAGS: layer 1 bones; points here PNTS 20; points anywhere PNTS 10, PNTS 20",
                    }));
}

TEST_F(LWLoaderTest, BeforeTheFirstLayerTheChunksAheadOfItAreTheCurrentLayer)
{
    LwoWriter writer;
    probe(writer, "PNTS", {10});
    probe(writer, "POLS", {LWLoaderComponent::ID_BONE});
    probe(writer, "LAYR", {3});
    probe(writer, "PNTS", {20});
    probe(writer, "POLS", {LWLoaderComponent::ID_FACE});
    writeFile("nolayer.lwo", writer.file());

    Record record;
    std::vector<std::string> seen;
    record.onFill = [&seen](const LWChunk& chunk, LWLoader& loader) {
        if (chunk.getId() == LWLoaderComponent::ID_PNTS)
            seen.push_back("layer " + std::to_string(loader.getLayerNumber()) +
                           (loader.isBoneLayer() ? " bones " : " mesh ") +
                           describe(loader.findChunks(LWLoaderComponent::ID_PNTS, true)));
    };
    ProbeLoader loader(record, layerKinds);
    loader.loadObject("nolayer.lwo");
    loader.fillObject(nullptr);
    // A second walk starts without a layer again.
    loader.fillObject(nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{"layer 0 bones PNTS 10", "layer 3 mesh PNTS 20",
                                              "layer 0 bones PNTS 10", "layer 3 mesh PNTS 20"}));
}

TEST_F(LWLoaderTest, ALoaderWithoutChunksHasNothingToWalk)
{
    LWLoader loader(nullptr, nullptr);
    loader.fillObject(nullptr);
    EXPECT_EQ(loader.previousChunk(), nullptr);
    EXPECT_EQ(loader.nextChunk(), nullptr);
    EXPECT_FALSE(loader.isBoneLayer());
    EXPECT_EQ(loader.getLayerNumber(), 0);
    EXPECT_TRUE(loader.findChunks(LWLoaderComponent::ID_PNTS, true).empty());
    EXPECT_EQ(loader.getActor(), nullptr);
    EXPECT_EQ(loader.getEnvironment(), nullptr);
}
