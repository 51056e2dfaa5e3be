#ifndef KELVO_SPRITE3DVISUALISATION_H
#define KELVO_SPRITE3DVISUALISATION_H

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Action.inl"
#include "ParticleVisualisation.h"

class Environment;
class Sprite3D;

// Draws every particle as a camera-facing sprite whose width and height are the particle's size,
// sorted by distance from the scene's current camera and drawn farthest first without depth test,
// so nearer sprites cover farther ones. Once an energy ramp is set, each sprite is blended with
// the ramp's colour for its energy (GL_CONSTANT_COLOR): the ramp's left end for full energy, its
// right end for spent particles. Blending itself is the scene's to switch on.
//
// Action: "setEnergyTexture" (a texture name of the scene). Its sprite is the child action object
// "Sprite", so "Sprite.setTexture" gives the sprite its image; the scene never draws that sprite
// itself.
class Sprite3DVisualisation : public ParticleVisualisation, public Action<Sprite3DVisualisation> {
public:
    // owner: the scene whose current camera, textures and sprites are used; not owned, and it must
    // not be null.
    explicit Sprite3DVisualisation(Environment* owner);
    ~Sprite3DVisualisation() override;

    // Reads the first level of the scene's texture named name back as the energy ramp, replacing
    // the ramp before. Throws the texture manager's ComponentNotFoundException, keeping the ramp,
    // when there is no texture of that name. Leaves the texture binding as it found it.
    void setEnergyTexture(std::string name);
    // Draws with the scene's camera-facing sprite of that name instead of the own one; throws the
    // sprite registry's ComponentNotFoundException when there is none. The child "Sprite" stays the
    // own sprite.
    void setSprite(const std::string& name);

    // The sprite at position with the particle's size, untinted.
    void renderAt(Particle* particle, const Vector& position) override;
    // The sprite at the particle, tinted for its energy when there is a ramp; no state of the sorted
    // drawing is set.
    void renderParticle(Particle* particle) override;
    // Sorted drawing of the ring. Throws the camera controller's ComponentNotFoundException, before
    // changing any state, when the scene has no current camera. Afterwards, also after a failing
    // sprite, depth testing is on, the blend function is (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA) and
    // the texture environment colour is transparent black.
    void renderAll(RingBuffer<Particle>* ring) override;

    int getRampWidth() const { return rampWidth; }
    int getRampHeight() const { return rampHeight; }

private:
    // The ramp pixel tinting a particle of energy: energies outside 0..1 take the nearer end.
    int rampIndex(float energy) const;
    void draw(const Vector& position, float size);
    // glBlendColor with the ramp's colour for energy; nothing without a ramp.
    void tint(float energy) const;

    std::unique_ptr<Sprite3D> ownSprite;  // the child "Sprite"
    Sprite3D* sprite;                     // the sprite drawn: ownSprite's or one of the scene's
    std::vector<float> ramp;              // rampWidth x rampHeight RGBA pixels, the first row first
    int rampWidth;                        // pixels per row
    int rampHeight;                       // rows read back; only the first is used
    Environment* owner;                   // not owned
    // The frame's drawing order: squared distance from the eye (units²) and particle, farthest
    // first. Kept between frames so sorting allocates only when a ring outgrows it.
    std::vector<std::pair<float, Particle*>> order;
};

#endif
