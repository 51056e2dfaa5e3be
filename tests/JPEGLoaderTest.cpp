#include "JPEGLoader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "FuzzTarget.h"
#include "HostileFiles.h"
#include "JpegCompressor.h"
#include "JpegWriter.h"
#include "ResourceLoader.h"
#include "TestSupport.h"

namespace {
const std::string prefix = "KelvoEngineException::::JPEGLoaderException::";

class JPEGLoaderTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("");
    }

    // 16 × 16, top half red, bottom half blue.
    void writeTwoBands(const std::string& name)
    {
        std::vector<unsigned char> pixels = solidPixels(16, 8, {255, 0, 0});
        std::vector<unsigned char> bottom = solidPixels(16, 8, {0, 0, 255});
        pixels.insert(pixels.end(), bottom.begin(), bottom.end());
        writeJpeg(path(name), 16, 16, 3, pixels);
    }

    // The loader's exception text, or "" when it loads.
    std::string failure(const std::string& name, bool greyscale = false)
    {
        try {
            JPEGLoader loader(name, greyscale);
        } catch (const JPEGLoaderException& e) {
            return e.getMessage();
        }
        return "";
    }
};

void expectNear(const unsigned char* pixel, std::initializer_list<int> expected)
{
    int i = 0;
    for (int value : expected)
        EXPECT_NEAR(pixel[i++], value, 3) << "component " << i - 1;
}
}

TEST_F(JPEGLoaderTest, DecodesRGBTopRowFirst)
{
    writeTwoBands("bands.jpg");
    JPEGLoader loader("bands.jpg", false);
    EXPECT_EQ(loader.getWidth(), 16);
    EXPECT_EQ(loader.getHeight(), 16);
    EXPECT_EQ(loader.getComponents(), 3);
    EXPECT_EQ(loader.getSize(), 16u * 16 * 3);
    EXPECT_FALSE(loader.isGreyscale());
    const unsigned char* p = loader.getPixels();
    expectNear(p, {255, 0, 0});
    expectNear(p + (16 * 7 + 15) * 3, {255, 0, 0});
    expectNear(p + 16 * 8 * 3, {0, 0, 255});
    expectNear(p + (16 * 16 - 1) * 3, {0, 0, 255});
}

TEST_F(JPEGLoaderTest, DecodesGreyscaleAndConvertsBetweenTheTwo)
{
    std::vector<unsigned char> grey = solidPixels(8, 8, {200});
    std::vector<unsigned char> dark = solidPixels(8, 8, {50});
    grey.insert(grey.end(), dark.begin(), dark.end());
    writeJpeg(path("grey.jpg"), 8, 16, 1, grey);
    writeTwoBands("colour.jpg");

    JPEGLoader luminance("grey.jpg", true);
    EXPECT_EQ(luminance.getComponents(), 1);
    EXPECT_EQ(luminance.getSize(), 8u * 16);
    EXPECT_TRUE(luminance.isGreyscale());
    expectNear(luminance.getPixels(), {200});
    expectNear(luminance.getPixels() + 8 * 16 - 1, {50});

    JPEGLoader expanded("grey.jpg", false);
    EXPECT_EQ(expanded.getComponents(), 3);
    EXPECT_FALSE(expanded.isGreyscale());
    expectNear(expanded.getPixels(), {200, 200, 200});

    JPEGLoader reduced("colour.jpg", true);
    EXPECT_EQ(reduced.getComponents(), 1);
    EXPECT_EQ(reduced.getSize(), 16u * 16);
    // Luminance of pure red and pure blue: 0.299·255 and 0.114·255.
    expectNear(reduced.getPixels(), {76});
    expectNear(reduced.getPixels() + 255, {29});
}

TEST_F(JPEGLoaderTest, OnePixelImageSizes)
{
    writeJpeg(path("dot.jpg"), 1, 1, 3, {10, 20, 30});
    EXPECT_EQ(JPEGLoader("dot.jpg", false).getSize(), 3u);
    EXPECT_EQ(JPEGLoader("dot.jpg", true).getSize(), 1u);
}

TEST_F(JPEGLoaderTest, LibraryErrorsGiveTheLoadersTextAndAreLogged)
{
    writeJpeg(path("cmyk.jpg"), 8, 8, 4, solidPixels(8, 8, {0, 50, 100, 150}));
    writeFile("notes.jpg", "hello, not a picture");
    struct Case {
        const char* file;
        bool greyscale;
        const char* text;
    } cases[] = {
        {"cmyk.jpg", false, "JPEGLoader() - Error while loading \"cmyk.jpg\": Unsupported color conversion request."},
        {"notes.jpg", false, "JPEGLoader() - Error while loading \"notes.jpg\": Not a JPEG file: starts with 0x68 0x65."},
    };
    for (const Case& c : cases) {
        LogCapture log;
        EXPECT_EQ(failure(c.file, c.greyscale), prefix + c.text);
        EXPECT_TRUE(log.contains(std::string("[error] jpegloader::") + c.text)) << log.text();
        EXPECT_EQ(log.errors(), 1);
    }
}

