#include "EnvironmentTexture.h"

#include <GL/gl.h>

EnvironmentTexture::EnvironmentTexture()
{
    // The reflection is added to the surface colour.
    envMode = GL_ADD;
}

EnvironmentTexture::~EnvironmentTexture() = default;

void EnvironmentTexture::enable()
{
    Texture::enable();
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
}

void EnvironmentTexture::disable()
{
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}
