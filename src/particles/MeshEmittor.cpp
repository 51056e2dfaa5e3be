#include "MeshEmittor.h"

#include <algorithm>
#include <cmath>

#include "Actor.h"
#include "ComponentExceptions.h"
#include "Environment.h"
#include "Log.h"
#include "ParticleManager.h"
#include "ParticleSystem.h"
#include "ParticleTriangle.h"
#include "Surface.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {

ComponentNotFoundException notFound(const std::string& factory, const std::string& name)
{
    return ComponentNotFoundException(factory, "find() - Unable to find component \"" + name + "\".");
}
}

MeshEmittor::MeshEmittor(ParticleSystem* system)
    : actor(nullptr), system(system), boundVisualisation(nullptr), currentTriangle(0), surfaces(nullptr)
{
    addStringAction("loadObject", &MeshEmittor::loadObject);
    addStringAction("bindTriangleVisualisation", &MeshEmittor::bindTriangleVisualisation);
    addStringAction("enableEmitting", &ParticleEmittor::enableEmitting);
}

MeshEmittor::~MeshEmittor() = default;

void MeshEmittor::loadObject(std::string name)
{
    Actor* model = nullptr;
    try {
        ParticleManager* manager = system != nullptr ? system->getManager() : nullptr;
        Environment* scene = manager != nullptr ? manager->getOwner() : nullptr;
        if (scene == nullptr)
            throw notFound("Factory<Actor>", name);
        model = scene->getActors().find(name);
    } catch (const ComponentNotFoundException& e) {
        KELVO_LOG(LogLevel::info) << "Caught exception: " << e.getMessage() << logEnd;
        return;
    }

    const PointMap& points = model->getPoints();
    std::vector<Piece> loaded;
    loaded.reserve(model->getTriangles().size());
    for (const auto& entry : model->getTriangles()) {
        Piece piece;
        piece.triangle = entry.first;
        Vector corner[3];
        for (int k = 0; k < 3; ++k) {
            piece.points[k] = entry.second.getPoint(k);
            // A corner naming no point of the model sits at the origin.
            const PointMap::const_iterator point = points.find(piece.points[k]);
            corner[k] = point != points.end() ? point->second.toVector() : Vector();
        }
        // Each triangle is measured from the model's own points, so a point shared by several
        // triangles is a corner of each of them where the model has it.
        piece.centre = (corner[0] + corner[1] + corner[2]) / 3.0f;
        piece.extent = 0.0f;
        for (int k = 0; k < 3; ++k) {
            piece.corners[k] = corner[k] - piece.centre;
            piece.extent = std::max(piece.extent, std::fabs(piece.centre.x - corner[k].x));
        }
        try {
            piece.normal = entry.second.calcNormal(points);
        } catch (const Exception&) {
            piece.normal = Vector();  // a degenerate triangle has no direction of its own
        }
        const TextureCoordinate* coordinates = model->findTriangleTextureCoordinates(entry.first);
        piece.hasUVs = coordinates != nullptr;
        for (int k = 0; k < 3; ++k)
            piece.uvs[k] = coordinates != nullptr ? coordinates->getCoordinate(piece.points[k]) : UV();
        loaded.push_back(piece);
    }

    actor = model;
    surfaces = &model->getSurfaces();
    pieces.swap(loaded);
    setMaxParticles(static_cast<int>(pieces.size()));
}

void MeshEmittor::bindTriangleVisualisation(std::string name)
{
    ParticleManager* manager = system != nullptr ? system->getManager() : nullptr;
    if (manager == nullptr)
        throw notFound("Factory<ParticleVisualisation>", name);
    boundVisualisation = manager->findVisualisation(name);
}

RingBuffer<Particle>* MeshEmittor::emit(double time)
{
    if (getLifeMode() == 1)
        expireByAge(time, true);
    spawnDue(time);
    return getParticles();
}

std::unique_ptr<Particle> MeshEmittor::makeParticle(double time)
{
    // A model loaded since may have fewer triangles than the one the count went through.
    if (currentTriangle >= static_cast<int>(pieces.size()))
        currentTriangle = 0;
    const Piece& piece = pieces[currentTriangle];
    // Read now rather than at loading: the model's normals are made when it is first prepared.
    const Triangle* triangle = actor->getTriangle(piece.triangle);

    std::unique_ptr<Particle> particle(new Particle());
    particle->position = piece.centre;
    const float s = (2.0f * uniform() - 1.0f) * getSpeedRange() + getSpeed();
    // The spreads alone: the face normal gives the main direction.
    const double a = (2.0f * uniform() - 1.0f) * getAzimuthRange() * DEGREES_TO_RADIANS;
    const double b = (2.0f * uniform() - 1.0f) * getElevationRange() * DEGREES_TO_RADIANS;
    const Vector push(static_cast<float>(std::cos(a) * std::cos(b)), static_cast<float>(std::sin(b)),
                      static_cast<float>(std::sin(a) * std::cos(b)));
    // A model that was never drawn has no normals yet: the triangle's own, from its corners.
    Vector normal = triangle != nullptr ? triangle->getNormal() : Vector();
    if (normal.x == 0.0f && normal.y == 0.0f && normal.z == 0.0f)
        normal = piece.normal;
    particle->velocity = (push + normal) * (0.5f * s);
    particle->energy = 1.0f;
    particle->mass = uniform() * getMassRange() + getMass();
    particle->size = uniform() * getSizeRange() + piece.extent;
    particle->colour = getColour();
    particle->birthTime = time;
    particle->alive = true;

    if (boundVisualisation != nullptr) {
        std::unique_ptr<ParticleTriangle> carried(new ParticleTriangle());
        const PointNormalMap* normals = actor->findTrianglePointNormals(piece.triangle);
        for (int k = 0; k < 3; ++k) {
            carried->points[k] = piece.corners[k];
            carried->normals[k] = normals != nullptr ? normals->getNormal(piece.points[k]) : normal;
            carried->uvs[k] = piece.uvs[k];
        }
        carried->hasUVs = piece.hasUVs;
        if (triangle != nullptr && surfaces != nullptr) {
            const auto surface = surfaces->getComponents().find(triangle->getSurfaceName());
            if (surface != surfaces->getComponents().end())
                carried->surface = surface->second.get();
        }
        particle->triangle = std::move(carried);
    }

    currentTriangle = (currentTriangle + 1) % static_cast<int>(pieces.size());
    return particle;
}
