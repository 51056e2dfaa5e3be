#ifndef KELVO_HPBINTERPOLATOR_H
#define KELVO_HPBINTERPOLATOR_H

#include "keyframer/TCBVectorInterpolator.h"

// A track of (heading, pitch, bank) angle triples, splined like vectors; used by the keyframer.
class HPBInterpolator final : public TCBVectorInterpolator {
public:
    explicit HPBInterpolator(float framesPerSecond);

    using TCBVectorInterpolator::addKey;
    // The angles are stored as the vector (h, p, b).
    void addKey(float frame, float h, float p, float b);
    void addKey(float frame, float h, float p, float b, float tension, float continuity, float bias);
};

#endif
