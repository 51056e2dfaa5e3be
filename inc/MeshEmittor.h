#ifndef KELVO_MESHEMITTOR_H
#define KELVO_MESHEMITTOR_H

#include <string>
#include <vector>

#include "Action.inl"
#include "Factory.h"
#include "ParticleEmittor.h"
#include "UV.h"

class Actor;
class ParticleSystem;
class ParticleVisualisation;
class Surface;

// Breaks a model of the scene into its triangles: each particle starts at the centre of one
// triangle, triangle after triangle in index order, and flies off at half its speed along the
// triangle's face normal plus a random, mostly sideways push. Once a triangle visualisation is
// bound, each particle carries a copy of its triangle (corners around the centre, vertex normals,
// texture coordinates and surface), so that the visualisation draws the flying piece itself. With
// interval 0 one frame bursts the whole model.
//
// Actions, string parameters: "loadObject" (a model of the scene's actor registry),
// "bindTriangleVisualisation" (a visualisation of the particle manager) and "enableEmitting".
class MeshEmittor : public ParticleEmittor, public Action<MeshEmittor> {
public:
    // system: the owning system, through whose manager the emitter reaches the scene and the
    // visualisations; not owned.
    explicit MeshEmittor(ParticleSystem* system);
    ~MeshEmittor() override;

    // Life mode 1 fades by age; there is no fading by distance.
    RingBuffer<Particle>* emit(double time) override;

    // Takes the scene's model of that name apart: the ring then holds one particle per triangle and
    // its old particles are gone. An unknown name is logged and changes nothing. The model is read
    // again at every spawn for its face normals, vertex normals and surfaces, which its preparation
    // for drawing computes; until then each triangle's normal is worked out from its corners here,
    // and serves as its vertex normals too.
    void loadObject(std::string name);
    // New particles carry their triangle from now on. Throws the manager's
    // ComponentNotFoundException, keeping the binding, when it has no visualisation of that name.
    // The visualisation still has to be in the system's draw list to draw anything.
    void bindTriangleVisualisation(std::string name);

    Actor* getActor() const { return actor; }
    ParticleVisualisation* getBoundVisualisation() const { return boundVisualisation; }
    // The triangles taken from the model.
    int getTriangleCount() const { return static_cast<int>(pieces.size()); }
    // Which of them the next particle comes from, counted in the model's triangle order.
    int getCurrentTriangle() const { return currentTriangle; }

protected:
    // Needs a model with triangles; without one the emitter waits as if switched off.
    bool canSpawn() const override { return !pieces.empty(); }
    // The current triangle's particle; five draws of the engine's generator.
    std::unique_ptr<Particle> makeParticle(double time) override;

private:
    // One triangle of the model as loaded.
    struct Piece {
        int triangle;        // its index in the model
        int points[3];       // the model's point indices of its corners
        Vector centre;       // mean of the corners, model units
        Vector corners[3];   // relative to the centre
        float extent;        // largest distance along x from the centre to a corner
        Vector normal;       // its face normal from the corners, for a model not yet prepared
        bool hasUVs;         // the model had texture coordinates for it
        UV uvs[3];
    };

    Actor* actor;                               // the model; not owned
    ParticleSystem* system;                     // not owned
    ParticleVisualisation* boundVisualisation;  // not owned; only switches the triangle copies on
    int currentTriangle;                        // position in pieces
    Factory<Surface>* surfaces;                 // the model's surface library; not owned
    std::vector<Piece> pieces;                  // the model's triangles in index order
};

#endif
