#ifndef KELVO_TCBKEY_H
#define KELVO_TCBKEY_H

#include "Exception.h"

// One key of a track: a value at a frame and the tension, continuity and bias of the spline
// segment that starts at this key.
template <typename T> class TCBKey {
public:
    // The spline parameters must lie in [0, 1]; throws InvalidParameterValueException otherwise.
    TCBKey(float frame, const T& value, float tension, float continuity, float bias)
        : frame(frame), value(value), tension(tension), continuity(continuity), bias(bias)
    {
        // Written as !(x >= 0) so that a NaN counts as below zero.
        if (!(tension >= 0.0f) || !(continuity >= 0.0f) || !(bias >= 0.0f))
            throw InvalidParameterValueException("TCBKey<keyType>::Constructor - Unable to create key. Spline "
                                                 "flags contain illegal (below zero) values");
        if (tension > 1.0f || continuity > 1.0f || bias > 1.0f)
            throw InvalidParameterValueException("TCBKey<keyType>::Constructor - Unable to create key. Spline "
                                                 "flags contain illegal (above one) values");
    }

    // All three spline parameters 0.
    TCBKey(float frame, const T& value) : frame(frame), value(value), tension(0.0f), continuity(0.0f), bias(0.0f) {}

    TCBKey(const TCBKey& other) = default;
    TCBKey& operator=(const TCBKey& other) = default;

    float frame;  // frame number, not necessarily whole
    T value;
    float tension;
    float continuity;
    float bias;
};

#endif
