#ifndef KELVO_QUATERNIONINTERPOLATOR_H
#define KELVO_QUATERNIONINTERPOLATOR_H

#include "Quaternion.h"
#include "keyframer/TCBInterpolator.h"

// A track of rotations: spherical interpolation between the two keys of a segment; tension,
// continuity and bias are stored but do not shape the result. Default value the identity.
class QuaternionInterpolator final : public TCBInterpolator<Quaternion> {
public:
    explicit QuaternionInterpolator(float framesPerSecond);

    using TCBInterpolator<Quaternion>::addKey;
    // Spline parameters 0, unchecked.
    void addKey(float frame, const Quaternion& value);
    // Throws InvalidParameterValueException before adding when a parameter is outside [0, 1].
    void addKey(float frame, const Quaternion& value, float tension, float continuity, float bias);

    Quaternion interpolate(const Quaternion values[4], float u, float tension, float continuity,
                           float bias) const override;
};

#endif
