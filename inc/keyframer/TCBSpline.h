#ifndef KELVO_TCBSPLINE_H
#define KELVO_TCBSPLINE_H

// The cubic Hermite basis at u in [0, 1], from (u³, u², u, 1): h00, h01, h10, h11.
struct HermiteBasis {
    float h00, h01, h10, h11;
};

inline HermiteBasis hermiteBasis(float u)
{
    const float u2 = u * u;
    const float u3 = u2 * u;
    return {2.0f * u3 - 3.0f * u2 + 1.0f, -2.0f * u3 + 3.0f * u2, u3 - 2.0f * u2 + u, u3 - u2};
}

// Kochanek-Bartels spline through p1 (u = 0) and p2 (u = 1); t, c, b are the tension, continuity
// and bias of the segment's start key. Imported tracks are tuned for this placement of the
// continuity factors: (1 - c) incoming and (1 + c) outgoing at p1, the reverse at p2.
inline float tcbSpline(float p0, float p1, float p2, float p3, float u, float t, float c, float b)
{
    const float t1 = 0.5f * (1.0f - t) * ((1.0f - c) * (1.0f + b) * (p1 - p0) + (1.0f + c) * (1.0f - b) * (p2 - p1));
    const float t2 = 0.5f * (1.0f - t) * ((1.0f + c) * (1.0f + b) * (p2 - p1) + (1.0f - c) * (1.0f - b) * (p3 - p2));
    const HermiteBasis h = hermiteBasis(u);
    return h.h00 * p1 + h.h01 * p2 + h.h10 * t1 + h.h11 * t2;
}

#endif
