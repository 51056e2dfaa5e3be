#ifndef KELVO_KEYFRAMEDMESH_H
#define KELVO_KEYFRAMEDMESH_H

#include <string>

#include "Matrix.h"
#include "StaticMesh.h"

class Environment;
class Keyframer;

// A display-listed mesh placed every frame by its keyframer, or without one by the mesh matrix its
// file stored. Its own position and orientation are not applied.
class KeyframedMesh : public StaticMesh {
public:
    explicit KeyframedMesh(Environment* owner);  // owner: the scene; not owned
    ~KeyframedMesh() override;

    // The placement used while there is no keyframer.
    void setMatrix(const Matrix& m);
    // Not owned: keyframers belong to the scene's keyframer controller. Null drops it.
    void setKeyframer(Keyframer* keyframer);
    Keyframer* getKeyframer() const { return keyframer; }

    // Prepares the mesh on its first call, then replays its list in its placement at time
    // (playback seconds).
    void render(double time) override;
    std::string toString() const override;

private:
    Matrix localMatrix;   // placement without a keyframer
    Keyframer* keyframer;  // not owned
};

#endif
