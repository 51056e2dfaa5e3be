#include "OGLObject.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "Log.h"
#include "StringUtil.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

OGLObjectException::OGLObjectException(const std::string& message)
{
    addSource("OGLObjectException");
    appendMessage(message);
}

OGLObject::OGLObject() : list(0)
{
}

OGLObject::~OGLObject()
{
    dropList();
}

void OGLObject::initialize()
{
    if (glIsList(list))
        glDeleteLists(list, 1);
    list = glGenLists(1);
    if (list == 0)
        throw OGLObjectException(std::string("initialize() - Failed to generate a display list. OpenGL error: ") +
                                 reinterpret_cast<const char*>(gluErrorString(glGetError())) + ".");
    glNewList(list, GL_COMPILE);
    try {
        renderPrimitives();
    } catch (Exception& e) {
        // Closed and dropped, so that the next render records it again and no later OpenGL call
        // lands in a half-recorded list.
        glEndList();
        glDeleteLists(list, 1);
        list = 0;
        throw OGLObjectException("initialize() - Failed to compile a display list. RenderPrimitives error:" +
                                 e.getMessage());
    }
    glEndList();
}

void OGLObject::deleteList()
{
    glDeleteLists(list, 1);
    list = 0;
}

void OGLObject::render()
{
    if (!glIsList(list)) {
        KELVO_LOG(LogLevel::info) << "render() - Display list not initialized. Initializing.."
                     << logEnd;
        initialize();
    }
    glCallList(list);
}

std::string OGLObject::toString() const
{
    return "OGLObject::toString() - Drawing using display list no " + ::toString(static_cast<int>(list)) + ".";
}
