#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <string>
#include <vector>

#include "Environment.h"
#include "Environment2D.h"
#include "GLEnvironment.h"
#include "SceneViews.h"
#include "StaticMesh.h"
#include "Surface.h"
#include "TestSupport.h"
#include "ViewStateCheck.h"

// The 3D scene on the shared window: its state, log lines and pixels read back from the back
// buffer.
namespace {
class EnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        drainGLErrors();
        scene.setName("space");
    }
    void TearDown() override
    {
        leaveLitScene();
    }

    // A current camera at the origin, looking down -z.
    void addCamera()
    {
        scene.stringAction("cameraController.createHpbCamera", "eye");
        scene.stringAction("cameraController.setCamera", "eye");
    }

    // As the controller renders a scene: its view, then its render.
    Pixel frame(double time)
    {
        scene.setViewState();
        scene.render(time);
        return readPixel(320, 240);
    }

    Environment scene;
};

std::string show(const Pixel& p)
{
    return "(" + std::to_string(p.r) + ", " + std::to_string(p.g) + ", " + std::to_string(p.b) + ")";
}
}

TEST_F(EnvironmentTest, NewSceneHasItsRegistriesDefaultsAndChildren)
{
    EXPECT_EQ(scene.getLights().getFactoryName(), "Factory<Light>");
    EXPECT_EQ(scene.getSurfaces().getFactoryName(), "Factory<Surface>");
    EXPECT_EQ(scene.getFaders().getFactoryName(), "Factory<Fader>");
    EXPECT_TRUE(scene.isLightingEnabled());
    EXPECT_TRUE(scene.isTexturingEnabled());
    EXPECT_EQ(scene.getLightCount(), 0);
    EXPECT_EQ(scene.getCurrentSurface(), nullptr);
    EXPECT_FALSE(scene.isInitialized());
    EXPECT_FALSE(scene.areResourcesLoaded());

    // Timeline paths reach the texture manager and the camera controller.
    scene.stringAction("textureManager.createTexture", "stone.jpg");
    EXPECT_TRUE(scene.getTextureManager().exists("stone.jpg"));
    scene.stringAction("cameraController.createTrackCamera", "track");
    EXPECT_TRUE(scene.getCameraController().exists("track"));
}

TEST_F(EnvironmentTest, FirstRenderOfASceneNeverActivatedInitializesItAndLogsTheStatistics)
{
    addCamera();
    LogCapture log;
    frame(0.0);
    const std::string text = log.text();
    std::string::size_type late = foundAt(text, "[warning] environment::render() - Not initialized. Initializing..\n");
    std::string::size_type start = foundAt(text, "[info] environment::initialize() - Initializing environment \"space\".\n");
    std::string::size_type unlit = foundAt(text, "[info] environment::initialize() - Scene has no lights, lighting is disabled.\n");
    std::string::size_type keyframers = foundAt(text, "[warning] keyframercontroller::initialize() - No keyframers available.\n");
    std::string::size_type statistics =
        foundAt(text, "[info] environment::printInfo() - Statistics: Environment \"space\" has 1 cameras, 0 meshes, 0 "
                 "actors, 0 keyframed actors, 0 lights, 0 surfaces (in library) and 0 textures. \n");
    EXPECT_LT(late, start);
    EXPECT_LT(start, unlit);
    EXPECT_LT(unlit, keyframers);
    EXPECT_LT(keyframers, statistics);
    EXPECT_TRUE(scene.isInitialized());
    EXPECT_TRUE(scene.areResourcesLoaded());
    EXPECT_FALSE(scene.isLightingEnabled());

    log.clear();
    frame(1.0);
    EXPECT_EQ(log.text(), "") << "initialised once";
}

TEST_F(EnvironmentTest, LightingIsDecidedAtInitializationFromTheLightsThatExist)
{
    struct Case {
        const char* what;
        int lights;
        bool lit;
    } cases[] = {{"no lights", 0, false}, {"one light", 1, true}};
    for (const Case& c : cases) {
        Environment own;
        own.getCameraController().createHpbCamera("eye");
        own.getCameraController().setCamera("eye");
        for (int i = 0; i < c.lights; ++i)
            own.getLights().create("lamp" + std::to_string(i), &own);
        own.initialize();
        EXPECT_EQ(own.isLightingEnabled(), c.lit) << c.what;
        EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, c.lit) << c.what;
        own.setViewState();
        own.render(0.0);
        EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, c.lit) << c.what << ", while the scene draws";
        if (c.lights > 0) {
            EXPECT_EQ(own.getLights().find("lamp0")->getLightId(), GL_LIGHT0) << c.what;
            EXPECT_TRUE(glIsEnabled(GL_LIGHT0)) << c.what;
        }
        glDisable(GL_LIGHT0);
    }

    // A light loaded after initialisation does not switch the lighting on.
    addCamera();
    scene.initialize();
    scene.getLights().create("late", &scene);
    frame(0.0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(scene.getLights().find("late")->isInitialized());
}

