#ifndef KELVO_TCBVECTORINTERPOLATOR_H
#define KELVO_TCBVECTORINTERPOLATOR_H

#include "Vector.h"
#include "keyframer/TCBInterpolator.h"

// A track of positions or scales: one spline per component; default value (0, 0, 0).
class TCBVectorInterpolator : public TCBInterpolator<Vector> {
public:
    explicit TCBVectorInterpolator(float framesPerSecond);

    using TCBInterpolator<Vector>::addKey;
    // Spline parameters 0, unchecked.
    void addKey(float frame, const Vector& value);
    // Throws InvalidParameterValueException before adding when a parameter is outside [0, 1].
    void addKey(float frame, const Vector& value, float tension, float continuity, float bias);

    Vector interpolate(const Vector values[4], float u, float tension, float continuity, float bias) const override;
};

#endif