TEST_F(JPEGLoaderTest, AMissingFileIsReportedWithThePathTriedAndTheCauseInTheLogOnly)
{
    std::filesystem::create_directories(path("data/folder.jpg"));
    struct Case {
        const char* resourcePath;
        const char* file;
        const char* where;  // the joined path and why it cannot be read
    } cases[] = {
        {"", "missing.jpg", "File \"missing.jpg\": file not found."},
        {"data/", "maps/earth.jpg", "File \"data/maps/earth.jpg\": file not found."},
        {"data/", "maps\\earth.jpg", "File \"data/maps/earth.jpg\": file not found."},
        {"data/", "folder.jpg", "File \"data/folder.jpg\": not a regular file."},
    };
    for (const Case& c : cases) {
        ResourceLoader::setResourcePath(c.resourcePath);
        LogCapture log;
        const std::string text = std::string("JPEGLoader() - Can't open jpeg resource \"") + c.file +
                                 "\". Failed to open the resource. " + c.where;
        EXPECT_EQ(failure(c.file), prefix + text);
        EXPECT_TRUE(log.contains(text + " KelvoEngineException::::ResourceLoaderException::readResourceFile() - Can't "
                                        "open file \""))
            << log.text();
    }
    ResourceLoader::setResourcePath("");
}

TEST_F(JPEGLoaderTest, ATruncatedFileDecodesWithTheLibrarysWarningInTheLog)
{
    std::vector<unsigned char> pixels;
    for (int i = 0; i < 64 * 64; ++i) {
        const unsigned char noise = static_cast<unsigned char>((i * 37) % 11);
        pixels.insert(pixels.end(), {static_cast<unsigned char>(250 - noise), noise, noise});
    }
    std::string bytes = jpegBytes(64, 64, 3, pixels);
    size_t scan = bytes.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    // Cut inside the compressed data, past every table.
    writeFile("cut.jpg", bytes.substr(0, scan + (bytes.size() - scan) / 2));
    // The library's warning goes to the engine log, not to standard error.
    LogCapture log;
    testing::internal::CaptureStderr();
    std::unique_ptr<JPEGLoader> loader;
    EXPECT_NO_THROW(loader.reset(new JPEGLoader("cut.jpg", false)));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(log.contains("[warning] jpegloader::JPEGLoader() - Premature end of JPEG file.\n")) << log.text();
    EXPECT_EQ(log.warnings(), 1);
    ASSERT_TRUE(loader);
    EXPECT_EQ(loader->getHeight(), 64);
    EXPECT_NEAR(loader->getPixels()[0], 245, 8);
}

TEST_F(JPEGLoaderTest, AProgressiveFileOfMoreThan500ScansIsRefused)
{
    struct Case {
        const char* name;
        int width;
        int scans;  // after the DC scan
        bool refused;
    } cases[] = {
        {"500 scans", 16, 499, false},
        {"501 scans", 16, 500, true},
        {"8192 x 8192 of 2,001 scans", 8192, 2000, true},
    };
    for (const Case& c : cases) {
        writeFile("scans.jpg", manyScansJpeg(c.width, c.width, c.scans));
        LogCapture log;
        testing::internal::CaptureStderr();
        const double start = threadCpuSeconds();
        const std::string refusal = failure("scans.jpg", true);
        const double seconds = threadCpuSeconds() - start;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.name;
        const std::string expected =
            c.refused ? prefix + "JPEGLoader() - Error while loading \"scans.jpg\": too many scans, more than 500." : "";
        EXPECT_EQ(refusal, expected) << c.name;
        EXPECT_LT(seconds, readerSecondsLimit()) << c.name;
    }
}

TEST_F(JPEGLoaderTest, AHugeDeclaredSizeIsRefusedBeforeAllocating)
{
    std::string bytes = jpegBytes(8, 8, 3, solidPixels(8, 8, {1, 2, 3}));
    size_t sof = bytes.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    // Marker, length (2), precision (1), then height and width, big-endian.
    bytes[sof + 5] = bytes[sof + 7] = static_cast<char>(40000 >> 8);
    bytes[sof + 6] = bytes[sof + 8] = static_cast<char>(40000 & 0xFF);
    writeFile("huge.jpg", bytes);
    LogCapture log;
    EXPECT_EQ(failure("huge.jpg"), prefix + "JPEGLoader() - Error while loading \"huge.jpg\": Image of 40000x40000 pixels "
                                            "is larger than the limit of 67108864 pixels.");
    EXPECT_EQ(log.errors(), 1);
}

TEST_F(JPEGLoaderTest, FarTooLittleDataForTheDeclaredSizeIsRefusedBeforeDecoding)
{
    int refused = 0;
    for (const HostileFile& file : hostileFiles()) {
        if (file.target != "jpeg" || file.name.rfind("short-", 0) != 0)
            continue;
        SCOPED_TRACE(file.name);
        const std::string bytes = file.make();
        writeFile(file.name, bytes);
        LogCapture log;
        testing::internal::CaptureStderr();
        const double start = threadCpuSeconds();
        const std::string refusal = failure(file.name);
        const double seconds = threadCpuSeconds() - start;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(refusal, prefix + "JPEGLoader() - Error while loading \"" + file.name + "\": File of " +
                               std::to_string(bytes.size()) + " bytes is far too short for an image of 8192x8192 pixels.");
        EXPECT_EQ(log.errors(), 1);
        EXPECT_EQ(log.warnings(), 0) << "nothing decoded: " << log.text();
        // Reading the header only; a fifth of what a hostile input may take.
        EXPECT_LT(seconds, readerSecondsLimit() / 5);
        ++refused;
    }
    EXPECT_EQ(refused, 2);
}

