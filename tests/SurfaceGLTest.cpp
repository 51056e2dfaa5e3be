#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL/SDL.h>

#include <string>
#include <vector>

#include "Environment.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "Material.h"
#include "ResourceLoader.h"
#include "SceneViews.h"
#include "Surface.h"
#include "TestSupport.h"
#include "Texture.h"
#include "ViewStateCheck.h"

// Materials and surfaces on the shared window: what they send is read back from OpenGL, and
// quads drawn with them are read back from the back buffer.
namespace {
const std::vector<unsigned char> RED = {255, 0, 0};
const std::vector<unsigned char> BLUE = {0, 0, 255};

void expectColour(const float* actual, float r, float g, float b, float a, const std::string& what)
{
    EXPECT_FLOAT_EQ(actual[0], r) << what;
    EXPECT_FLOAT_EQ(actual[1], g) << what;
    EXPECT_FLOAT_EQ(actual[2], b) << what;
    EXPECT_FLOAT_EQ(actual[3], a) << what;
}

void expectMaterial(GLenum parameter, float r, float g, float b, float a, const std::string& what)
{
    float v[4] = {-1, -1, -1, -1};
    glGetMaterialfv(GL_FRONT, parameter, v);
    expectColour(v, r, g, b, a, what);
}

GLint boundTexture()
{
    GLint id = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &id);
    return id;
}

void activeTexture(GLenum unit)
{
    reinterpret_cast<PFNGLACTIVETEXTUREARBPROC>(SDL_GL_GetProcAddress("glActiveTextureARB"))(unit);
}

class SurfaceTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
        drainGLErrors();
        writeJpeg(path("red.jpg"), 8, 8, 3, solidPixels(8, 8, RED));
        writeJpeg(path("blue.jpg"), 8, 8, 3, solidPixels(8, 8, BLUE));
        enterClipSpace();
    }
    void TearDown() override
    {
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
        ResourceLoader::setResourcePath("");
        TempDirTest::TearDown();
    }

    // A quad over the whole window drawn with surface, every corner at the texture coordinate
    // (0.5, 0.5); returns the centre pixel.
    static Pixel drawQuad(Surface& surface)
    {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        surface.enable();
        glBegin(GL_QUADS);
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& c : corners) {
            surface.texCoord(0.5f, 0.5f);
            glVertex2f(c[0], c[1]);
        }
        glEnd();
        surface.disable();
        return readPixel(320, 240);
    }

    Environment scene;
};
}

TEST(Material, ShininessAndSpecularLevelAreScaledAndClamped)
{
    struct Case {
        float x, shininess;
    } shininess[] = {{0.5f, 64.0f}, {0.0f, 0.0f}, {1.0f, 128.0f}, {2.0f, 128.0f}};
    for (const Case& c : shininess) {
        Material m;
        m.setShininess(c.x);
        EXPECT_FLOAT_EQ(m.getShininess(), c.shininess) << c.x;
    }
    struct Level {
        float x, level;
    } levels[] = {{0.5f, 0.5f}, {3.0f, 1.0f}};
    for (const Level& c : levels) {
        Material m;
        m.setSpecularLevel(c.x);
        EXPECT_FLOAT_EQ(m.getSpecularLevel(), c.level) << c.x;
        EXPECT_FLOAT_EQ(m.getSpecular().a, c.level) << "the specular alpha follows the level";
    }
}

