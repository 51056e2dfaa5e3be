// assimp 5.2: Importer::ReadFile with triangulation (the engine's meshes are triangles too); the
// scene freed after each load.
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "Peer.h"

namespace {
class AssimpPeer : public Peer {
public:
    bool load(const std::string& file) override
    {
        scene = importer.ReadFile(file, aiProcess_Triangulate);
        return scene != nullptr;
    }

    long triangles() override
    {
        long count = 0;
        for (unsigned m = 0; scene && m < scene->mNumMeshes; ++m)
            for (unsigned f = 0; f < scene->mMeshes[m]->mNumFaces; ++f)
                count += scene->mMeshes[m]->mFaces[f].mNumIndices == 3;
        return count;
    }

    void release() override
    {
        importer.FreeScene();
        scene = nullptr;
    }

private:
    Assimp::Importer importer;
    const aiScene* scene = nullptr;  // owned by the importer
};
}

std::unique_ptr<Peer> makePeer()
{
    return std::make_unique<AssimpPeer>();
}