TEST_F(EnvironmentTest, LightsTakeTheirNumbersInNameOrderUntilGLMaxLightsAreTaken)
{
    GLint maxLights = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
    ASSERT_GE(maxLights, 8);
    addCamera();
    // Names that sort as the numbers do: l0 .. l<max>, one more than there are numbers.
    for (GLint i = 0; i <= maxLights; ++i)
        scene.getLights().create("l" + std::string(i < 10 ? "0" : "") + std::to_string(i), &scene);
    try {
        frame(0.0);
        FAIL() << "one light too many";
    } catch (EnvironmentException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::EnvironmentException::reserveLightIndex() - Maximum light "
                                  "count exceeded!\n");
    }
    for (GLint i = 0; i < maxLights; ++i) {
        const std::string name = "l" + std::string(i < 10 ? "0" : "") + std::to_string(i);
        EXPECT_EQ(scene.getLights().find(name)->getLightId(), GL_LIGHT0 + i) << name;
    }
    EXPECT_EQ(scene.getLightCount(), maxLights);
}

TEST_F(EnvironmentTest, LightNumbersAreGivenBackAsAStack)
{
    EXPECT_EQ(scene.reserveLightIndex(), GL_LIGHT0);
    EXPECT_EQ(scene.reserveLightIndex(), GL_LIGHT0 + 1);
    glEnable(GL_LIGHT1);
    scene.releaseLightIndex(GL_LIGHT0 + 1);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_EQ(scene.getLightCount(), 1);
    EXPECT_EQ(scene.reserveLightIndex(), GL_LIGHT0 + 1);

    // Giving back more than was taken, or a value that names no light, leaves no GL error and no
    // negative count behind.
    scene.releaseLightIndex(GL_LIGHT0 + 1);
    scene.releaseLightIndex(GL_LIGHT0);
    scene.releaseLightIndex(GL_LIGHT0);
    scene.releaseLightIndex(12345);
    EXPECT_EQ(scene.getLightCount(), 0);
    EXPECT_EQ(scene.reserveLightIndex(), GL_LIGHT0);
}

TEST_F(EnvironmentTest, NoCurrentCameraFailsTheRenderNamingTheSceneWhatIsMissingAndTheAction)
{
    const std::string set = ". The action \"space.cameraController.setCamera\" sets one. "
                            "KelvoEngineException::::Factory<CameraController>Exception::find() - Unable to find "
                            "component \"";
    struct Case {
        const char* current;  // nullptr: never set
        std::string message;
    } cases[] = {
        {nullptr, "no camera was set" + set + "\"."},
        {"ghost", "its current camera \"ghost\" names none of the scene's cameras" + set + "ghost\"."},
    };
    for (const Case& c : cases) {
        if (c.current)
            scene.getCameraController().setCamera(c.current);
        try {
            frame(0.0);
            ADD_FAILURE() << "no camera";
        } catch (ComponentNotFoundException& e) {
            EXPECT_EQ(e.getMessage(), "KelvoEngineException::::EnvironmentException::render() - Environment \"space\" "
                                      "has no camera to draw through: " +
                                          c.message);
        }
    }
}

TEST_F(EnvironmentTest, BackgroundColourClearsTheWindowAndAnInvalidTextKeepsIt)
{
    addCamera();
    Pixel p = frame(0.0);
    EXPECT_TRUE(closeColour(p, {0, 0, 0}, 0)) << "black until a colour is set: " << show(p);

    scene.stringAction("setBackgroundColor", "#0080ff");
    p = frame(0.0);
    EXPECT_TRUE(closeColour(p, {0, 128, 255}, 0)) << show(p);

    try {
        scene.stringAction("setBackgroundColor", "blue");
        FAIL() << "not a colour text";
    } catch (EnvironmentException& e) {
        EXPECT_EQ(e.getMessage().find("KelvoEngineException::::EnvironmentException::setBackgroundColor() - Failed to "
                                      "set background color. "),
                  0u)
            << e.getMessage();
    }
    p = frame(0.0);
    EXPECT_TRUE(closeColour(p, {0, 128, 255}, 0)) << show(p);
}

