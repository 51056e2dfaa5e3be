#ifndef KELVO_LWVECTORSUBCHUNK_H
#define KELVO_LWVECTORSUBCHUNK_H

#include <cstdint>

#include "Vector.h"
#include "lwloader/LWSubChunk.h"

// A vector with its envelope: CNTR, SIZE or ROTA of a texture placement (positions and sizes in
// object units, rotations as heading, pitch and bank in radians).
class LWVectorSubChunk : public LWSubChunk {
public:
    explicit LWVectorSubChunk(int id);
    ~LWVectorSubChunk() override;

    int64_t readData(LWReader& reader) override;

    Vector getVector() const { return vector; }
    uint32_t getEnvelope() const { return envelope; }

private:
    Vector vector;      // as in the file: z not negated
    uint32_t envelope;  // envelope index, 0 for none
};

#endif
