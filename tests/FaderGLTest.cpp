#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <limits>
#include <string>

#include "Fader.h"
#include "GLEnvironment.h"
#include "Pixels.h"
#include "TestSupport.h"

// Faders drawn over a white window; the pixels are read back from the back buffer.
namespace {
class FaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        drainGLErrors();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        white();
    }
    void TearDown() override
    {
        glDisable(GL_TEXTURE_2D);
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
    }

    static void white()
    {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // Draws the fader over a white window at time and reads the centre.
    static Pixel drawnAt(Fader& fader, double time)
    {
        white();
        fader.render(time);
        return readPixel();
    }

    static bool isWhite(const Pixel& p) { return p.r == 255 && p.g == 255 && p.b == 255; }
};

// Grey level of white under black at alpha a.
int greyUnder(double a)
{
    return static_cast<int>(std::lround(255.0 * (1.0 - a)));
}
}

TEST_F(FaderTest, DefaultFaderAtHalfTimeOverWhiteIsHalfGrey)
{
    Fader fader(0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 2.0f);
    Pixel p = drawnAt(fader, 1.0);
    EXPECT_NEAR(p.r, 128, 2);
    EXPECT_NEAR(p.g, 128, 2);
    EXPECT_NEAR(p.b, 128, 2);
    EXPECT_FLOAT_EQ(fader.getCurrentAlpha(), 0.5f);
    // The whole window is covered: corners too.
    Pixel corner = readPixel(0, 0);
    EXPECT_NEAR(corner.r, 128, 2);
    corner = readPixel(639, 479);
    EXPECT_NEAR(corner.r, 128, 2);
}

TEST_F(FaderTest, DefaultFaderRampsFromOpaqueToTransparentThenSwitchesItselfOff)
{
    Fader fader(0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 2.0f);
    Pixel p = drawnAt(fader, 0.0);
    EXPECT_NEAR(p.r, 0, 1);
    p = drawnAt(fader, 0.5);
    EXPECT_FLOAT_EQ(fader.getCurrentAlpha(), 0.75f);
    EXPECT_NEAR(p.r, greyUnder(0.75), 2);
    EXPECT_NEAR(p.g, greyUnder(0.75), 2);
    p = drawnAt(fader, 2.0);
    EXPECT_TRUE(fader.isEnabled()) << "the end time itself still draws";
    EXPECT_FLOAT_EQ(fader.getCurrentAlpha(), 0.0f);
    EXPECT_TRUE(isWhite(p));
    drawnAt(fader, 2.01);
    EXPECT_FALSE(fader.isEnabled()) << "disables itself after its end";
    EXPECT_FLOAT_EQ(fader.getCurrentAlpha(), 0.0f) << "a disabled fader computes nothing";
    // Stays off, even when the clock goes back into the ramp...
    p = drawnAt(fader, 1.0);
    EXPECT_TRUE(isWhite(p));
    EXPECT_FALSE(fader.isEnabled());
    // ...until "enable" re-arms it; with unchanged times the next render after the end disables it
    // again.
    fader.action("enable");
    p = drawnAt(fader, 1.0);
    EXPECT_NEAR(p.r, 128, 2);
    drawnAt(fader, 3.0);
    EXPECT_FALSE(fader.isEnabled());
}

TEST_F(FaderTest, FadeToANonZeroAlphaHoldsItsEndAlphaAndStaysEnabled)
{
    Fader fader(0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 2.0f);
    fader.floatAction("setStartAlpha", 0.0f);
    fader.floatAction("setEndAlpha", 1.0f);
    fader.floatAction("setStartTime", 10.0f);
    fader.floatAction("setDuration", 4.0f);
    EXPECT_TRUE(isWhite(drawnAt(fader, 0.0)));
    EXPECT_TRUE(isWhite(drawnAt(fader, 9.99)));
    Pixel p = drawnAt(fader, 12.0);
    EXPECT_FLOAT_EQ(fader.getCurrentAlpha(), 0.5f);
    EXPECT_NEAR(p.r, 128, 2);
    p = drawnAt(fader, 20.0);
    EXPECT_FLOAT_EQ(fader.getCurrentAlpha(), 1.0f) << "held at the end";
    EXPECT_EQ(p.r, 0) << "drawn fully opaque";
    EXPECT_TRUE(fader.isEnabled());
}

