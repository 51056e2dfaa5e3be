#ifndef KELVO_OGLDYNAMICOBJECT_H
#define KELVO_OGLDYNAMICOBJECT_H

#include "CommonObject.h"

// Base of scene objects drawn anew every frame rather than from a display list.
class OGLDynamicObject : public CommonObject {
public:
    OGLDynamicObject();
    ~OGLDynamicObject() override;

    // Reports, as an error line, a render of an object nobody initialised; changes nothing.
    virtual void checkInitialized();
};

#endif
