#ifndef KELVO_TCBFLOATINTERPOLATOR_H
#define KELVO_TCBFLOATINTERPOLATOR_H

#include "keyframer/TCBInterpolator.h"

// A track of numbers (roll angles, alpha, sprite rotation); default value 0.
class TCBFloatInterpolator final : public TCBInterpolator<float> {
public:
    explicit TCBFloatInterpolator(float framesPerSecond);

    using TCBInterpolator<float>::addKey;
    // Spline parameters 0, unchecked.
    void addKey(float frame, float value);
    // Throws InvalidParameterValueException before adding when a parameter is outside [0, 1].
    void addKey(float frame, float value, float tension, float continuity, float bias);

    float interpolate(const float values[4], float u, float tension, float continuity, float bias) const override;
};

#endif
