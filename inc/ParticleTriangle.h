#ifndef KELVO_PARTICLETRIANGLE_H
#define KELVO_PARTICLETRIANGLE_H

#include "UV.h"
#include "Vector.h"

class Surface;

// A triangle a particle carries and the triangle visualisation draws: the piece of a model that
// a mesh emitter breaks off, or a random one made on the first draw. Owned by its particle.
struct ParticleTriangle {
    Vector points[3];   // relative to the particle's position
    Vector normals[3];  // vertex normals
    bool hasUVs = false;
    UV uvs[3];                   // texture coordinates of the three points, when hasUVs
    Surface* surface = nullptr;  // drawing surface, or null; not owned (the model's registry holds it)
};

#endif
