#include "PlaneCollider.h"

PlaneCollider::PlaneCollider() : mode(BOUNCE), restitution(0.6f) {}

void PlaneCollider::collide(RingBuffer<Particle>* ring) const
{
    for (const Plane& plane : planes) {
        int i = 0;
        while (i < ring->size()) {
            Particle& p = *(*ring)[i];
            // Alive is not consulted: a stuck particle keeps being tested.
            const float v = plane.distance(p.position, true);
            if (!(v < p.size * p.size)) {
                ++i;
                continue;
            }
            switch (mode) {
            case BOUNCE:
                bounce(p, plane);
                break;
            case KILL:
                // The next particle moves into place i and is tested next.
                ring->erase(i);
                continue;
            case STICK:
                p.position += plane.getNormal() * (p.size - plane.distance(p.position, false));
                p.alive = false;
                break;
            default:
                break;
            }
            ++i;
        }
    }
}

void PlaneCollider::bounce(Particle& particle, const Plane& plane) const
{
    const Vector normal = plane.getNormal();
    particle.velocity -= normal * ((1.0f + restitution) * particle.velocity.dot(normal));
    // Without a recorded trail point there is nowhere to restart from: the position stays.
    if (particle.trail.size() > 0)
        particle.position = *particle.trail[particle.trail.size() - 1] + particle.velocity * particle.lastStep;
}
