#include "Material.h"

#include <GL/gl.h>

namespace {
const float MAX_SHININESS = 128.0f;  // OpenGL's upper limit for GL_SHININESS
}

Material::Material()
    : color(1.0f, 1.0f, 1.0f, 1.0f), ambient(0.2f, 0.2f, 0.2f, 1.0f), diffuse(0.8f, 0.8f, 0.8f, 1.0f),
      specular(0.0f, 0.0f, 0.0f, 1.0f), emission(0.0f, 0.0f, 0.0f, 1.0f), shininess(32.0f), specularLevel(0.05f)
{
}

Material::~Material() = default;

void Material::setColor(const RGBA& color)
{
    this->color = color;
}

void Material::setAmbient(const RGBA& ambient)
{
    this->ambient = ambient;
}

void Material::setDiffuse(const RGBA& diffuse)
{
    this->diffuse = diffuse;
}

void Material::setSpecular(const RGBA& specular)
{
    this->specular = specular;
}

void Material::setEmission(const RGBA& emission)
{
    this->emission = emission;
}

void Material::setShininess(float x)
{
    if (!(x >= 0.0f))
        x = 0.0f;
    shininess = x > 1.0f ? MAX_SHININESS : MAX_SHININESS * x;
}

void Material::setSpecularLevel(float x)
{
    if (x > 1.0f)
        x = 1.0f;
    specularLevel = x;
    specular.a = x;
}

void Material::apply() const
{
    const float scaledSpecular[4] = {specular.r * specularLevel, specular.g * specularLevel,
                                     specular.b * specularLevel, 1.0f};
    glColor4fv(color.data());
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient.data());
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse.data());
    glMaterialfv(GL_FRONT, GL_SPECULAR, scaledSpecular);
    glMaterialfv(GL_FRONT, GL_EMISSION, emission.data());
    glMaterialf(GL_FRONT, GL_SHININESS, shininess);
}
