// lib3ds 1.3 (3D Studio files only): lib3ds_file_load, the file freed after each load.
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>

#include "Peer.h"

namespace {
class Lib3dsPeer : public Peer {
public:
    ~Lib3dsPeer() override { release(); }

    bool load(const std::string& file) override
    {
        loaded = lib3ds_file_load(file.c_str());
        return loaded != nullptr;
    }

    long triangles() override
    {
        long count = 0;
        for (Lib3dsMesh* mesh = loaded ? loaded->meshes : nullptr; mesh; mesh = mesh->next)
            count += mesh->faces;
        return count;
    }

    void release() override
    {
        if (loaded)
            lib3ds_file_free(loaded);
        loaded = nullptr;
    }

private:
    Lib3dsFile* loaded = nullptr;  // owned
};
}

std::unique_ptr<Peer> makePeer()
{
    return std::make_unique<Lib3dsPeer>();
}
