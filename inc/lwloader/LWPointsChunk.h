#ifndef KELVO_LWPOINTSCHUNK_H
#define KELVO_LWPOINTSCHUNK_H

#include <cstdint>
#include <string>
#include <vector>

#include "Vector.h"
#include "lwloader/LWChunk.h"
#include "lwloader/LWLoaderException.h"

// PNTS: the points of a layer. Outside a bone layer they become points of the actor; the
// polygons, maps and tags that follow refer to them by their position in this chunk, which
// actorPoint turns into the actor's point index.
class LWPointsChunk : public LWChunk {
public:
    LWPointsChunk();
    ~LWPointsChunk() override;

    int64_t readData(LWReader& reader) override;
    // Adds every point to the actor, unless the current layer is a bone layer.
    void fillObject(Actor* actor, LWLoader* loader) override;

    int getPointCount() const { return static_cast<int>(points.size()); }
    const Vector& getPoint(int i) const { return points[i]; }
    const std::vector<Vector>& getPoints() const { return points; }
    // Whether fillObject added the points to the actor.
    bool isApplied() const { return applied; }
    // The actor's index of the chunk's point i; -1 when i lies beyond the chunk's points or they
    // were not added.
    int actorPoint(uint32_t i) const;
    // Why actorPoint(i) is -1, naming the file and user, what refers to the point.
    LWLoaderException pointFailure(uint32_t i, const std::string& file, const std::string& user) const;

private:
    std::vector<Vector> points;    // object units; z negated, LightWave's +z being OpenGL's -z
    std::vector<int> actorPoints;  // the actor's index of each point, once added
    bool applied;
};

#endif