TEST_F(EnvironmentTest, FadersDrawInNameOrderOverTheScene)
{
    addCamera();
    scene.stringAction("setBackgroundColor", "#ffffff");
    scene.stringAction("createFader", "b");
    scene.stringAction("createFader", "a");
    // a: opaque red; b: half-transparent blue, drawn after a because it sorts after it.
    scene.stringAction("a.setColor", "#ff0000");
    scene.floatAction("a.setEndAlpha", 1.0f);
    scene.stringAction("b.setColor", "#0000ff");
    scene.floatAction("b.setStartAlpha", 0.5f);
    scene.floatAction("b.setEndAlpha", 0.5f);
    Pixel p = frame(1.0);
    EXPECT_TRUE(closeColour(p, {128, 0, 128}, 2)) << show(p);
    EXPECT_EQ(scene.getFaders().find("a")->getName(), "a");
}

TEST_F(EnvironmentTest, FaderOverALitSceneHasItsOwnColour)
{
    addCamera();
    scene.getLights().create("lamp", &scene);
    scene.stringAction("setBackgroundColor", "#ffffff");
    scene.stringAction("createFader", "fade");
    // Half way through the default fade: black at alpha 0.5 over white.
    Pixel p = frame(1.0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(closeColour(p, {128, 128, 128}, 2)) << show(p);
}

TEST_F(EnvironmentTest, CreatingAFaderTwiceFailsWithTheFactorysMessage)
{
    scene.createFader("fade");
    try {
        scene.stringAction("createFader", "fade");
        FAIL() << "the name is taken";
    } catch (EnvironmentException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::EnvironmentException::createFader() - Failed to create "
                                  "Fader. Exception message:KelvoEngineException::::Factory<Fader>Exception::create() "
                                  "- Unable to create new component. Component \"fade\" already exists in this "
                                  "factory!.");
    }
    EXPECT_EQ(scene.getFaders().size(), 1);
}

TEST_F(EnvironmentTest, ViewStateIsTheScenesOwnWhateverRanBefore)
{
    addCamera();
    scene.getLights().create("lamp", &scene);
    scene.setAmbient(0.3f, 0.2f, 0.1f);
    scene.stringAction("setBackgroundColor", "#204060");
    frame(0.0);

    struct Case {
        const char* what;
        float fovy, aspect, zNear, zFar;
    } cases[] = {{"start-up defaults", 45.0f, 640.0f / 480.0f, 1.0f, 300.0f},
                 {"the command line's planes", 45.0f, 640.0f / 480.0f, 0.5f, 1000.0f}};
    for (const Case& c : cases) {
        if (c.zNear != 1.0f)
            scene.setPerspective(c.fovy, c.aspect, c.zNear, c.zFar);
        // A 2D scene drew in between.
        Environment2D flat;
        flat.setViewState();
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glShadeModel(GL_FLAT);
        const float dark[4] = {0, 0, 0, 1};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, dark);

        scene.setViewState();
        float expected[16];
        float projection[16];
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPerspective(c.fovy, c.aspect, c.zNear, c.zFar);
        glGetFloatv(GL_PROJECTION_MATRIX, expected);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        for (int i = 0; i < 16; ++i)
            EXPECT_FLOAT_EQ(projection[i], expected[i]) << c.what << ", element " << i;
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW) << c.what;
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << c.what;
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << c.what << ": the scene has a light";
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << c.what;
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << c.what;
        GLint src = 0, dst = 0, shade = 0;
        glGetIntegerv(GL_BLEND_SRC, &src);
        glGetIntegerv(GL_BLEND_DST, &dst);
        glGetIntegerv(GL_SHADE_MODEL, &shade);
        EXPECT_EQ(src, GL_SRC_ALPHA) << c.what;
        EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA) << c.what;
        EXPECT_EQ(shade, GL_SMOOTH) << c.what;
        float ambient[4], clear[4];
        glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
        EXPECT_FLOAT_EQ(ambient[0], 0.3f) << c.what;
        EXPECT_FLOAT_EQ(ambient[1], 0.2f) << c.what;
        EXPECT_FLOAT_EQ(ambient[2], 0.1f) << c.what;
        EXPECT_FLOAT_EQ(ambient[3], 1.0f) << c.what;
        EXPECT_FLOAT_EQ(clear[0], 0x20 / 255.0f) << c.what;
        EXPECT_FLOAT_EQ(clear[1], 0x40 / 255.0f) << c.what;
        EXPECT_FLOAT_EQ(clear[2], 0x60 / 255.0f) << c.what;

        scene.render(0.0);
        EXPECT_TRUE(closeColour(readPixel(320, 240), {0x20, 0x40, 0x60}, 0)) << c.what;
    }
}

