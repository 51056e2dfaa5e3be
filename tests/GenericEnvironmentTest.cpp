#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <GL/gl.h>

#include "GenericEnvironment.h"

// Runs without the shared window fixture: the first queries happen before any context exists.
TEST(GenericEnvironmentWithoutContext, ExtensionQueryBeforeTheWindowIsAskedAgainOnceItIsOpen)
{
    EXPECT_FALSE(GenericEnvironment::isExtensionSupported("GL_ARB_multitexture"));
    EXPECT_FALSE(GenericEnvironment::isExtensionSupported("GL_"));
    EXPECT_TRUE(GenericEnvironment::isExtensionSupported(""));

    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_NE(SDL_SetVideoMode(640, 480, 0, SDL_OPENGL), nullptr) << SDL_GetError();
    // Every GL driver's list names extensions beginning with "GL_".
    EXPECT_TRUE(GenericEnvironment::isExtensionSupported("GL_"));
    EXPECT_FALSE(GenericEnvironment::isExtensionSupported("GL_KELVO_no_such_extension"));
    SDL_Quit();
}
