#include "Sphere.h"

#include <algorithm>
#include <cmath>

namespace {
// pi / 180 in single precision.
const float RADIANS_PER_DEGREE = 0.017453292f;

// The point at polar angle theta from +z and azimuth phi, both in degrees.
Vector spherePoint(float radius, float theta, float phi)
{
    const float t = theta * RADIANS_PER_DEGREE;
    const float p = phi * RADIANS_PER_DEGREE;
    return Vector(radius * std::sin(t) * std::cos(p), radius * std::sin(t) * std::sin(p), radius * std::cos(t));
}
}

Sphere::Sphere(Environment* owner, float radius, unsigned latitudeSteps, unsigned longitudeSteps) : StaticMesh(owner)
{
    if (latitudeSteps == 0 || longitudeSteps == 0)
        return;
    const float dLat = 180.0f / static_cast<float>(latitudeSteps);  // degrees
    const float dLon = 360.0f / static_cast<float>(longitudeSteps);
    const float latEnd = 180.0f - dLat;
    if (latEnd < 0.0f)
        return;
    // Whole degrees of advance; at least one, so that more than 180 or 360 steps still end.
    const int latStep = std::max(1, static_cast<int>(dLat));
    const int lonStep = std::max(1, static_cast<int>(dLon));
    for (int lat = 0; static_cast<float>(lat) <= latEnd; lat += latStep) {
        const float theta = static_cast<float>(lat);
        for (int lon = 0; lon <= 360; lon += lonStep) {
            const float phi = static_cast<float>(lon);
            const int p1 = addPoint(spherePoint(radius, theta, phi));
            const int p2 = addPoint(spherePoint(radius, theta + dLat, phi));
            const int p3 = addPoint(spherePoint(radius, theta, phi + dLon));
            addTriangle(p1, p2, p3, -1);
            if (theta < latEnd) {
                const int p4 = addPoint(spherePoint(radius, theta + dLat, phi + dLon));
                addTriangle(p3, p2, p4, -1);
            }
        }
    }
}

Sphere::~Sphere() = default;
