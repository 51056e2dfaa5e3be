#include "TriangleVisualisation.h"

#include <GL/gl.h>

#include <cmath>

#include "GLMatrixScope.h"
#include "ParticleTriangle.h"
#include "Random.h"
#include "Surface.h"

namespace {
// The single-precision value nearest to 1 / 32767: a generator value times it spans 0..1.
const float RANDOM_SCALE = 1.0f / 32767.0f;
// The value of pi the random triangles were always made with, a little above pi.
const float PI = 3.141592687f;

float uniform()
{
    return static_cast<float>(Random::next()) * RANDOM_SCALE;
}
}

TriangleVisualisation::TriangleVisualisation() = default;

void TriangleVisualisation::createTriangle(Particle* particle)
{
    particle->triangle.reset(new ParticleTriangle());
    ParticleTriangle& triangle = *particle->triangle;
    for (int k = 0; k < 2; ++k) {
        const float a = uniform() * 2.0f * PI;  // azimuth, radians
        const float b = uniform() * PI;         // elevation, radians
        triangle.points[k] =
            Vector(std::cos(b) * std::cos(a), std::sin(b), std::cos(b) * std::sin(a)) * particle->size;
    }
}

void TriangleVisualisation::renderAt(Particle*, const Vector&)
{
}

void TriangleVisualisation::renderParticle(Particle* particle)
{
    if (!particle->triangle)
        createTriangle(particle);
    const ParticleTriangle& triangle = *particle->triangle;
    glMatrixMode(GL_MODELVIEW);
    const GLMatrixScope matrix;
    glTranslatef(particle->position.x, particle->position.y, particle->position.z);
    if (triangle.surface != nullptr)
        triangle.surface->enable();
    const bool textured = triangle.hasUVs && triangle.surface != nullptr;
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < 3; ++k) {
        if (textured)
            triangle.surface->texCoord(triangle.uvs[k].u, triangle.uvs[k].v);
        glNormal3f(triangle.normals[k].x, triangle.normals[k].y, triangle.normals[k].z);
        glVertex3f(triangle.points[k].x, triangle.points[k].y, triangle.points[k].z);
    }
    glEnd();
}

void TriangleVisualisation::renderAll(RingBuffer<Particle>* ring)
{
    for (int i = 0; i < ring->size(); ++i)
        renderParticle((*ring)[i]);
}
