#ifndef KELVO_OGLOBJECT_H
#define KELVO_OGLOBJECT_H

#include <string>

#include "Exception.h"

class OGLObjectException : public Exception {
public:
    explicit OGLObjectException(const std::string& message);
};

// Owns one OpenGL display list and records into it whatever its subclass draws, so that each
// frame replays the list instead of issuing the drawing again.
class OGLObject {
public:
    OGLObject();
    // Deletes the list.
    virtual ~OGLObject();
    OGLObject(const OGLObject&) = delete;
    OGLObject& operator=(const OGLObject&) = delete;

    // Records the list anew, replacing the one it had. Throws OGLObjectException when no list
    // can be made or the drawing fails; a failed recording leaves no list behind.
    virtual void initialize();
    // The OpenGL calls to record; called while the list is being compiled.
    virtual void renderPrimitives() = 0;

    // Replays the list, recording it first when there is none.
    void render();
    // Deletes the list, so that the next render records the drawing anew: for an object whose
    // drawing changed after it was recorded. Nothing when there is no list, which is checked here:
    // a mesh being filled asks after every point and triangle.
    void dropList()
    {
        if (list != 0)
            deleteList();
    }
    std::string toString() const;

    unsigned int getDisplayList() const { return list; }

protected:
    unsigned int list;  // OpenGL display-list name; 0 until recorded

private:
    void deleteList();
};

#endif
