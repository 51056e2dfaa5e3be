#include "Texture.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

#include "BlendableTexture.h"
#include "EnvironmentTexture.h"
#include "GLEnvironment.h"
#include "JPEGLoader.h"
#include "JpegWriter.h"
#include "Log.h"
#include "ResourceLoader.h"
#include "TestSupport.h"

namespace {
class TextureTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("");
        drainGLErrors();
    }
    void TearDown() override
    {
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
        TempDirTest::TearDown();
    }

    void writeSolid(const std::string& name, int width, int height, std::vector<unsigned char> colour)
    {
        writeJpeg(path(name), width, height, static_cast<int>(colour.size()), solidPixels(width, height, colour));
    }

    static GLint boundTexture()
    {
        GLint id = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &id);
        return id;
    }
    static GLint parameter(GLenum name)
    {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }
    // Level 0 of the bound texture as RGBA bytes.
    static std::vector<unsigned char> level0(int width, int height)
    {
        std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
};
}

TEST(TextureSizes, NearestPowerOfTwo)
{
    struct Case {
        int value, expected;
    } cases[] = {{-1, 0}, {0, 2}, {2, 2}, {3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 8}, {12, 8}, {13, 16},
                 {256, 256}, {300, 256}, {480, 512}, {640, 512}, {768, 512}, {769, 1024}, {1536, 1024},
                 {5000, 1024}};
    for (const Case& c : cases)
        EXPECT_EQ(Texture::nearestPowerOfTwo(c.value), c.expected) << c.value;
}

TEST_F(TextureTest, MipmappedUploadKeepsTheSourceSizeAndSingleLevelScales)
{
    writeSolid("big.jpg", 640, 480, {200, 100, 50});
    Log::getInstance()->setLevel(LogLevel::debug);
    LogCapture log;

    Texture mipmapped;
    mipmapped.loadTexture("big.jpg");
    EXPECT_EQ(mipmapped.getWidth(), 640);
    EXPECT_EQ(mipmapped.getHeight(), 480);
    EXPECT_EQ(mipmapped.getName(), "big.jpg");
    EXPECT_EQ(boundTexture(), static_cast<GLint>(mipmapped.getTextureId()));
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    GLfloat border[4] = {0, 0, 0, 0};
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    EXPECT_FLOAT_EQ(border[0], 1.0f);
    EXPECT_FLOAT_EQ(border[3], 1.0f);
    EXPECT_FALSE(log.contains("Scaling needed"));

    Texture single;
    single.disableMipmapping();
    single.loadTexture("big.jpg");
    EXPECT_EQ(single.getWidth(), 512);
    EXPECT_EQ(single.getHeight(), 512);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, 512);
    EXPECT_EQ(h, 512);
    std::vector<unsigned char> pixels = level0(512, 512);
    EXPECT_NEAR(pixels[(256 * 512 + 256) * 4], 200, 3);
    EXPECT_NEAR(pixels[(256 * 512 + 256) * 4 + 2], 50, 3);
    EXPECT_TRUE(log.contains("buildTexture() - Scaling needed for this texture.  width=640, height=480 will be "
                             "scaled to: width=512, height=512"));

    log.clear();
    writeSolid("square.jpg", 256, 256, {0, 0, 0});
    Texture exact;
    exact.disableMipmapping();
    exact.loadTexture("square.jpg");
    EXPECT_EQ(exact.getWidth(), 256);
    EXPECT_FALSE(log.contains("Scaling needed"));
    Log::getInstance()->setLevel(LogLevel::info);
}

TEST_F(TextureTest, UploadsRowsTopFirstWithOddWidths)
{
    // 3 × 2: the rows are 9 bytes, not a multiple of four.
    std::vector<unsigned char> top = solidPixels(3, 1, {255, 0, 0});
    std::vector<unsigned char> bottom = solidPixels(3, 1, {0, 0, 255});
    top.insert(top.end(), bottom.begin(), bottom.end());
    writeJpeg(path("odd.jpg"), 3, 2, 3, top);
    // A real JPEG of that size smears colours across the 8×8 block, so compare with the decoder.
    JPEGLoader decoded("odd.jpg", false);

    Texture texture;
    texture.disableMipmapping();
    texture.loadTexture("odd.jpg");
    ASSERT_EQ(texture.getWidth(), 4);
    ASSERT_EQ(texture.getHeight(), 2);
    texture.enable();
    std::vector<unsigned char> pixels = level0(4, 2);
    // Column 0 of each row is the source's column 0 (scaling 3 → 4 keeps the first sample).
    EXPECT_NEAR(pixels[0], decoded.getPixels()[0], 8);
    EXPECT_NEAR(pixels[2], decoded.getPixels()[2], 8);
    EXPECT_NEAR(pixels[4 * 4 + 0], decoded.getPixels()[9 + 0], 8);
    EXPECT_NEAR(pixels[4 * 4 + 2], decoded.getPixels()[9 + 2], 8);
    EXPECT_GT(pixels[0], pixels[4 * 4 + 0]);  // top row red, bottom row blue
}

