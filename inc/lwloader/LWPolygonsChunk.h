#ifndef KELVO_LWPOLYGONSCHUNK_H
#define KELVO_LWPOLYGONSCHUNK_H

#include <cstddef>
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

    int getPolygonCount() const { return static_cast<int>(cornerStart.size()) - 1; }
    // A copy of the polygon's corners.
    std::vector<uint32_t> getVertexIndices(int polygon) const
    {
        return std::vector<uint32_t>(corners.begin() + cornerStart[polygon], corners.begin() + cornerStart[polygon + 1]);
    }
    int getVertexCount(int polygon) const
    {
        return static_cast<int>(cornerStart[polygon + 1] - cornerStart[polygon]);
    }
    // The actor's polygon number of polygon 0 once the faces were added, -1 before; the others
    // follow on. Numbers run on across the chunks of an object, so no two layers share one.
    int getFirstPolygon() const { return firstPolygon; }
    // The actor's bone index of polygon 0 once the bones were added, -1 before; the others follow.
    int getFirstBone() const { return firstBone; }

    // The actor's triangles cut from one polygon of the chunk, ascending.
    struct TriangleRun {
        const int* first;
        const int* last;
        const int* begin() const { return first; }
        const int* end() const { return last; }
    };
    // Those of polygon (0 to the polygon count - 1) once the faces were added; none before. Noted
    // as the faces are added, so that tagging and mapping a polygon ask the actor for nothing.
    TriangleRun getTriangles(int polygon) const
    {
        if (static_cast<size_t>(polygon) + 1 >= triangleStart.size())
            return TriangleRun{nullptr, nullptr};
        const int* block = triangles.data();
        return TriangleRun{block + triangleStart[polygon], block + triangleStart[polygon + 1]};
    }

private:
    void addBones(Actor* actor, LWLoader* loader, const LWPointsChunk& pointsChunk);
    void addFaces(Actor* actor, LWLoader* loader, const LWPointsChunk& pointsChunk);
    // The corner of polygon, 0 to its vertex count - 1.
    uint32_t corner(int polygon, int index) const { return corners[cornerStart[polygon] + index]; }
    // Links the bones this chunk added where one starts at another's end point.
    void linkBones(Actor* actor) const;

    int polygonType;  // ID_FACE, ID_BONE or another identifier number
    // The corners of all polygons in file order in one block: polygon i's run from cornerStart[i]
    // to cornerStart[i + 1], so reading a polygon allocates nothing of its own.
    std::vector<uint32_t> corners;
    std::vector<uint32_t> cornerStart;  // one more than there are polygons; a body is at most 4 GB
    // The triangles added for all polygons in one block, polygon i's from triangleStart[i] to
    // triangleStart[i + 1]; only the first entry before the faces were added.
    std::vector<int> triangles;
    std::vector<uint32_t> triangleStart;
    int firstPolygon;
    int firstBone;
};

#endif