TEST(Material, ApplySendsTheColourAndTheFrontMaterialWithTheSpecularScaled)
{
    drainGLErrors();
    Material plain;
    plain.apply();
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    expectColour(colour, 1, 1, 1, 1, "default colour");
    expectMaterial(GL_AMBIENT, 0.2f, 0.2f, 0.2f, 1, "default ambient");
    expectMaterial(GL_DIFFUSE, 0.8f, 0.8f, 0.8f, 1, "default diffuse");
    expectMaterial(GL_SPECULAR, 0, 0, 0, 1, "default specular");
    expectMaterial(GL_EMISSION, 0, 0, 0, 1, "default emission");
    float shininess = -1;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_FLOAT_EQ(shininess, 32.0f);

    Material shiny;
    shiny.setColor(RGBA(0.1f, 0.2f, 0.3f, 0.4f));
    shiny.setAmbient(RGBA(0.5f, 0.0f, 0.0f, 1.0f));
    shiny.setDiffuse(RGBA(0.0f, 0.5f, 0.0f, 0.5f));
    shiny.setEmission(RGBA(0.0f, 0.0f, 0.25f, 1.0f));
    shiny.setSpecular(RGBA(1.0f, 0.5f, 0.25f, 1.0f));
    shiny.setSpecularLevel(0.5f);
    shiny.setShininess(0.25f);
    shiny.apply();
    glGetFloatv(GL_CURRENT_COLOR, colour);
    expectColour(colour, 0.1f, 0.2f, 0.3f, 0.4f, "colour");
    expectMaterial(GL_AMBIENT, 0.5f, 0, 0, 1, "ambient");
    expectMaterial(GL_DIFFUSE, 0, 0.5f, 0, 0.5f, "diffuse");
    expectMaterial(GL_EMISSION, 0, 0, 0.25f, 1, "emission");
    expectMaterial(GL_SPECULAR, 0.5f, 0.25f, 0.125f, 1, "specular times its level, alpha 1");
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_FLOAT_EQ(shininess, 32.0f);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(SurfaceTest, SurfacesAddingOneFileShareOneTextureLoadedOnce)
{
    Surface first(&scene);
    Surface second(&scene);
    first.addTexture("red.jpg");
    // Loaded once: the second surface finds it even after the file is gone.
    std::remove(path("red.jpg").c_str());
    second.setName("named");
    second.addTexture("red.jpg");
    EXPECT_EQ(scene.getTextureManager().size(), 1);
    ASSERT_EQ(first.getTextures().size(), 1u);
    ASSERT_EQ(second.getTextures().size(), 1u);
    EXPECT_EQ(first.getTextures()[0], second.getTextures()[0]);
    EXPECT_NE(first.getTextures()[0]->getTextureId(), 0u);
    EXPECT_EQ(first.getName(), "red.jpg") << "an unnamed surface takes the file's name";
    EXPECT_EQ(second.getName(), "named");
}

TEST_F(SurfaceTest, FailedLoadLeavesTheSurfaceUnchangedAndTheTextureOutOfTheManager)
{
    // The second try fails as the first did, instead of taking a texture that never loaded.
    Surface surface(&scene);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            surface.addTexture("missing.jpg");
            FAIL() << "no such file";
        } catch (SurfaceException& e) {
            EXPECT_EQ(e.getMessage(), "KelvoEngineException::::SurfaceException::addTexture() - Failed to create or "
                                      "load new Texture. KelvoEngineException::::TextureException::loadTexture() - "
                                      "Failed to load \"missing.jpg\". Exception: KelvoEngineException::::"
                                      "JPEGLoaderException::JPEGLoader() - Can't open jpeg resource \"missing.jpg\". "
                                      "Failed to open the resource. File \"" +
                                          temp->path() + "/missing.jpg\": file not found.")
                << "attempt " << attempt;
        }
        EXPECT_TRUE(surface.getTextures().empty()) << "attempt " << attempt;
        EXPECT_FALSE(scene.getTextureManager().exists("missing.jpg")) << "attempt " << attempt;
    }
}

TEST_F(SurfaceTest, AddingATextureObjectNamesAnUnnamedSurfaceAfterIt)
{
    Texture* texture = scene.getTextureManager().createTexture("sky");
    Surface surface(&scene);
    surface.addTexture(texture);
    EXPECT_EQ(surface.getName(), "sky");
    surface.addTexture(texture);
    EXPECT_EQ(surface.getTextures().size(), 2u);
}

TEST_F(SurfaceTest, EnablingAnotherSurfaceDisablesTheCurrentOneFirst)
{
    Surface a(&scene);
    Surface b(&scene);
    a.addTexture("red.jpg");
    b.getMaterial().setColor(RGBA(0.0f, 1.0f, 0.0f, 1.0f));
    a.enable();
    EXPECT_TRUE(a.isActive());
    EXPECT_EQ(scene.getCurrentSurface(), &a);
    EXPECT_EQ(boundTexture(), static_cast<GLint>(a.getTextures()[0]->getTextureId()));

    b.enable();
    EXPECT_FALSE(a.isActive());
    EXPECT_TRUE(b.isActive());
    EXPECT_EQ(scene.getCurrentSurface(), &b);
    EXPECT_EQ(boundTexture(), 0);

    // Enabling the active surface again sends nothing: the colour set since stays.
    glColor3f(0.0f, 0.0f, 1.0f);
    b.enable();
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    expectColour(colour, 0, 0, 1, 1, "not applied again");

    b.disable();
    EXPECT_FALSE(b.isActive());
    EXPECT_EQ(scene.getCurrentSurface(), nullptr);
}