TEST_F(TextureTest, ModesAndWrapApplyAtTheNextBind)
{
    writeSolid("a.jpg", 8, 8, {10, 20, 30});
    Texture texture;
    texture.loadTexture("a.jpg");
    glBindTexture(GL_TEXTURE_2D, 0);

    struct Case {
        const char* action;
        bool repeatS, repeatT;
        GLint envMode, wrapS, wrapT;
    } cases[] = {
        {"enableAdditiveMode", true, false, GL_ADD, GL_REPEAT, GL_CLAMP},
        {"enableBlendMode", false, true, GL_BLEND, GL_CLAMP, GL_REPEAT},
        {"enableModulateMode", true, true, GL_MODULATE, GL_REPEAT, GL_REPEAT},
    };
    for (const Case& c : cases) {
        texture.action(c.action);
        texture.repeatS = c.repeatS;
        texture.repeatT = c.repeatT;
        texture.enable();
        EXPECT_EQ(boundTexture(), static_cast<GLint>(texture.getTextureId()));
        GLint mode = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
        EXPECT_EQ(mode, c.envMode) << c.action;
        EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), c.wrapS) << c.action;
        EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), c.wrapT) << c.action;
        texture.disable();
        EXPECT_EQ(boundTexture(), static_cast<GLint>(texture.getTextureId())) << "disable leaves it bound";
    }
}

TEST_F(TextureTest, ReloadUploadsIntoTheSameTextureObject)
{
    writeSolid("first.jpg", 16, 16, {255, 0, 0});
    writeSolid("second.jpg", 32, 16, {0, 255, 0});
    Texture texture;
    texture.loadTexture("first.jpg");
    const unsigned int id = texture.getTextureId();
    ASSERT_NE(id, 0u);

    texture.loadTexture("second.jpg");
    EXPECT_EQ(texture.getTextureId(), id);
    EXPECT_EQ(texture.getName(), "first.jpg") << "only an empty name is set by a load";
    EXPECT_EQ(texture.getWidth(), 32);
    texture.enable();
    std::vector<unsigned char> pixels = level0(32, 16);
    EXPECT_NEAR(pixels[1], 255, 3);
    EXPECT_NEAR(pixels[0], 0, 3);

    // A failed reload keeps the object and the size of the last good image.
    writeFile("broken.jpg", "not a picture");
    EXPECT_THROW(texture.loadTexture("broken.jpg"), TextureException);
    EXPECT_EQ(texture.getTextureId(), id);
    EXPECT_TRUE(glIsTexture(id));
    EXPECT_EQ(texture.getWidth(), 32);
    EXPECT_EQ(texture.getHeight(), 16);
}

TEST_F(TextureTest, DestructorDeletesTheTextureObject)
{
    writeSolid("a.jpg", 8, 8, {1, 2, 3});
    unsigned int id = 0;
    {
        Texture texture;
        texture.loadTexture("a.jpg");
        id = texture.getTextureId();
        EXPECT_TRUE(glIsTexture(id));
    }
    EXPECT_FALSE(glIsTexture(id));
}

TEST_F(TextureTest, LoadFailuresNameTheFileAndTheCause)
{
    LogCapture log;
    Texture texture;
    try {
        texture.loadTexture("missing.jpg");
        FAIL() << "loaded a missing file";
    } catch (const TextureException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::TextureException::loadTexture() - Failed to load "
                                  "\"missing.jpg\". Exception: KelvoEngineException::::JPEGLoaderException::"
                                  "JPEGLoader() - Can't open jpeg resource \"missing.jpg\". Failed to open the "
                                  "resource. File \"missing.jpg\": file not found.");
    }
    EXPECT_EQ(texture.getTextureId(), 0u);
    EXPECT_EQ(texture.getWidth(), 0);
    EXPECT_EQ(texture.getName(), "missing.jpg");
}

