#ifndef KELVO_PLANECOLLIDER_H
#define KELVO_PLANECOLLIDER_H

#include <vector>

#include "Particle.h"
#include "Plane.h"
#include "RingBuffer.h"

// Tests a ring's particles against a list of planes after each motion step and bounces, kills or
// sticks the ones that touch a plane: whose plane value is below their size squared.
class PlaneCollider {
public:
    static const int BOUNCE = 0;
    static const int KILL = 1;
    static const int STICK = 2;

    PlaneCollider();

    void addPlane(const Plane& plane) { planes.push_back(plane); }
    // BOUNCE, KILL or STICK; any other mode tests but does nothing.
    void setMode(int mode) { this->mode = mode; }
    int getMode() const { return mode; }
    const std::vector<Plane>& getPlanes() const { return planes; }

    // Once per frame per emitter; plane by plane, each particle from the oldest on.
    void collide(RingBuffer<Particle>* ring) const;
    // Reflects the velocity's normal part, scaled by the restitution, and restarts the particle
    // from its newest trail point along the new velocity over its last step.
    void bounce(Particle& particle, const Plane& plane) const;

private:
    int mode;
    std::vector<Plane> planes;  // tested in list order
    float restitution;          // share of the normal speed kept by a bounce
};

#endif
