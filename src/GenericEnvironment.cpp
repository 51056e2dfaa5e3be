#include "GenericEnvironment.h"

#include <GL/gl.h>

#include "RGBA.h"

std::string GenericEnvironment::extensions;

EnvironmentException::EnvironmentException(const std::string& message)
{
    addSource("EnvironmentException");
    appendMessage(message);
}

GenericEnvironment::GenericEnvironment() : initialized(false), resourcesLoaded(false)
{
}

GenericEnvironment::~GenericEnvironment() = default;

void GenericEnvironment::setName(const std::string& name)
{
    this->name = name;
}

std::string GenericEnvironment::getName() const
{
    return name;
}

void GenericEnvironment::setBackgroundColor(std::string colour)
{
    try {
        RGBA color(colour);
        setClearColor(color.r, color.g, color.b, color.a);
    } catch (Exception& e) {
        throw EnvironmentException("setBackgroundColor() - Failed to set background color. " + e.getMessage());
    }
}

void GenericEnvironment::setClearColor(float r, float g, float b, float a)
{
    glClearColor(r, g, b, a);
}

bool GenericEnvironment::isExtensionSupported(const std::string& name)
{
    if (extensions.empty()) {
        // Null without a current context: counts as an empty list and is asked again next time.
        const GLubyte* list = glGetString(GL_EXTENSIONS);
        if (list)
            extensions = reinterpret_cast<const char*>(list);
    }
    return extensions.find(name) != std::string::npos;
}

void GenericEnvironment::setFlatView()
{
    setClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
}
