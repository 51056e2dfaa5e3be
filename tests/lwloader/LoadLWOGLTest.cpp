#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Actor.h"
#include "Environment.h"
#include "EnvironmentController.h"
#include "GLEnvironment.h"
#include "GenericEnvironment.h"
#include "JpegWriter.h"
#include "KeyframedActor.h"
#include "Keyframer.h"
#include "Log.h"
#include "Pixels.h"
#include "ResourceLoader.h"
#include "SceneViews.h"
#include "Surface.h"
#include "TestSupport.h"
#include "TwoBoneObject.h"

namespace fs = std::filesystem;

// The 3D scene's "loadLWO" action on the shared window: objects written here and the shared
// sample files loaded into a scene, what the scene keeps of them, and what they draw, unlit in an
// orthographic view.
namespace {
const std::string environmentFailure = "KelvoEngineException::::EnvironmentException::";

// A textured square of two layers' worth of chunks: the unit square of surface "Default", its
// UVs, a clip of wood.jpg and a surface whose block maps it by the UVs.
std::string squareObject()
{
    return uvMappedSquareLwo("Default", "Images/wood.jpg", 1.0f);
}

class LoadLWOTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath(temp->path() + "/");
        drainGLErrors();
        scene.setName("space");
        scene.setLightingEnabled(false);
        writeJpeg(path("wood.jpg"), 8, 8, 3, solidPixels(8, 8, {255, 0, 0}));
    }
    void TearDown() override
    {
        leaveMeshView();
        ResourceLoader::setResourcePath("");
        TempDirTest::TearDown();
    }

    // "" when the action completes, else the message it throws.
    std::string loadLWO(const std::string& file)
    {
        try {
            scene.stringAction("loadLWO", file);
        } catch (const EnvironmentException& e) {
            return e.getMessage();
        }
        return "";
    }

    // Draws actor unlit, the box from (x0, y0) to (x1, y1) filling the window, onto black.
    void draw(Actor& actor, float x0, float y0, float x1, float y1)
    {
        enterMeshView(scene, x0, y0, x1, y1);
        actor.render(0.0);
    }

    Environment scene;
};
}

TEST_F(LoadLWOTest, AnObjectBecomesAnActorOfTheSceneNamedAfterItsFile)
{
    writeFile("square.lwo", squareObject());
    LogCapture log;
    ASSERT_EQ(loadLWO("square.lwo"), "");
    ASSERT_TRUE(scene.getActors().exists("square.lwo"));
    Actor* actor = scene.getActors().find("square.lwo");
    EXPECT_EQ(actor->getName(), "square.lwo");
    EXPECT_EQ(actor->getEnvironment(), &scene);
    EXPECT_EQ(actor->getTriangleCount(), 2);
    EXPECT_TRUE(actor->getSurfaces().exists("Default"));
    EXPECT_TRUE(scene.getTextureManager().exists("wood.jpgrr"));
    EXPECT_EQ(log.text(), "[info] environment::loadLWO() - Loading LightWave object \"square.lwo\" to Environment "
                          "\"space\"..\n[info] environment::loadLWO() - Loading successfully completed.\n");

    draw(*actor, -1, -1, 1, 1);
    EXPECT_TRUE(closeColour(readPixel(320, 240), {255, 0, 0})) << describe(readPixel(320, 240));
}

TEST_F(LoadLWOTest, AFileIsLoadedOncePerScene)
{
    writeFile("square.lwo", squareObject());
    ASSERT_EQ(loadLWO("square.lwo"), "");
    Actor* first = scene.getActors().find("square.lwo");
    std::remove(path("square.lwo").c_str());
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::debug);
    ASSERT_EQ(loadLWO("square.lwo"), "");
    EXPECT_EQ(scene.getActors().find("square.lwo"), first);
    EXPECT_EQ(scene.getActors().size(), 1);
    EXPECT_EQ(first->getTriangleCount(), 2);
    EXPECT_EQ(log.text(), "[debug] environment::loadLWO() - Reusable already loaded object \"square.lwo\" already exists "
                          "in the Environment \"space\". Load command ignored.\n");

    // Another scene loads it anew.
    writeFile("square.lwo", squareObject());
    Environment other;
    other.stringAction("loadLWO", "square.lwo");
    EXPECT_NE(other.getActors().find("square.lwo"), first);
    EXPECT_EQ(other.getActors().find("square.lwo")->getTriangleCount(), 2);
}

