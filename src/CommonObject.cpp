#include "CommonObject.h"

#include <GL/gl.h>

#include "StringUtil.h"

int CommonObject::objectCount = 0;

namespace {
void setQuadruple(float* target, float a, float b, float c, float d)
{
    target[0] = a;
    target[1] = b;
    target[2] = c;
    target[3] = d;
}
}

CommonObject::CommonObject()
    : materialShininess(0.0f), materialAmbient(), materialDiffuse(), materialSpecular(), materialEmission(),
      name("Object " + ::toString(objectCount++)), initialized(false), transformEnabled(true)
{
}

CommonObject::~CommonObject() = default;

void CommonObject::initialize()
{
    materialShininess = 0.0f;
    setQuadruple(materialAmbient, 0.0f, 0.0f, 0.0f, 1.0f);
    setQuadruple(materialDiffuse, 0.3f, 0.3f, 0.3f, 1.0f);
    setQuadruple(materialSpecular, 0.0f, 0.0f, 0.0f, 1.0f);
    setQuadruple(materialEmission, 0.0f, 0.0f, 0.0f, 1.0f);
    initialized = true;
}

std::string CommonObject::toString() const
{
    return "CommonObject::toString() - " + name;
}

void CommonObject::setName(const std::string& name)
{
    this->name = name;
}

std::string CommonObject::getName() const
{
    return name;
}

void CommonObject::setPosition(const Vector& position)
{
    this->position = position;
}

void CommonObject::setOrientation(const Quaternion& orientation)
{
    this->orientation = orientation;
}

Vector CommonObject::getPosition() const
{
    return position;
}

Quaternion CommonObject::getOrientation() const
{
    return orientation;
}

void CommonObject::applyTransform()
{
    if (!transformEnabled)
        return;
    orientation.glMultMatrix();
    glTranslatef(position.x, position.y, position.z);
}