TEST(TextureAlphaNames, AlphaCompanionFromTheBaseNamesLastDot)
{
    struct Case {
        const char* file;
        const char* alpha;
    } cases[] = {
        {"wood.jpg", "woodalpha.jpg"},
        {"glyph.a.jpg", "glyph.aalpha.jpg"},
        {"glyph", "glyphalpha.jpg"},
        {"x", "xalpha.jpg"},
        {"fonts.v2/glyph", "fonts.v2/glyphalpha.jpg"},
        {"fonts.v2\\glyph", "fonts.v2\\glyphalpha.jpg"},
        {"fonts.v2/glyph.jpg", "fonts.v2/glyphalpha.jpg"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendableTexture::alphaFileName(c.file), c.alpha) << c.file;
}

TEST_F(TextureTest, BlendableTextureInterleavesColourAndAlpha)
{
    // Equal pixel counts with different shapes are accepted: 16 × 16 colour, 32 × 8 alpha.
    writeSolid("glyph.jpg", 16, 16, {200, 100, 50});
    std::vector<unsigned char> alpha = solidPixels(32, 4, {255});
    std::vector<unsigned char> clear = solidPixels(32, 4, {0});
    alpha.insert(alpha.end(), clear.begin(), clear.end());
    writeJpeg(path("glyphalpha.jpg"), 32, 8, 1, alpha);

    BlendableTexture texture;
    texture.disableMipmapping();
    texture.stringAction("loadTexture", "glyph.jpg");  // the action reaches the alpha rule
    EXPECT_EQ(texture.getWidth(), 16);
    EXPECT_EQ(texture.getHeight(), 16);
    texture.enable();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    std::vector<unsigned char> pixels = level0(16, 16);
    EXPECT_NEAR(pixels[0], 200, 3);
    EXPECT_NEAR(pixels[1], 100, 3);
    EXPECT_NEAR(pixels[2], 50, 3);
    // Pixel i takes alpha pixel i: the first 128 pixels (8 colour rows) come from the opaque half.
    EXPECT_NEAR(pixels[3], 255, 3);
    EXPECT_NEAR(pixels[(7 * 16 + 15) * 4 + 3], 255, 3);
    EXPECT_NEAR(pixels[(8 * 16) * 4 + 3], 0, 3);
    EXPECT_NEAR(pixels[(15 * 16 + 15) * 4 + 3], 0, 3);
    texture.disable();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(TextureTest, BlendableTextureFailures)
{
    writeSolid("colour.jpg", 16, 16, {1, 2, 3});
    writeSolid("small.jpg", 8, 8, {255});
    BlendableTexture texture;
    try {
        texture.loadAlphaTexture("colour.jpg", "small.jpg");
        FAIL() << "size mismatch accepted";
    } catch (const BlendableTextureException& e) {
        const std::string text =
            "loadAlphaTexture() - Alpha channel file \"small.jpg\" and texture file \"colour.jpg\" are "
            "incompatible! Size mismatch.";
        // The mismatch is raised inside the upload steps, so it arrives wrapped once more.
        const std::string outer = "loadAlphaTexture() - Failed to load texture and/or alpha channel. ";
        const std::string inner = "KelvoEngineException::::TextureException::" + text +
                                  "BlendableTextureException::" + text;
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::TextureException::" + outer + inner +
                                      "BlendableTextureException::" + outer + inner);
    }
    EXPECT_EQ(texture.getTextureId(), 0u);

    // A missing alpha companion is the decoder's own failure, passed on unchanged.
    EXPECT_THROW(texture.loadTexture("colour.jpg"), JPEGLoaderException);
}

TEST_F(TextureTest, EnvironmentTextureGeneratesSphereMapCoordinates)
{
    writeSolid("env.jpg", 8, 8, {9, 9, 9});
    EnvironmentTexture texture;
    EXPECT_EQ(texture.getEnvMode(), GL_ADD);
    texture.loadTexture("env.jpg");
    texture.enable();
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_ADD);
    for (GLenum coord : {GL_S, GL_T}) {
        GLint gen = 0;
        glGetTexGeniv(coord, GL_TEXTURE_GEN_MODE, &gen);
        EXPECT_EQ(gen, GL_SPHERE_MAP);
    }
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
    texture.disable();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
}
