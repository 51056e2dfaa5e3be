#ifndef KELVO_LWSTRINGSUBCHUNK_H
#define KELVO_LWSTRINGSUBCHUNK_H

#include <cstdint>
#include <string>

#include "lwloader/LWSubChunk.h"

// A sub-chunk holding one string: OREF, the object a texture placement refers to.
class LWStringSubChunk : public LWSubChunk {
public:
    explicit LWStringSubChunk(int id);
    ~LWStringSubChunk() override;

    int64_t readData(LWReader& reader) override;

    const std::string& getText() const { return text; }

private:
    std::string text;  // "(none)" until read
};

#endif
