#ifndef KELVO_LWCHANSUBCHUNK_H
#define KELVO_LWCHANSUBCHUNK_H

#include <cstdint>

#include "lwloader/LWSubChunk.h"

// CHAN of a block header: the surface channel the block feeds, as the identifier number of its
// four-character code (ID_COLR for the colour channel, ID_OTHER for codes not listed).
class LWChanSubChunk : public LWSubChunk {
public:
    LWChanSubChunk();
    ~LWChanSubChunk() override;

    int64_t readData(LWReader& reader) override;

    int getChannel() const { return channel; }

private:
    int channel;
};

#endif
