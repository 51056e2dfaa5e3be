#ifndef KELVO_STATICMESH_H
#define KELVO_STATICMESH_H

#include <memory>
#include <string>

#include "Mesh.h"
#include "OGLObject.h"

class Environment;
class Surface;
class Texture;

// A mesh drawn from a display list: the mesh's immediate-mode drawing is recorded once, in the
// mesh's local frame, and each frame costs one list call inside the mesh's transform. A change of
// the mesh's points, triangles, surface names, texture coordinates or own surface's textures drops
// the recording, so the next render records it again; a change made to a surface itself (its
// material) shows only when the mesh is initialised again.
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
    void drawingChanged() override;

    // Adds texture (the scene's; not owned) to the mesh's own surface surfaceName, made with the
    // owner scene at the first call and named by every triangle from then on. A further call adds
    // a further texture to the same surface.
    void addOwnSurfaceTexture(const std::string& surfaceName, Texture* texture);
};

#endif
