#ifndef KELVO_LWSTILSUBCHUNK_H
#define KELVO_LWSTILSUBCHUNK_H

#include <cstdint>
#include <string>

#include "lwloader/LWSubChunk.h"

// STIL of a clip: the path of a still image as the modeller saved it.
class LWStilSubChunk : public LWSubChunk {
public:
    LWStilSubChunk();
    ~LWStilSubChunk() override;

    int64_t readData(LWReader& reader) override;

    const std::string& getFileName() const { return fileName; }

private:
    std::string fileName;  // kept whole, however long
};

#endif
