#ifndef KELVO_LWFLOATENVELOPESUBCHUNK_H
#define KELVO_LWFLOATENVELOPESUBCHUNK_H

#include <cstdint>

#include "lwloader/LWSubChunk.h"

// A surface value with its envelope: DIFF, LUMI, SPEC or GLOS, a fraction where 1 is full.
class LWFloatEnvelopeSubChunk : public LWSubChunk {
public:
    explicit LWFloatEnvelopeSubChunk(int id);
    ~LWFloatEnvelopeSubChunk() override;

    int64_t readData(LWReader& reader) override;

    float getValue() const { return value; }
    uint32_t getEnvelope() const { return envelope; }

private:
    float value;
    uint32_t envelope;  // envelope index, 0 for none
};

#endif
