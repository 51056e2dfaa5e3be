#include <gtest/gtest.h>

#include <GL/gl.h>

#include <sstream>
#include <string>

#include "GLEnvironment.h"
#include "GenericEnvironment.h"
#include "RecordingScene.h"
#include "TestSupport.h"

namespace {
struct ClearColour {
    float r, g, b, a;
};

ClearColour readClearColour()
{
    float c[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, c);
    return {c[0], c[1], c[2], c[3]};
}
}

TEST(GenericEnvironment, FreshSceneHasNoFlagsAndNoName)
{
    RecordingScene scene;
    EXPECT_FALSE(scene.isInitialized());
    EXPECT_FALSE(scene.areResourcesLoaded());
    EXPECT_EQ(scene.getName(), "");
    scene.setName("intro");
    EXPECT_EQ(scene.getName(), "intro");
}

TEST(GenericEnvironment, BackgroundColourSetsTheClearColour)
{
    struct Case {
        const char* text;
        ClearColour expected;
    } cases[] = {
        {"#FF000080", {1.0f, 0.0f, 0.0f, 128.0f / 255.0f}},
        {"#00ff00", {0.0f, 1.0f, 0.0f, 1.0f}},
        {"#336699cc", {0.2f, 0.4f, 0.6f, 0.8f}},
    };
    RecordingScene scene;
    for (const Case& c : cases) {
        scene.setBackgroundColor(c.text);
        ClearColour got = readClearColour();
        EXPECT_NEAR(got.r, c.expected.r, 1e-3) << c.text;
        EXPECT_NEAR(got.g, c.expected.g, 1e-3) << c.text;
        EXPECT_NEAR(got.b, c.expected.b, 1e-3) << c.text;
        EXPECT_NEAR(got.a, c.expected.a, 1e-3) << c.text;
        // The colour reaches the frame buffer, not just the state.
        glClear(GL_COLOR_BUFFER_BIT);
        unsigned char pixel[4] = {0, 0, 0, 0};
        glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        EXPECT_NEAR(pixel[0], c.expected.r * 255.0f, 1.0) << c.text;
        EXPECT_NEAR(pixel[1], c.expected.g * 255.0f, 1.0) << c.text;
    }
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(GenericEnvironment, InvalidBackgroundColourFailsAndKeepsTheClearColour)
{
    RecordingScene scene;
    GenericEnvironment::setClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    for (const char* text : {"red", "#12345", "", "#gg0000"}) {
        LogCapture log;
        try {
            scene.setBackgroundColor(text);
            ADD_FAILURE() << "no exception for \"" << text << "\"";
        } catch (EnvironmentException& e) {
            std::string message = e.getMessage();
            EXPECT_NE(message.find("EnvironmentException::setBackgroundColor() - Failed to set background color. "),
                      std::string::npos)
                << message;
            // The colour parser's own message follows.
            EXPECT_NE(message.find("InvalidColorFormatException"), std::string::npos) << message;
        }
        EXPECT_EQ(log.errors(), 0);
        ClearColour got = readClearColour();
        EXPECT_FLOAT_EQ(got.r, 0.0f) << text;
        EXPECT_FLOAT_EQ(got.b, 1.0f) << text;
    }
}

TEST(GenericEnvironment, ExtensionTestIsAPlainSubstringOfTheDriversList)
{
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ASSERT_NE(list, nullptr);
    std::istringstream words(list);
    std::string first;
    ASSERT_TRUE(words >> first);
    EXPECT_TRUE(GenericEnvironment::isExtensionSupported(first));
    EXPECT_TRUE(GenericEnvironment::isExtensionSupported(first.substr(0, first.size() - 2)));
    EXPECT_TRUE(GenericEnvironment::isExtensionSupported(first.substr(3, 5)));
    EXPECT_TRUE(GenericEnvironment::isExtensionSupported(""));
    EXPECT_FALSE(GenericEnvironment::isExtensionSupported("GL_KELVO_no_such_extension"));
    if (std::string(list).find("GL_ARB_multitexture") != std::string::npos) {
        EXPECT_TRUE(GenericEnvironment::isExtensionSupported("GL_ARB_multi"));
    }
}
