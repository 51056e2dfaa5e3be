#ifndef KELVO_LWPOLYGONSCHUNK_H
#define KELVO_LWPOLYGONSCHUNK_H

#include <cstdint>
#include <vector>

#include "lwloader/LWChunk.h"

class LWPointsChunk;

// POLS: the polygons of a layer, by the positions of their corners in the layer's points chunk.
// FACE polygons become the actor's triangles (outside a bone layer); BONE polygons become its
// bones, linked where one starts at another's end point. Other kinds are skipped.
class LWPolygonsChunk : public LWChunk {
public:
    LWPolygonsChunk();
    ~LWPolygonsChunk() override;

    int64_t readData(LWReader& reader) override;
    void fillObject(Actor* actor, LWLoader* loader) override;
    int getPolygonType() const override;

    int getPolygonCount() const { return static_cast<int>(vertexIndices.size()); }
    const std::vector<uint32_t>& getVertexIndices(int polygon) const { return vertexIndices[polygon]; }
    int getVertexCount(int polygon) const { return static_cast<int>(vertexIndices[polygon].size()); }
    // The actor's polygon number of polygon 0 once the faces were added, -1 before; the others
    // follow on. Numbers run on across the chunks of an object, so no two layers share one.
    int getFirstPolygon() const { return firstPolygon; }
    // The actor's bone index of polygon 0 once the bones were added, -1 before; the others follow.
    int getFirstBone() const { return firstBone; }

private:
    void addBones(Actor* actor, LWLoader* loader, const LWPointsChunk& pointsChunk);
    void addFaces(Actor* actor, LWLoader* loader, const LWPointsChunk& pointsChunk);
    // Links the bones this chunk added where one starts at another's end point.
    void linkBones(Actor* actor) const;

    int polygonType;  // ID_FACE, ID_BONE or another identifier number
    std::vector<std::vector<uint32_t>> vertexIndices;  // corners of each polygon, file order
    int firstPolygon;
    int firstBone;
};

#endif
