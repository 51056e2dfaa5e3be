#ifndef KELVO_STATICMESH_H
#define KELVO_STATICMESH_H

#include <string>

#include "Mesh.h"
#include "OGLObject.h"

class Environment;

// A mesh drawn from a display list: the mesh's immediate-mode drawing is recorded once, in the
// mesh's local frame, and each frame costs one list call inside the mesh's transform. Changes to
// the mesh after the recording show only when it is initialised again.
class StaticMesh : public Mesh, public OGLObject {
public:
    explicit StaticMesh(Environment* owner);  // owner: the scene; not owned
    ~StaticMesh() override;

    // Prepares the mesh (normals, texture coordinates) and records the list.
    void initialize() override;
    // Replays the list at the mesh's position and orientation; time is not used. The first render
    // of a mesh nobody initialised records it.
    void render(double time) override;
    std::string toString() const override;

protected:
    // The mesh's drawing without its transform.
    void renderPrimitives() override;
};

#endif