// Fades to a partial alpha, each read at its end, one second after it and long after: the quad
// stays as covered as its end alpha, never more.
TEST_F(FaderTest, AFadeToAPartialAlphaHoldsItAfterItsEnd)
{
    const struct {
        const char* what;
        float startAlpha, endAlpha, startTime, duration;
    } fades[] = {
        {"0 to 0.5 over 2 s", 0.0f, 0.5f, 0.0f, 2.0f},
        {"1 to 0.25 over 4 s from 3 s", 1.0f, 0.25f, 3.0f, 4.0f},
        {"0.2 to 0.6 over 0.5 s from 1 s", 0.2f, 0.6f, 1.0f, 0.5f},
    };
    for (const auto& f : fades) {
        Fader fader(0.0f, 0.0f, 0.0f, f.startAlpha, f.endAlpha, f.startTime, f.duration);
        const double end = f.startTime + f.duration;
        for (double after : {0.0, 1.0, 2.0 * f.duration + 10.0}) {
            const Pixel p = drawnAt(fader, end + after);
            EXPECT_FLOAT_EQ(fader.getCurrentAlpha(), f.endAlpha) << f.what << ", " << after << " s after the end";
            EXPECT_NEAR(p.r, greyUnder(f.endAlpha), 2) << f.what << ", " << after << " s after the end";
            EXPECT_NEAR(p.b, greyUnder(f.endAlpha), 2) << f.what << ", " << after << " s after the end";
            EXPECT_TRUE(fader.isEnabled()) << f.what;
        }
    }
}

TEST_F(FaderTest, AlphaSettersGiveTheSameRampInEitherOrder)
{
    Fader a(0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 2.0f);
    Fader b(0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 2.0f);
    a.setStartAlpha(0.2f);
    a.setEndAlpha(0.6f);
    b.setEndAlpha(0.6f);
    b.setStartAlpha(0.2f);
    EXPECT_FLOAT_EQ(a.getAlphaSpan(), 0.4f);
    EXPECT_FLOAT_EQ(b.getAlphaSpan(), 0.4f);
    for (double t : {0.0, 0.5, 1.0, 1.5, 2.0}) {
        a.render(t);
        b.render(t);
        EXPECT_FLOAT_EQ(a.getCurrentAlpha(), b.getCurrentAlpha()) << t;
    }
    EXPECT_FLOAT_EQ(a.getCurrentAlpha(), 0.6f);
}

TEST_F(FaderTest, SetColorTakesTheColourAndIgnoresTheTextsAlpha)
{
    Fader fader(0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 2.0f);
    fader.stringAction("setColor", "#ff000080");
    EXPECT_FLOAT_EQ(fader.getRed(), 1.0f);
    EXPECT_FLOAT_EQ(fader.getGreen(), 0.0f);
    EXPECT_FLOAT_EQ(fader.getBlue(), 0.0f);
    Pixel p = drawnAt(fader, 0.0);
    EXPECT_EQ(p.r, 255);
    EXPECT_EQ(p.g, 0) << "opaque at the ramp's start, not at the text's alpha 0x80";
    EXPECT_EQ(p.b, 0);
    p = drawnAt(fader, 1.0);
    EXPECT_EQ(p.r, 255);
    EXPECT_NEAR(p.g, 128, 2);
    EXPECT_NEAR(p.b, 128, 2);
    fader.stringAction("setColor", "#336699");
    EXPECT_NEAR(fader.getRed(), 0.2f, 1e-6);
    EXPECT_NEAR(fader.getGreen(), 0.4f, 1e-6);
    EXPECT_NEAR(fader.getBlue(), 0.6f, 1e-6);
}

TEST_F(FaderTest, InvalidColourFailsAndKeepsTheColour)
{
    Fader fader(0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 2.0f);
    fader.setColor(0.0f, 1.0f, 0.0f);
    for (const char* text : {"red", "#12345", "", "#gg0000"}) {
        LogCapture log;
        try {
            fader.stringAction("setColor", text);
            ADD_FAILURE() << "no exception for \"" << text << "\"";
        } catch (FaderException& e) {
            std::string message = e.getMessage();
            EXPECT_EQ(message.find("KelvoEngineException::::FaderException::KelvoEngineException::::"
                                   "InvalidColorFormatException::"),
                      0u)
                << message;
        }
        EXPECT_EQ(log.errors(), 0) << "nothing logged";
        EXPECT_FLOAT_EQ(fader.getRed(), 0.0f);
        EXPECT_FLOAT_EQ(fader.getGreen(), 1.0f);
        EXPECT_FLOAT_EQ(fader.getBlue(), 0.0f);
    }
}

TEST_F(FaderTest, ZeroDurationShowsTheEndAlphaFromTheStartTime)
{
    Fader fader(0.0f, 0.0f, 0.0f, 0.0f, 0.75f, 5.0f, 0.0f);
    EXPECT_TRUE(isWhite(drawnAt(fader, 4.0)));
    Pixel p = drawnAt(fader, 5.0);
    EXPECT_FLOAT_EQ(fader.getCurrentAlpha(), 0.75f);
    EXPECT_NEAR(p.r, greyUnder(0.75), 2);
    p = drawnAt(fader, 9.0);
    EXPECT_FLOAT_EQ(fader.getCurrentAlpha(), 0.75f);
    EXPECT_TRUE(fader.isEnabled());

    // A cut to transparent: alpha 0 at its time, off after it.
    Fader cut(0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 5.0f, 0.0f);
    EXPECT_TRUE(isWhite(drawnAt(cut, 5.0)));
    EXPECT_FLOAT_EQ(cut.getCurrentAlpha(), 0.0f);
    EXPECT_FALSE(std::isnan(cut.getCurrentAlpha()));
    drawnAt(cut, 5.5);
    EXPECT_FALSE(cut.isEnabled());
}

