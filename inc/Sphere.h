#ifndef KELVO_SPHERE_H
#define KELVO_SPHERE_H

#include "StaticMesh.h"

class Environment;

// A latitude/longitude sphere of triangles around its origin, drawn from a display list. The z
// axis runs through the poles (z = radius at latitude 0). Each quad between two latitudes and two
// longitudes has points of its own; the steps advance by whole degrees while each quad spans the
// exact step, so the last column overlaps the first.
class Sphere : public StaticMesh {
public:
    // owner: the scene; not owned. radius in scene units; the step counts divide 180 degrees of
    // latitude and 360 of longitude. A count of 0 leaves the sphere empty.
    Sphere(Environment* owner, float radius, unsigned latitudeSteps, unsigned longitudeSteps);
    ~Sphere() override;
};

#endif