TEST_F(EnvironmentTest, UnlitSceneDrawsWithLightingOffAfterALitOne)
{
    Environment lit;
    lit.getCameraController().createHpbCamera("eye");
    lit.getCameraController().setCamera("eye");
    lit.getLights().create("lamp", &lit);
    lit.setViewState();
    lit.render(0.0);
    ASSERT_TRUE(glIsEnabled(GL_LIGHTING));

    addCamera();
    frame(0.0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    scene.setViewState();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "the switch decided at initialisation";
}

TEST_F(EnvironmentTest, LightsOfAnotherSceneAreOffWhileThisOneDraws)
{
    // Both scenes number their lights from GL_LIGHT0; the first has two, this one one.
    Environment other;
    other.getCameraController().createHpbCamera("eye");
    other.getCameraController().setCamera("eye");
    other.getLights().create("a", &other);
    other.getLights().create("b", &other);
    other.setViewState();
    other.render(0.0);
    ASSERT_TRUE(glIsEnabled(GL_LIGHT1));

    addCamera();
    scene.getLights().create("lamp", &scene);
    frame(0.0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1)) << "the other scene's second light";

    other.setViewState();
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0)) << "its own numbers are left to its render";
    other.render(0.0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
}

TEST_F(EnvironmentTest, TexturingHelpersSwitchLightingWithTexturingOnlyWhileTheSceneIsLit)
{
    struct Case {
        const char* what;
        bool lighting;
    } cases[] = {{"lit scene", true}, {"unlit scene", false}};
    for (const Case& c : cases) {
        scene.setLightingEnabled(c.lighting);
        glEnable(GL_LIGHTING);
        scene.disableTexturing();
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << c.what;
        EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, !c.lighting) << c.what;
        EXPECT_FALSE(scene.isTexturingEnabled()) << c.what;

        glDisable(GL_LIGHTING);
        scene.enableTexturing();
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << c.what;
        EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, c.lighting) << c.what;
        EXPECT_TRUE(scene.isTexturingEnabled()) << c.what;
    }
}

TEST_F(EnvironmentTest, MeshIsLitByTheScenesLightsOrDrawnInItsColourWithoutThem)
{
    // A red square two units wide, five units in front of the camera at the origin, facing it.
    // Lit, the default material's diffuse 0.8 times the light's cosine at the corners plus the
    // global ambient 0.1 times the material's ambient 0.2; the specular part is 0.
    struct Case {
        const char* what;
        bool light;
        float position[4];  // where the light is, in the camera's (identity) view
        int grey;
    } cases[] = {
        {"no light: unlit, the material's colour", false, {0, 0, 0, 1}, -1},
        {"directional light from behind the eye", true, {0, 0, 1, 0}, 209},   // 0.02 + 0.8 * 1
        {"point light at the eye", true, {0, 0, 0, 1}, 201},                  // 0.02 + 0.8 * 5 / sqrt(27)
    };
    for (const Case& c : cases) {
        Environment own;
        own.getCameraController().createHpbCamera("eye");
        own.getCameraController().setCamera("eye");
        if (c.light)
            own.getLights().create("lamp", &own)->setPosition(c.position[0], c.position[1], c.position[2],
                                                               c.position[3]);
        StaticMesh mesh(&own);
        Surface* red = mesh.getSurfaces().store("red", std::make_unique<Surface>(&own));
        red->getMaterial().setColor(RGBA(1, 0, 0, 1));
        mesh.addTriangle(Vector(-1, -1, -5), Vector(1, -1, -5), Vector(1, 1, -5));
        mesh.addTriangle(Vector(-1, -1, -5), Vector(1, 1, -5), Vector(-1, 1, -5));
        mesh.setSurfaceName("red");

        own.setViewState();
        own.render(0.0);
        mesh.render(0.0);
        const Pixel centre = readPixel(320, 240);
        if (c.grey < 0)
            EXPECT_TRUE(closeColour(centre, {255, 0, 0}, 0)) << c.what << ": " << show(centre);
        else
            EXPECT_TRUE(closeColour(centre, {c.grey, c.grey, c.grey}, 1)) << c.what << ": " << show(centre);
        // Outside the square: the clear colour.
        EXPECT_TRUE(closeColour(readPixel(20, 20), {0, 0, 0}, 0)) << c.what;
        EXPECT_EQ(glIsEnabled(GL_LIGHTING) == GL_TRUE, c.light) << c.what;
        glDisable(GL_LIGHT0);
    }
}