TEST_F(SurfaceTest, OneTextureIsBoundOnEnableAndUnboundOnDisableWithTexturingLeftOn)
{
    Surface surface(&scene);
    surface.addTexture("red.jpg");
    glDisable(GL_TEXTURE_2D);
    Pixel p = drawQuad(surface);
    EXPECT_TRUE(closeColour(p, {255, 0, 0})) << "white material colour times the red texture";
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(boundTexture(), 0);
    float coordinates[4];
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coordinates);
    EXPECT_FLOAT_EQ(coordinates[0], 0.5f);
    EXPECT_FLOAT_EQ(coordinates[1], 0.5f);
}

TEST_F(SurfaceTest, UntexturedSurfaceShowsNoTextureLeftBoundByAnotherObject)
{
    Texture* blue = scene.getTextureManager().createTexture("blue.jpg");
    blue->loadTexture("blue.jpg");
    glEnable(GL_TEXTURE_2D);
    blue->enable();

    Surface green(&scene);
    green.getMaterial().setColor(RGBA(0.0f, 1.0f, 0.0f, 1.0f));
    Pixel p = drawQuad(green);
    EXPECT_TRUE(closeColour(p, {0, 255, 0}, 0)) << "green, not green times blue";
}

TEST_F(SurfaceTest, SeveralTexturesGoToOneUnitEachAndGetTheSameCoordinates)
{
    Surface surface(&scene);
    ASSERT_GE(surface.getTextureUnits(), 2) << "the driver multitextures";
    surface.addTexture("red.jpg");
    surface.addTexture("blue.jpg");
    surface.enable();
    surface.texCoord(0.25f, 0.75f);
    const GLuint ids[2] = {surface.getTextures()[0]->getTextureId(), surface.getTextures()[1]->getTextureId()};
    for (int unit = 0; unit < 2; ++unit) {
        activeTexture(GL_TEXTURE0_ARB + unit);
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << unit;
        EXPECT_EQ(boundTexture(), static_cast<GLint>(ids[unit])) << unit;
        float coordinates[4];
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coordinates);
        EXPECT_FLOAT_EQ(coordinates[0], 0.25f) << unit;
        EXPECT_FLOAT_EQ(coordinates[1], 0.75f) << unit;
    }
    activeTexture(GL_TEXTURE0_ARB);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    surface.disable();
    EXPECT_EQ(active, GL_TEXTURE0_ARB) << "unit 0 is active again after enable";
    for (int unit = 0; unit < 2; ++unit) {
        activeTexture(GL_TEXTURE0_ARB + unit);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << unit;
    }
    activeTexture(GL_TEXTURE0_ARB);
}

TEST_F(SurfaceTest, TexturesBeyondTheUnitCountAreIgnored)
{
    Surface surface(&scene);
    const int units = surface.getTextureUnits();
    ASSERT_GE(units, 2);
    Texture* texture = scene.getTextureManager().createTexture("red.jpg");
    texture->loadTexture("red.jpg");
    for (int i = 0; i <= units; ++i)
        surface.addTexture(texture);
    surface.enable();
    surface.texCoord(0.5f, 0.5f);
    surface.disable();
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR)) << "no unit past the last one was addressed";
}

TEST_F(SurfaceTest, CopyRefersToTheSameTexturesWithItsOwnMaterial)
{
    Surface surface(&scene);
    surface.setName("stone");
    surface.addTexture("red.jpg");
    surface.setTextureCenter(Vector(1, 2, 3));
    surface.setTextureSize(Vector(4, 5, 6));
    Surface copy(surface);
    copy.getMaterial().setShininess(0.0f);
    EXPECT_EQ(copy.getName(), "stone");
    EXPECT_EQ(copy.getTextures(), surface.getTextures());
    EXPECT_FLOAT_EQ(copy.getTextureSize().y, 5.0f);
    EXPECT_FLOAT_EQ(copy.getTextureCenter().z, 3.0f);
    EXPECT_FLOAT_EQ(surface.getMaterial().getShininess(), 32.0f);
}
