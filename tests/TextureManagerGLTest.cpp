#include "TextureManager.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include "Action.inl"
#include "BlendableTexture.h"
#include "ComponentExceptions.h"
#include "EnvironmentTexture.h"
#include "GLEnvironment.h"
#include "JpegWriter.h"
#include "ResourceLoader.h"
#include "TestSupport.h"

namespace {
// Stands for the scene that owns the manager, so paths run through "textureManager" as in a show.
class Scene : public Action<Scene> {
public:
    Scene() { addChildAction(&textures, "textureManager"); }
    TextureManager textures;
};

class TextureManagerTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("");
    }
};
}

TEST_F(TextureManagerTest, CreatorsReachedByDottedPath)
{
    Scene scene;
    scene.stringAction("textureManager.createTexture", "plain");
    scene.stringAction("textureManager.createBlendableTexture", "glyph");
    scene.stringAction("textureManager.createEnvironmentTexture", "chrome");
    TextureManager& manager = scene.textures;
    EXPECT_EQ(manager.size(), 3);
    EXPECT_EQ(typeid(*manager.find("plain")), typeid(Texture));
    EXPECT_EQ(typeid(*manager.find("glyph")), typeid(BlendableTexture));
    EXPECT_EQ(typeid(*manager.find("chrome")), typeid(EnvironmentTexture));
    EXPECT_EQ(manager.find("glyph")->getName(), "glyph");
    // Nothing is loaded by creation: binding it binds texture object 0.
    EXPECT_EQ(manager.find("plain")->getTextureId(), 0u);

    scene.action("textureManager.plain.enableAdditiveMode");
    EXPECT_EQ(manager.find("plain")->getEnvMode(), GL_ADD);

    writeJpeg(path("wood.jpg"), 8, 8, 3, solidPixels(8, 8, {90, 60, 30}));
    writeJpeg(path("woodalpha.jpg"), 8, 8, 1, solidPixels(8, 8, {128}));
    scene.stringAction("textureManager.glyph.loadTexture", "wood.jpg");
    EXPECT_EQ(manager.find("glyph")->getWidth(), 8);
    EXPECT_NE(manager.find("glyph")->getTextureId(), 0u);
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(TextureManagerTest, SecondCreationReplacesTheReachableTexture)
{
    Scene scene;
    Texture* first = scene.textures.createTexture("sky");
    Texture* second = scene.textures.createTexture("sky");
    ASSERT_NE(first, second);
    EXPECT_EQ(scene.textures.size(), 1);
    EXPECT_EQ(scene.textures.find("sky"), second);
    scene.action("textureManager.sky.enableBlendMode");
    EXPECT_EQ(second->getEnvMode(), GL_BLEND);
    EXPECT_EQ(first->getEnvMode(), GL_MODULATE) << "the replaced texture is unreachable, not deleted";
}

TEST_F(TextureManagerTest, MipmappingChoiceAppliesToLaterCreations)
{
    TextureManager manager;
    Texture* before = manager.createTexture("before");
    manager.setMipmapping(false);
    Texture* after = manager.createBlendableTexture("after");
    EXPECT_TRUE(before->isMipmapping());
    EXPECT_FALSE(after->isMipmapping());
}

TEST_F(TextureManagerTest, MissingNameIsTheFactorysNotFound)
{
    TextureManager manager;
    try {
        manager.find("nothing");
        FAIL();
    } catch (const ComponentNotFoundException& e) {
        EXPECT_NE(e.getMessage().find("Factory<Texture>"), std::string::npos);
        EXPECT_NE(e.getMessage().find("find() - Unable to find component \"nothing\"."), std::string::npos);
    }
}

TEST_F(TextureManagerTest, ATextureThatFailsToLoadLeavesTheManager)
{
    Scene scene;
    TextureManager& manager = scene.textures;
    writeJpeg(path("good.jpg"), 8, 8, 3, solidPixels(8, 8, {10, 20, 30}));
    manager.loadCreated(manager.createTexture("good"), "good.jpg");
    EXPECT_TRUE(manager.exists("good"));

    struct Case {
        const char* what;
        Texture* (TextureManager::*create)(std::string);
    } cases[] = {{"plain", &TextureManager::createTexture},
                 {"blendable", &TextureManager::createBlendableTexture},
                 {"environment", &TextureManager::createEnvironmentTexture}};
    for (const Case& c : cases) {
        Texture* texture = (manager.*c.create)("broken");
        EXPECT_THROW(manager.loadCreated(texture, "absent.jpg"), Exception) << c.what;
        EXPECT_FALSE(manager.exists("broken")) << c.what;
        EXPECT_EQ(manager.getChildAction("broken"), nullptr) << c.what;
        EXPECT_THROW(scene.stringAction("textureManager.broken.loadTexture", "good.jpg"), Exception) << c.what;
    }
    EXPECT_EQ(manager.size(), 1);
    EXPECT_TRUE(manager.exists("good"));
}