TEST_F(LoadLWOTest, AFailedLoadNamesTheFileKeepsNoActorAndFailsAgainTheSameWay)
{
    std::string broken = squareObject();
    broken.resize(broken.size() - 10);
    writeFile("broken.lwo", broken);
    LogCapture log;
    const std::string message = loadLWO("broken.lwo");
    EXPECT_EQ(message.rfind(environmentFailure + "loadLWO() - Panic! Failed to load LightWave object \"broken.lwo\". "
                                                 "KelvoEngineException::::LWLoader::",
                            0),
              0u)
        << message;
    EXPECT_FALSE(scene.getActors().exists("broken.lwo"));
    EXPECT_EQ(loadLWO("broken.lwo"), message) << "the second use loads the file again";
    EXPECT_FALSE(scene.getActors().exists("broken.lwo"));
    EXPECT_FALSE(log.contains("Reusable already loaded object"));

    const std::string missing = loadLWO("missing.lwo");
    EXPECT_EQ(missing, environmentFailure + "loadLWO() - Panic! Failed to load LightWave object \"missing.lwo\". "
                                            "KelvoEngineException::::LWLoader::loadObject() - LightWave object loading "
                                            "failed. Unable to open the resource. ");
    EXPECT_FALSE(scene.getActors().exists("missing.lwo"));
    EXPECT_EQ(scene.getActors().size(), 0);

    // Once the file is whole, the same name loads.
    writeFile("broken.lwo", squareObject());
    ASSERT_EQ(loadLWO("broken.lwo"), "");
    EXPECT_EQ(scene.getActors().find("broken.lwo")->getTriangleCount(), 2);
}

TEST_F(LoadLWOTest, TheTimelineReachesTheActionThroughTheScenesName)
{
    writeFile("square.lwo", squareObject());
    EnvironmentController controller;
    controller.initialize();
    controller.stringAction("createEnvironment", "world");
    controller.stringAction("world.loadLWO", "square.lwo");
    Environment* world = dynamic_cast<Environment*>(controller.Factory<GenericEnvironment>::find("world"));
    ASSERT_NE(world, nullptr);
    ASSERT_EQ(world->getActors().size(), 1);
    EXPECT_EQ(world->getActors().find("square.lwo")->getTriangleCount(), 2);
    LogCapture log;
    world->printInfo();
    EXPECT_TRUE(log.contains(" 1 actors, ")) << log.text();
}

TEST_F(LoadLWOTest, ALoadedSkeletonDrawsInTheSceneAndTurnsItsBones)
{
    // A bone layer of two bones end to end along x, upper from -1 to 0 and lower from 0 to 1,
    // and a mesh layer of two small squares, a green one bound to upper and a red one to lower.
    writeFile("robot.lwo", twoBoneObject());
    LogCapture quiet;
    ASSERT_EQ(loadLWO("robot.lwo"), "");
    Actor* actor = scene.getActors().find("robot.lwo");
    ASSERT_EQ(actor->getBoneCount(), 2);
    EXPECT_EQ(actor->findBone("lower")->getParent(), actor->findBone("upper"));

    // On stage 5 units in front of the eye.
    scene.getCameraController().createHpbCamera("eye");
    scene.getCameraController().setCamera("eye");
    Keyframer* place = scene.getKeyframerController().createKeyframer();
    place->addPositionKey(0.0f, Vector(0, 0, -5), 0, 0, 0);
    Keyframer* bend = scene.getKeyframerController().createKeyframer();
    bend->addHpbKey(0.0f, 0.0f, 0.0f, 0.0f, 0, 0, 0);
    bend->addHpbKey(24.0f, 0.0f, 0.0f, 1.5707964f, 0, 0, 0);
    bend->setRotationRange(0.0f, 24.0f);
    KeyframedActor* keyed = scene.getKeyframedActors().store("robot", std::make_unique<KeyframedActor>());
    keyed->setName("robot");
    keyed->setActor(actor);
    keyed->setKeyframer(place);
    keyed->setBoneKeyframer("lower", bend);
    expectTwoBoneFrames(scene);
    glDisable(GL_DEPTH_TEST);
}

namespace {
// What loading a shared sample file into a scene gives: "" for a load, else the start of the
// cause after the "loadLWO" text.
struct Sample {
    const char* file;
    const char* failure;
};

const char* const unsupportedProjection =
    "KelvoEngineException::::LWLoader::LWLoader::FillObject() - Unable to populate Actor with Chunk \"SURF\".  Cause: "
    "KelvoEngineException::::LWSurfChunkException::fillObject() - Failed to set surface to the actor. "
    "KelvoEngineException::::LWBlokSubChunk::fillSurface() - Unsupported texture projection type.";
const char* const missingImage =
    "KelvoEngineException::::LWLoader::LWLoader::FillObject() - Unable to populate Actor with Chunk \"SURF\".  Cause: "
    "KelvoEngineException::::LWSurfChunkException::fillObject() - Failed to set surface to the actor. "
    "KelvoEngineException::::TextureException::loadTexture() - Failed to load ";

std::string samplesFolder()
{
    std::string shared = sharedDir();
    return shared.empty() ? "" : shared + "/models/LWO/LWO2";
}
}

