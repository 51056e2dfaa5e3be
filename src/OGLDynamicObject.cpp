#include "OGLDynamicObject.h"

#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

OGLDynamicObject::OGLDynamicObject() = default;

OGLDynamicObject::~OGLDynamicObject() = default;

void OGLDynamicObject::checkInitialized()
{
    if (!initialized)
        *Log::getInstance() << LogContext(LOG_SOURCE, 0) << "render() - Not initialized." << logEnd;
}
