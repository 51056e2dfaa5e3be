#include "3dsLoader.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>
#include <string>

#include "3dsLoaderException.h"
#include "Environment.h"
#include "GLEnvironment.h"
#include "KeyframedMesh.h"
#include "KeyframerController.h"
#include "Log.h"
#include "Pixels.h"
#include "ResourceLoader.h"
#include "SceneViews.h"
#include "TestSupport.h"

// Real 3D Studio files made by other tools, read from the shared models folder where it exists:
// what they fill a scene with, and the frames the scene draws of them.
namespace {
class ThreeDSLoaderSampleFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (sharedDir().empty())
            GTEST_SKIP() << "../shared/models is absent: no third-party 3DS files to read";
        ResourceLoader::setResourcePath(sharedDir() + "/models/3DS/");
        drainGLErrors();
        environment = std::make_unique<Environment>();
        environment->setName("sample");
    }
    void TearDown() override
    {
        ResourceLoader::setResourcePath("");
        leaveLitScene();
    }

    void load(const std::string& file)
    {
        _3dsLoader loader;
        loader.load(file, environment.get());
    }

    // The file's camera draws the scene at time.
    void frame(const std::string& camera, double time)
    {
        environment->getCameraController().setCamera(camera);
        environment->setViewState();
        environment->render(time);
    }

    // How many of a grid of pixels over the window differ from the black background.
    static int drawnPixels()
    {
        int drawn = 0;
        for (int y = 10; y < 480; y += 20)
            for (int x = 10; x < 640; x += 20)
                if (!nearColour(readPixel(x, y), 0, 0, 0, 2))
                    ++drawn;
        return drawn;
    }

    std::unique_ptr<Environment> environment;
};
}

TEST_F(ThreeDSLoaderSampleFilesTest, EveryFileFillsTheSceneWithItsObjects)
{
    struct Case {
        const char* file;
        int meshes, cameras, lights, surfaces, keyframers;
        int errors;  // three for each texture that is not there: the file, the texture, the loader
    } cases[] = {
        {"CameraRollAnim.3ds", 1, 1, 0, 0, 3, 0},
        {"CameraRollAnimWithChildObject.3ds", 2, 1, 0, 0, 4, 0},
        {"TargetCameraAnim.3ds", 1, 1, 0, 0, 3, 0},
        {"RotatingCube.3DS", 1, 0, 0, 0, 1, 0},
        {"cube_with_diffuse_texture.3DS", 1, 0, 0, 1, 1, 3},
        {"cube_with_specular_texture.3DS", 1, 0, 0, 1, 1, 0},
        {"cubes_with_alpha.3DS", 5, 0, 0, 5, 5, 3},
        {"fels.3ds", 1, 0, 0, 1, 0, 0},
        {"test1.3ds", 9, 0, 0, 3, 9, 0},  // its pictures named in another case than their files
    };
    for (const Case& c : cases) {
        environment = std::make_unique<Environment>();
        LogCapture log;
        Log::getInstance()->setLevel(LogLevel::none);
        EXPECT_NO_THROW(load(c.file)) << c.file;
        EXPECT_EQ(environment->getKeyframedMeshes().size(), c.meshes) << c.file;
        EXPECT_EQ(environment->getCameraController().size(), c.cameras) << c.file;
        EXPECT_EQ(environment->getLights().size(), c.lights) << c.file;
        EXPECT_EQ(environment->getSurfaces().size(), c.surfaces) << c.file;
        EXPECT_EQ(environment->getKeyframerController().getKeyframerCount(), c.keyframers) << c.file;
        EXPECT_EQ(log.errors(), c.errors) << c.file;
        EXPECT_EQ(log.warnings(), 0) << c.file;
        for (const auto& entry : environment->getKeyframedMeshes().getComponents())
            EXPECT_GT(entry.second->getTriangleCount(), 0) << c.file << ": " << entry.first;
    }
}

TEST_F(ThreeDSLoaderSampleFilesTest, TheSameFileLoadsIntoASecondSceneAlike)
{
    load("test1.3ds");
    std::unique_ptr<Environment> first = std::move(environment);
    environment = std::make_unique<Environment>();
    load("test1.3ds");
    ASSERT_EQ(environment->getKeyframedMeshes().size(), first->getKeyframedMeshes().size());
    for (const auto& entry : first->getKeyframedMeshes().getComponents()) {
        KeyframedMesh* again = environment->getKeyframedMeshes().find(entry.first);
        EXPECT_EQ(again->getTriangleCount(), entry.second->getTriangleCount()) << entry.first;
        EXPECT_EQ(again->getPoints().size(), entry.second->getPoints().size()) << entry.first;
        EXPECT_NE(again->getKeyframer(), nullptr) << entry.first;
    }
}

TEST_F(ThreeDSLoaderSampleFilesTest, AnEmptyFileIsRefused)
{
    ResourceLoader::setResourcePath(sharedDir() + "/models/invalid/");
    try {
        load("empty.3ds");
        ADD_FAILURE() << "no exception";
    } catch (const _3dsLoaderException& e) {
        EXPECT_NE(e.getMessage().find("File \"empty.3ds\": the file is empty."), std::string::npos) << e.getMessage();
    }
}

TEST_F(ThreeDSLoaderSampleFilesTest, AnimatedCamerasShowTheirBoxFromChangingViews)
{
    for (const char* file : {"CameraRollAnim.3ds", "TargetCameraAnim.3ds", "CameraRollAnimWithChildObject.3ds"}) {
        environment = std::make_unique<Environment>();
        LogCapture quiet;
        Log::getInstance()->setLevel(LogLevel::none);
        load(file);
        frame("Camera01", 0.0);
        const int first = drawnPixels();
        std::vector<Pixel> start;
        for (int x = 0; x < 640; x += 8)
            start.push_back(readPixel(x, 240));
        frame("Camera01", 5.0);
        int changed = 0;
        for (int x = 0, i = 0; x < 640; x += 8, ++i)
            if (!closeColour(readPixel(x, 240), start[i], 2))
                ++changed;
        EXPECT_GT(first, 0) << file << ": the box is in view at the start";
        EXPECT_GT(changed, 0) << file << ": the view changes as the camera moves";
    }
}
