// Irrlicht 1.8 with its NULL driver: getMesh, the mesh cache and textures cleared after each load.
#include <irrlicht.h>

#include "Peer.h"

namespace {
class IrrlichtPeer : public Peer {
public:
    explicit IrrlichtPeer(irr::IrrlichtDevice* device) : device(device), scene(device->getSceneManager())
    {
        device->getLogger()->setLogLevel(irr::ELL_NONE);
    }
    ~IrrlichtPeer() override { device->drop(); }

    bool load(const std::string& file) override
    {
        mesh = scene->getMesh(file.c_str());
        return mesh != nullptr;
    }

    long triangles() override
    {
        irr::scene::IMesh* frame = mesh ? mesh->getMesh(0) : nullptr;
        long count = 0;
        for (irr::u32 b = 0; frame && b < frame->getMeshBufferCount(); ++b)
            count += frame->getMeshBuffer(b)->getIndexCount() / 3;
        return count;
    }

    void release() override
    {
        mesh = nullptr;
        scene->getMeshCache()->clear();
        device->getVideoDriver()->removeAllTextures();
    }

private:
    irr::IrrlichtDevice* device;  // owned, dropped with the peer
    irr::scene::ISceneManager* scene;
    irr::scene::IAnimatedMesh* mesh = nullptr;  // held by the mesh cache
};
}

std::unique_ptr<Peer> makePeer()
{
    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    if (!device)
        return nullptr;
    return std::make_unique<IrrlichtPeer>(device);
}
