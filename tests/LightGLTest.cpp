#include <gtest/gtest.h>

#include <GL/gl.h>

#include <string>

#include "Environment.h"
#include "GLEnvironment.h"
#include "Keyframer.h"
#include "Light.h"
#include "TestSupport.h"

// Lights of a scene on the shared window; what they send is read back with glGetLightfv. OpenGL
// stores a light's position and spot direction in the eye coordinates of the modelview current when
// they are sent.
namespace {
const float SENTINEL[4] = {0.25f, 0.5f, 0.75f, 0.125f};

class LightTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        drainGLErrors();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // Values no light sends, so that a read-back shows what the light under test sent.
        for (GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
            glLightfv(light, GL_POSITION, SENTINEL);
            glLightfv(light, GL_AMBIENT, SENTINEL);
            glLightfv(light, GL_DIFFUSE, SENTINEL);
            glLightfv(light, GL_SPECULAR, SENTINEL);
            const float up[3] = {0.0f, 1.0f, 0.0f};
            glLightfv(light, GL_SPOT_DIRECTION, up);
            glLightf(light, GL_SPOT_EXPONENT, 7.0f);
            glLightf(light, GL_SPOT_CUTOFF, 45.0f);
            glDisable(light);
        }
    }
    void TearDown() override
    {
        glDisable(GL_LIGHT0);
        glDisable(GL_LIGHT1);
        glLoadIdentity();
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
    }

    static void expectLight(GLenum light, GLenum parameter, float a, float b, float c, float d, const char* what)
    {
        float v[4] = {-1, -1, -1, -1};
        glGetLightfv(light, parameter, v);
        EXPECT_FLOAT_EQ(v[0], a) << what;
        EXPECT_FLOAT_EQ(v[1], b) << what;
        EXPECT_FLOAT_EQ(v[2], c) << what;
        if (parameter != GL_SPOT_DIRECTION) {
            EXPECT_FLOAT_EQ(v[3], d) << what;
        }
    }
    static float lightValue(GLenum light, GLenum parameter)
    {
        float v = -1.0f;
        glGetLightfv(light, parameter, &v);
        return v;
    }

    Environment scene;
};

// A keyframer that stays at one position.
Keyframer* keyframerAt(Environment& scene, const Vector& position)
{
    Keyframer* k = scene.getKeyframerController().createKeyframer();
    k->addPositionKey(0.0f, position, 0.0f, 0.0f, 0.0f);
    return k;
}
}