TEST_F(JPEGLoaderTest, AShowPictureCutPartwayStillLoadsWithTheLibrarysWarning)
{
    const std::string bytes = readFile(sourceDir() + "/show/garden/sky.jpg");
    ASSERT_GT(bytes.size(), 1000u);
    for (int percent : {50, 70, 90}) {
        SCOPED_TRACE(std::to_string(percent) + " %");
        writeFile("sky.jpg", bytes.substr(0, bytes.size() * percent / 100));
        LogCapture log;
        std::unique_ptr<JPEGLoader> loader;
        EXPECT_NO_THROW(loader.reset(new JPEGLoader("sky.jpg", false)));
        EXPECT_TRUE(log.contains("[warning] jpegloader::JPEGLoader() - Premature end of JPEG file.\n")) << log.text();
        EXPECT_EQ(log.errors(), 0);
        ASSERT_TRUE(loader);
        EXPECT_EQ(loader->getWidth(), 1024);
        EXPECT_EQ(loader->getHeight(), 512);
    }
}

// The fewest bits a picture's data can take: one colour everywhere, coded with Huffman tables made
// for it (one-bit codes), or in libjpeg's progression of scans.
TEST_F(JPEGLoaderTest, ALargeFlatPictureOfLittleDataLoads)
{
    struct Case {
        const char* name;
        int components;
        bool optimised;
        bool progressive;
    } cases[] = {
        {"grey, tables made for it", 1, true, false},
        {"colour, standard tables", 3, false, false},
        {"grey, progressive", 1, true, true},
    };
    const int side = 4096;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JpegCompressor compressor(side, side, c.components);
        compressor.settings().optimize_coding = c.optimised ? TRUE : FALSE;
        if (c.progressive)
            jpeg_simple_progression(&compressor.settings());
        const std::vector<unsigned char> row(static_cast<size_t>(side) * c.components, 90);
        const std::string bytes = compressor.compress([&](size_t) { return row.data(); });
        // Far less than a byte a block: what a short file's refusal must let through.
        EXPECT_LT(bytes.size(), static_cast<size_t>(side / 8) * (side / 8) * c.components / 2);
        writeFile("flat.jpg", bytes);
        LogCapture log;
        std::unique_ptr<JPEGLoader> loader;
        EXPECT_NO_THROW(loader.reset(new JPEGLoader("flat.jpg", c.components == 1)));
        EXPECT_EQ(log.text(), "");
        ASSERT_TRUE(loader);
        EXPECT_EQ(loader->getWidth(), side);
        EXPECT_EQ(loader->getHeight(), side);
        expectNear(loader->getPixels() + loader->getSize() - 1, {90});
    }
}

// Each load opens the file afresh: a failed load leaves nothing open that a later one would reuse.
TEST_F(JPEGLoaderTest, LoadsAfreshAfterSuccessAndAfterFailure)
{
    writeFile("image.jpg", "garbage");
    EXPECT_NE(failure("image.jpg"), "");
    writeTwoBands("image.jpg");
    EXPECT_EQ(failure("image.jpg"), "");
    EXPECT_EQ(failure("image.jpg"), "");
    writeJpeg(path("image.jpg"), 4, 2, 3, solidPixels(4, 2, {0, 255, 0}));
    JPEGLoader loader("image.jpg", false);
    EXPECT_EQ(loader.getWidth(), 4);
    expectNear(loader.getPixels(), {0, 255, 0});
}

TEST_F(JPEGLoaderTest, EveryPrefixAndFlippedByteEndsInAnImageOrTheLoadersException)
{
    const std::string bytes = jpegBytes(16, 16, 3, solidPixels(16, 16, {90, 160, 30}), 75);
    std::vector<std::string> variants;
    for (size_t length = 0; length < bytes.size(); ++length)
        variants.push_back(bytes.substr(0, length));
    for (size_t at = 2; at < bytes.size(); at += 7) {
        std::string flipped = bytes;
        flipped[at] = static_cast<char>(flipped[at] ^ 0xA5);
        variants.push_back(flipped);
    }
    LogCapture log;
    const int descriptors = openDescriptors();
    testing::internal::CaptureStderr();
    for (size_t i = 0; i < variants.size(); ++i) {
        writeFile("variant.jpg", variants[i]);
        try {
            JPEGLoader loader("variant.jpg", false);
            EXPECT_EQ(loader.getSize(), static_cast<uint32_t>(loader.getWidth()) * loader.getHeight() * 3) << i;
        } catch (const JPEGLoaderException&) {
        }
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(openDescriptors(), descriptors);
}
