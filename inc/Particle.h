#ifndef KELVO_PARTICLE_H
#define KELVO_PARTICLE_H

#include <memory>

#include "RGBA.h"
#include "RingBuffer.h"
#include "Vector.h"

struct ParticleTriangle;
struct PathState;

// One particle: a plain record that the emitter fills at birth and the motion strategies, the
// collider and the visualisations read and change each frame. Owned by its emitter's ring.
class Particle {
public:
    static const int TRAIL_LENGTH = 10;

    Particle();
    ~Particle();
    Particle(const Particle&) = delete;
    Particle& operator=(const Particle&) = delete;

    Vector position;
    float lastStep;  // seconds: length of the last physical motion step; 0 until one is taken
    bool alive;      // moved by the motion strategies; cleared when the particle sticks to a plane
    RingBuffer<Vector> trail;  // past positions, oldest first
    std::unique_ptr<ParticleTriangle> triangle;  // null unless a mesh emitter or a visualisation gives one
    std::unique_ptr<PathState> pathState;        // null until a predefined path first steps it
    Vector velocity;   // units per second
    float energy;      // 1 at birth, fading towards 0; 0 or less ends the particle
    float mass;
    float size;        // radius, units
    RGBA colour;
    double birthTime;  // seconds
};

#endif