TEST_F(FaderTest, DisabledFaderDrawsNothing)
{
    Fader fader(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 2.0f);
    fader.action("disable");
    EXPECT_FALSE(fader.isEnabled());
    EXPECT_TRUE(isWhite(drawnAt(fader, 1.0)));
    fader.action("enable");
    EXPECT_EQ(drawnAt(fader, 1.0).r, 0);
}

TEST_F(FaderTest, TextureLeftBoundDoesNotTintTheQuadAndTexturingIsRestored)
{
    // A blue texture, bound and enabled as the last sprite of a scene leaves it.
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    const unsigned char blue[2 * 2 * 3] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255};
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, blue);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);

    Fader fader(1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 2.0f);
    Pixel p = drawnAt(fader, 1.0);
    EXPECT_EQ(p.r, 255) << "red, not red modulated by blue";
    EXPECT_EQ(p.g, 0);
    EXPECT_EQ(p.b, 0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "the enable state it found";

    glDisable(GL_TEXTURE_2D);
    drawnAt(fader, 1.0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glDeleteTextures(1, &id);
}

TEST_F(FaderTest, LitDepthTestedSceneDoesNotChangeTheQuadAndKeepsItsState)
{
    // As a lit 3D scene leaves it: one white light, and a green quad in front of the fader's depth
    // (with the identity projection, z = -0.5 is nearer than the fader's 0).
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float front[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_POSITION, front);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glClear(GL_DEPTH_BUFFER_BIT);
    glColor3f(0.0f, 1.0f, 0.0f);
    glBegin(GL_QUADS);
    glVertex3f(-0.5f, -0.5f, -0.5f);
    glVertex3f(0.5f, -0.5f, -0.5f);
    glVertex3f(0.5f, 0.5f, -0.5f);
    glVertex3f(-0.5f, 0.5f, -0.5f);
    glEnd();
    glEnable(GL_LIGHTING);

    Fader fader(1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 2.0f);
    fader.render(1.0);
    Pixel p = readPixel();
    EXPECT_EQ(p.r, 255) << "the fader's own red over the nearer quad, not a lit grey";
    EXPECT_EQ(p.g, 0);
    EXPECT_EQ(p.b, 0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));

    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHT0);
    fader.render(1.0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(FaderTest, DrawingLeavesTheMatricesAndSwitchesBlendingOff)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 4.0, 0.0, 2.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.25f, 0.5f, 0.0f);
    float projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);

    Fader fader(0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 2.0f);
    Pixel p = drawnAt(fader, 1.0);
    EXPECT_NEAR(p.r, 128, 2) << "whatever the scene's matrices, the quad covers the window";
    EXPECT_NEAR(readPixel(0, 0).r, 128, 2);

    float after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(after[i], projection[i]) << i;
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(after[i], modelview[i]) << i;
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "off after every drawing fader";
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);

    // A fader that does not draw touches nothing.
    glEnable(GL_BLEND);
    fader.render(-1.0);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    glDisable(GL_BLEND);
}

TEST_F(FaderTest, ConstructorKeepsItsValuesAndTheActionTable)
{
    Fader fader(0.1f, 0.2f, 0.3f, 0.9f, 0.4f, 1.5f, 3.0f);
    EXPECT_FLOAT_EQ(fader.getRed(), 0.1f);
    EXPECT_FLOAT_EQ(fader.getGreen(), 0.2f);
    EXPECT_FLOAT_EQ(fader.getBlue(), 0.3f);
    EXPECT_FLOAT_EQ(fader.getStartAlpha(), 0.9f);
    EXPECT_FLOAT_EQ(fader.getEndAlpha(), 0.4f);
    EXPECT_FLOAT_EQ(fader.getStartTime(), 1.5f);
    EXPECT_FLOAT_EQ(fader.getDuration(), 3.0f);
    EXPECT_FLOAT_EQ(fader.getAlphaSpan(), 0.4f - 0.9f);
    EXPECT_TRUE(fader.isEnabled());
    fader.setName("fade");
    EXPECT_EQ(fader.getName(), "fade");

    LogCapture log;
    EXPECT_THROW(fader.floatAction("setColor", 1.0f), ActionException);
    EXPECT_THROW(fader.action("setStartTime"), ActionException);
    EXPECT_TRUE(log.contains("floatAction() - Action \"setColor\" takes a string, not a float!")) << log.text();
    EXPECT_TRUE(log.contains("action() - Action \"setStartTime\" takes a float, not none!")) << log.text();
}