TEST_F(LoadLWOTest, TheSampleFilesLoadOrFailAsTheirSurfacesDemand)
{
    const std::string folder = samplesFolder();
    if (folder.empty() || !fs::is_directory(folder))
        GTEST_SKIP() << "no LWO2 sample files: " << folder << " is absent";
    const Sample samples[] = {
        {"MappingModes/earth_cylindrical_x.lwo", unsupportedProjection},
        {"MappingModes/earth_planar_x.lwo", ""},
        {"MappingModes/earth_planar_y.lwo", ""},
        {"MappingModes/earth_planar_z.lwo", ""},
        {"MappingModes/earth_planar_z_scale_111.lwo", ""},
        {"MappingModes/earth_spherical_x.lwo", unsupportedProjection},
        {"MappingModes/earth_uv_cylindrical_y.lwo", ""},
        {"ModoExport_vertNormals.lwo", ""},
        {"Subdivision.lwo", ""},
        {"UglyVertexColors.lwo", unsupportedProjection},  // refused before its image is looked for
        {"box_2uv_1unused.lwo", missingImage},
        {"boxuv.lwo", missingImage},
        {"concave_polygon.lwo", ""},
        {"concave_self_intersecting.lwo", ""},
        {"hierarchy.lwo", ""},
        {"hierarchy_smoothed.lwo", ""},
        {"nonplanar_polygon.lwo", ""},
        {"shader_test/CellShader.lwo", ""},
        {"sphere_with_gradient.lwo", ""},
        {"sphere_with_mat_gloss_10pc.lwo", ""},
        {"transparency.lwo", ""},
        {"uvtest.lwo", missingImage},
    };
    LogCapture quiet;
    for (const Sample& sample : samples) {
        const fs::path file = fs::path(folder) / sample.file;
        if (!fs::is_regular_file(file)) {
            ADD_FAILURE() << file << " is missing from the samples";
            continue;
        }
        ResourceLoader::setResourcePath(file.parent_path().string() + "/");
        Environment samplesScene;
        const std::string name = file.filename().string();
        std::string message;
        try {
            samplesScene.loadLWO(name);
        } catch (const EnvironmentException& e) {
            message = e.getMessage();
        }
        const std::string prefix = environmentFailure + "loadLWO() - Panic! Failed to load LightWave object \"" + name + "\". ";
        if (*sample.failure == '\0') {
            EXPECT_EQ(message, "") << sample.file;
            EXPECT_GT(samplesScene.getActors().find(name)->getPoints().size(), 0u) << sample.file;
        } else {
            EXPECT_EQ(message.rfind(prefix + sample.failure, 0), 0u) << sample.file << ": " << message;
        }
    }
}

TEST_F(LoadLWOTest, ASampleOfLayersDrawsEachLayerWhereItsPointsAre)
{
    const std::string folder = samplesFolder();
    if (folder.empty() || !fs::is_regular_file(folder + "/hierarchy.lwo"))
        GTEST_SKIP() << "no sample file: " << folder << "/hierarchy.lwo is absent";
    ResourceLoader::setResourcePath(folder + "/");
    LogCapture quiet;
    ASSERT_EQ(loadLWO("hierarchy.lwo"), "");
    Actor* actor = scene.getActors().find("hierarchy.lwo");
    // Four layers: a box, a sphere, a second box, and a tall red box standing at x = -1.8 .. -0.05
    // up to y = 5.05, higher than anything else.
    EXPECT_EQ(actor->getPoints().size(), 8u + 266u + 8u + 8u);
    draw(*actor, -3, -3, 3, 6);
    auto at = [](float x, float y) { return readPixel(static_cast<int>((x + 3) / 6 * 640), static_cast<int>((y + 3) / 9 * 480)); };
    EXPECT_TRUE(closeColour(at(-0.9f, 4.0f), {255, 0, 0}, 2)) << describe(at(-0.9f, 4.0f));
    EXPECT_TRUE(closeColour(at(0.0f, -1.5f), {200, 200, 200}, 2)) << describe(at(0.0f, -1.5f));
    EXPECT_TRUE(closeColour(at(1.0f, 4.0f), {0, 0, 0}, 0)) << describe(at(1.0f, 4.0f));
}

TEST_F(LoadLWOTest, ASampleWithAPlanarImageDrawsItsTexture)
{
    const std::string folder = samplesFolder() + "/MappingModes";
    if (samplesFolder().empty() || !fs::is_regular_file(folder + "/earth_planar_z.lwo"))
        GTEST_SKIP() << "no sample file: " << folder << "/earth_planar_z.lwo is absent";
    ResourceLoader::setResourcePath(folder + "/");
    LogCapture quiet;
    ASSERT_EQ(loadLWO("earth_planar_z.lwo"), "");
    Actor* actor = scene.getActors().find("earth_planar_z.lwo");
    ASSERT_TRUE(scene.getTextureManager().exists("earthSpherical.jpgrr"));
    draw(*actor, -3.5f, -3, 3.5f, 3);
    // The image's oceans and land, not the surface's plain grey.
    int samples = 0, coloured = 0;
    for (int x = 240; x <= 400; x += 16) {
        for (int y = 160; y <= 320; y += 16) {
            Pixel p = readPixel(x, y);
            ++samples;
            if (std::abs(p.r - p.b) > 24 || std::abs(p.g - p.b) > 24)
                ++coloured;
        }
    }
    EXPECT_GT(coloured, samples / 4) << coloured << " of " << samples;
}
