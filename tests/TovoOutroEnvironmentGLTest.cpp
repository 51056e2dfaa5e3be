#include "TovoOutroEnvironment.h"

#include <gtest/gtest.h>

#include "ActionControllable.h"
#include "EnvironmentController.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "ResourceLoader.h"
#include "TestSupport.h"
#include "ViewStateCheck.h"

namespace {
// Four pages of distinct solid colours, wider than high; drawn unblended, so a pixel shows the page.
const Pixel PAGES[4] = {{230, 40, 40}, {40, 200, 40}, {40, 40, 230}, {230, 200, 40}};

// The centre and the four corners of the window: a page covers them all, whatever its proportions.
const int SPOTS[5][2] = {{320, 240}, {2, 2}, {637, 2}, {2, 477}, {637, 477}};

class TovoOutroEnvironmentTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
        for (int page = 0; page < 4; ++page) {
            const Pixel& c = PAGES[page];
            writeJpeg(path("outro/endcredits" + std::to_string(page + 1) + ".jpg"), 64, 32, 3,
                      solidPixels(64, 32,
                                  {static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                                   static_cast<unsigned char>(c.b)}));
        }
    }

    void TearDown() override
    {
        drainGLErrors();
        TempDirTest::TearDown();
    }
};

void expectPage(int page)
{
    for (const auto& spot : SPOTS) {
        Pixel actual = readPixel(spot[0], spot[1]);
        EXPECT_TRUE(closeColour(actual, PAGES[page - 1]))
            << "page " << page << " expected; pixel " << spot[0] << "," << spot[1] << " is " << actual.r << ","
            << actual.g << "," << actual.b;
    }
}
}

TEST_F(TovoOutroEnvironmentTest, PagesTurnEveryThreeSecondsAndStartOver)
{
    struct Case {
        double time;  // playback seconds; the scene is first drawn at 7
        int page;
    };
    const Case cases[] = {{7.0, 1}, {9.5, 1}, {10.0, 2}, {13.0, 3}, {15.9, 3}, {16.0, 4}, {19.0, 1}, {22.0, 2}};
    TovoOutroEnvironment outro;
    LogCapture log;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        outro.render(c.time);
        EXPECT_EQ(outro.getCredits().getCurrentFrame(), c.page - 1);
        expectPage(c.page);
    }
    EXPECT_EQ(log.warnings(), 1);
    EXPECT_TRUE(log.contains("[warning] tovooutroenvironment::render() - Not initialized. Initializing..\n"))
        << log.text();
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(TovoOutroEnvironmentTest, TheControllerLoadsAndActivatesItByNameButReachesNothingInside)
{
    EnvironmentController controller;
    controller.initialize();
    controller.stringAction("createTovoOutroEnvironment", "outro");
    GenericEnvironment* registered = controller.Factory<GenericEnvironment>::find("outro");
    TovoOutroEnvironment* outro = dynamic_cast<TovoOutroEnvironment*>(registered);
    ASSERT_NE(outro, nullptr);
    EXPECT_EQ(outro->getName(), "outro");
    controller.stringAction("loadResources", "outro");
    EXPECT_EQ(outro->getCredits().getFrameCount(), 4);
    controller.stringAction("setActiveEnvironment", "outro");
    EXPECT_EQ(controller.getActiveEnvironment(), outro);
    // Drawn unlit and unblended whatever the scene before left on.
    for (double time : {1.0, 4.0}) {
        leaveLit3DState();
        controller.render(time);
        expectFlatView(false, 0, 0);
        expectPage(time < 4.0 ? 1 : 2);
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
    }
    try {
        controller.action("outro.enable");
        ADD_FAILURE() << "a path into the credits was followed";
    } catch (const ActionControllableException& e) {
        EXPECT_NE(e.getMessage().find("childAction() - Child action \"outro\" not found!"), std::string::npos)
            << e.getMessage();
    }
}