TEST_F(LightTest, LightMadeByNameOnlyIsAWhitePointLightAtTheOriginWithoutAmbient)
{
    Light* light = scene.getLights().create("lamp", &scene);
    EXPECT_EQ(light->getName(), "lamp");
    EXPECT_FALSE(light->isInitialized());
    LogCapture log;
    light->enable(0.0);
    EXPECT_EQ(log.text(), "[info] light::enable() - Not initialized. Initializing..\n");
    EXPECT_EQ(light->getLightId(), GL_LIGHT0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    expectLight(GL_LIGHT0, GL_POSITION, 0, 0, 0, 1, "position");
    expectLight(GL_LIGHT0, GL_AMBIENT, 0, 0, 0, 1, "ambient");
    expectLight(GL_LIGHT0, GL_DIFFUSE, 1, 1, 1, 1, "diffuse");
    expectLight(GL_LIGHT0, GL_SPECULAR, 1, 1, 1, 1, "specular");
    EXPECT_FLOAT_EQ(lightValue(GL_LIGHT0, GL_SPOT_CUTOFF), 180.0f);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(LightTest, LaterEnablesKeepTheLightNumberAndResendTheParameters)
{
    Light first(&scene);
    Light second(&scene);
    first.enable(0.0);
    second.enable(0.0);
    EXPECT_EQ(first.getLightId(), GL_LIGHT0);
    EXPECT_EQ(second.getLightId(), GL_LIGHT1);

    LogCapture log;
    first.setDiffuse(0.5f, 0.25f, 0.0f, 1.0f);
    first.enable(1.0);
    EXPECT_EQ(log.text(), "") << "initialised once";
    EXPECT_EQ(first.getLightId(), GL_LIGHT0);
    EXPECT_EQ(scene.getLightCount(), 2);
    expectLight(GL_LIGHT0, GL_DIFFUSE, 0.5f, 0.25f, 0.0f, 1.0f, "the new diffuse colour");

    first.disable();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
}

TEST_F(LightTest, PositionIsSentInTheEyeCoordinatesOfTheCurrentView)
{
    Light light(&scene);
    light.setPosition(1.0f, 2.0f, 3.0f, 1.0f);
    // As the scene's camera leaves the modelview: the eye five units back along +z.
    glTranslatef(0.0f, 0.0f, -5.0f);
    light.enable(0.0);
    expectLight(GL_LIGHT0, GL_POSITION, 1, 2, -2, 1, "moved by the view");
}

TEST_F(LightTest, KeyframedPositionReplacesTheRestPositionButKeepsW)
{
    struct Case {
        const char* what;
        float w;
    } cases[] = {{"point light", 1.0f}, {"directional light", 0.0f}};
    for (const Case& c : cases) {
        Light light(&scene);
        light.setPosition(9.0f, 9.0f, 9.0f, c.w);
        light.setKeyframer(keyframerAt(scene, Vector(1.0f, 2.0f, 3.0f)));
        light.enable(4.0);
        const GLenum id = static_cast<GLenum>(light.getLightId());
        expectLight(id, GL_POSITION, 1, 2, 3, c.w, c.what);
        light.setKeyframer(nullptr);
        light.enable(4.0);
        expectLight(id, GL_POSITION, 9, 9, 9, c.w, c.what);
    }
}

TEST_F(LightTest, OnlyASpotLightSendsItsDirectionAndExponent)
{
    struct Case {
        const char* what;
        float cutoff;
        float direction[3];
        float exponent;
    } cases[] = {
        {"cutoff 180: OpenGL keeps what it had", 180.0f, {0.0f, 1.0f, 0.0f}, 7.0f},
        {"cutoff 30: a spot light", 30.0f, {1.0f, 0.0f, 0.0f}, 3.0f},
    };
    for (const Case& c : cases) {
        Environment own;
        Light light(&own);
        light.setSpotDirection(1.0f, 0.0f, 0.0f);
        light.setSpotExponent(3.0f);
        light.setSpotCutoff(c.cutoff);
        // A target without a target keyframer is not turned into a direction.
        light.setTarget(0.0f, 0.0f, -5.0f);
        light.enable(0.0);
        expectLight(GL_LIGHT0, GL_SPOT_DIRECTION, c.direction[0], c.direction[1], c.direction[2], 0, c.what);
        EXPECT_FLOAT_EQ(lightValue(GL_LIGHT0, GL_SPOT_EXPONENT), c.exponent) << c.what;
        EXPECT_FLOAT_EQ(lightValue(GL_LIGHT0, GL_SPOT_CUTOFF), c.cutoff) << c.what;
    }
}

TEST_F(LightTest, SpotLightAimsFromItsPositionAtItsTargetKeyframer)
{
    Light light(&scene);
    light.setPosition(0.0f, 0.0f, 5.0f, 1.0f);
    light.setSpotCutoff(20.0f);
    light.setTargetKeyframer(keyframerAt(scene, Vector(0.0f, 0.0f, -5.0f)));
    light.enable(0.0);
    // Target minus position, not normalised.
    const float* d = light.getSpotDirection();
    EXPECT_FLOAT_EQ(d[0], 0.0f);
    EXPECT_FLOAT_EQ(d[1], 0.0f);
    EXPECT_FLOAT_EQ(d[2], -10.0f);
    expectLight(GL_LIGHT0, GL_SPOT_DIRECTION, 0, 0, -10, 0, "sent as it is");
}

TEST_F(LightTest, SceneWithoutFreeLightNumbersFailsTheFirstEnable)
{
    GLint maxLights = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
    for (GLint i = 0; i < maxLights; ++i)
        scene.reserveLightIndex();
    Light light(&scene);
    try {
        light.enable(0.0);
        FAIL() << "no light number left";
    } catch (EnvironmentException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::EnvironmentException::reserveLightIndex() - Maximum light "
                                  "count exceeded!\n");
    }
    EXPECT_FALSE(light.isInitialized());
    // Switching off a light without a number touches no OpenGL light.
    light.disable();
}
