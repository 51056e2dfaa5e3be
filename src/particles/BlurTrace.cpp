#include "BlurTrace.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

#include "ParticleSystem.h"
#include "ParticleVisualisation.h"

namespace {
// The engine's window, pixels.
const int WINDOW_WIDTH = 640;
const int WINDOW_HEIGHT = 480;
// The blurred copy's region: right of the window, one pixel clear of it.
const int REGION_X = 641;
const int REGION_SCISSOR_WIDTH = 1281;
}

BlurTrace::BlurTrace(ParticleSystem* owner) : Trace(owner)
{
}

void BlurTrace::renderParticle(Particle*)
{
}

void BlurTrace::renderAll(RingBuffer<Particle>* ring)
{
    if (ring->size() == 0)
        return;
    glEnable(GL_SCISSOR_TEST);
    glScissor(REGION_X, 0, REGION_SCISSOR_WIDTH, WINDOW_HEIGHT);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(REGION_X, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
    const auto restore = [] {
        glDisable(GL_SCISSOR_TEST);
        glViewport(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
        glRasterPos2i(0, 0);
    };

    Particle* oldest = (*ring)[0];
    const RingBuffer<Vector>& trail = oldest->trail;
    try {
        if (getOwner() != nullptr)
            for (int i = 0; i < trail.size(); ++i)
                for (ParticleVisualisation* visualisation : getOwner()->visualisationList())
                    visualisation->renderAt(oldest, *trail[i]);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

bool BlurTrace::trailScreenRect(const Particle& particle, int i, Vector& lower, Vector& upper)
{
    if (i < 0 || i >= particle.trail.size())
        return false;
    GLdouble modelview[16];
    GLdouble projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);

    const Vector& centre = *particle.trail[i];
    const double s = particle.size;
    bool first = true;
    for (int corner = 0; corner < 8; ++corner) {
        const double x = centre.x + ((corner & 1) ? s : -s);
        const double y = centre.y + ((corner & 2) ? s : -s);
        const double z = centre.z + ((corner & 4) ? s : -s);
        GLdouble wx = 0.0, wy = 0.0, wz = 0.0;
        gluProject(x, y, z, modelview, projection, viewport, &wx, &wy, &wz);
        const float px = static_cast<float>(wx);
        const float py = static_cast<float>(wy);
        if (first) {
            lower.x = upper.x = px;
            lower.y = upper.y = py;
            first = false;
        } else {
            lower.x = std::min(lower.x, px);
            lower.y = std::min(lower.y, py);
            upper.x = std::max(upper.x, px);
            upper.y = std::max(upper.y, py);
        }
    }
    return true;
}
