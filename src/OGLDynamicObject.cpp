#include "OGLDynamicObject.h"

#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

OGLDynamicObject::OGLDynamicObject() = default;

OGLDynamicObject::~OGLDynamicObject() = default;

void OGLDynamicObject::checkInitialized()
{
    if (!initialized)
        KELVO_LOG(LogLevel::error) << "render() - Not initialized." << logEnd;
}
