#ifndef KELVO_LWLAYERCHUNK_H
#define KELVO_LWLAYERCHUNK_H

#include <cstdint>

#include "lwloader/LWChunk.h"

// LAYR: opens a layer; the chunks up to the next LAYR belong to it. Only its number is kept (its
// flags, pivot, name and parent are skipped).
class LWLayerChunk : public LWChunk {
public:
    LWLayerChunk();
    ~LWLayerChunk() override;

    int64_t readData(LWReader& reader) override;
    // Nothing: the loader makes it the current layer.
    void fillObject(Actor* actor, LWLoader* loader) override;
    int getLayerNumber() const override;

private:
    uint16_t layerNumber;
};

#endif
