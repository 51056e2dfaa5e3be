#include "lwloader/LWPolygonsChunk.h"

#include <algorithm>
#include <set>
#include <string>
#include <unordered_map>

#include "Actor.h"
#include "Bone.h"
#include "Log.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWPointsChunk.h"
#include "lwloader/LWReader.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
// The low ten bits of a polygon's first word count its corners; the high six are flags.
const uint16_t VERTEX_COUNT_MASK = 0x3FF;

// Levels a bone chain of one chunk may reach. Real skeletons are a few dozen bones deep; drawing
// and skinning walk the chain recursively, so a file's chain is not allowed to exhaust the stack.
const int MAX_BONE_DEPTH = 128;

// The bone tree of one BONE chunk while it is linked, by polygon number. Linking only ever hangs a
// root below another bone, so a cycle check and the depth walk up a chain of at most
// MAX_BONE_DEPTH bones.
class BoneForest {
public:
    explicit BoneForest(size_t count) : parent(count, -1), height(count, 0) {}

    // Whether child may go below parent: the bones stay a forest no deeper than the limit, and a
    // bone that has a parent keeps it.
    bool canLink(int child, int parentBone) const
    {
        if (child == parentBone || parent[child] >= 0)
            return false;
        int depth = 0;
        for (int above = parentBone; above >= 0; above = parent[above]) {
            if (above == child)
                return false;
            ++depth;
        }
        return depth + height[child] < MAX_BONE_DEPTH;
    }

    bool hasParent(int bone) const { return parent[bone] >= 0; }

    void link(int child, int parentBone)
    {
        parent[child] = parentBone;
        int below = height[child] + 1;
        for (int above = parentBone; above >= 0 && height[above] < below; above = parent[above], ++below)
            height[above] = below;
    }

private:
    std::vector<int> parent;  // -1 for a root
    std::vector<int> height;  // levels below the bone
};
}

LWPolygonsChunk::LWPolygonsChunk()
    : LWChunk(ID_POLS), polygonType(ID_OTHER), cornerStart(1, 0), triangleStart(1, 0), firstPolygon(-1), firstBone(-1)
{
}

LWPolygonsChunk::~LWPolygonsChunk() = default;

int LWPolygonsChunk::getPolygonType() const
{
    return polygonType;
}

int64_t LWPolygonsChunk::readData(LWReader& reader)
{
    std::string type;
    if (readChunkId(reader, polygonType, type) != 4)
        return READ_FAILED;
    if (polygonType != ID_FACE && polygonType != ID_BONE)
        return 4 + reader.skip(reader.remaining());

    int64_t consumed = 4;
    // Every polygon takes at least its 2-byte count and every corner 2 bytes or more, so neither
    // block grows beyond this while the body is read.
    corners.reserve(corners.size() + reader.remaining() / 2);
    cornerStart.reserve(cornerStart.size() + reader.remaining() / 2);
    while (consumed < getSize()) {
        uint16_t word;
        if (reader.readU2(word) != 2)
            return READ_FAILED;
        consumed += 2;
        const uint16_t count = word & VERTEX_COUNT_MASK;
        if (polygonType == ID_BONE && count < 2) {
            reader.fail("bone polygon " + std::to_string(getPolygonCount()) + " has " + std::to_string(count) +
                        " corners where a bone needs two");
            return READ_FAILED;
        }
        if (!reader.hasRoomFor(count, 2)) {
            reader.fail("polygon " + std::to_string(getPolygonCount()) + " has " + std::to_string(count) +
                        " corners where " + std::to_string(reader.remaining()) + " bytes remain");
            return READ_FAILED;
        }
        const size_t first = corners.size();
        for (uint16_t c = 0; c < count; ++c) {
            uint32_t corner;
            int64_t bytes = reader.readVX(corner);
            if (bytes == 0) {
                corners.resize(first);
                return READ_FAILED;
            }
            corners.push_back(corner);
            consumed += bytes;
        }
        cornerStart.push_back(static_cast<uint32_t>(corners.size()));
    }
    return consumed;
}

void LWPolygonsChunk::fillObject(Actor* actor, LWLoader* loader)
{
    const LWPointsChunk* pointsChunk = loader->findPreviousChunk<LWPointsChunk>(ID_PNTS);
    if (!pointsChunk) {
        KELVO_LOG(LogLevel::error) << "fillObject() - Points chunk not found!" << logEnd;
        return;
    }
    switch (polygonType) {
    case ID_BONE:
        addBones(actor, loader, *pointsChunk);
        break;
    case ID_FACE:
        if (!loader->isBoneLayer())
            addFaces(actor, loader, *pointsChunk);
        break;
    default:
        KELVO_LOG(LogLevel::warning) << "fillObject() - Unsupported polygons chunk type. Ignoring."
                     << logEnd;
        break;
    }
}

void LWPolygonsChunk::addBones(Actor* actor, LWLoader* loader, const LWPointsChunk& pointsChunk)
{
    const int count = getPolygonCount();
    // A bone runs from its polygon's first corner to its second, both points of the chunk itself:
    // a bone layer adds no points to the actor.
    for (int i = 0; i < count; ++i) {
        for (int c = 0; c < 2; ++c) {
            if (corner(i, c) >= static_cast<uint32_t>(pointsChunk.getPointCount()))
                throw LWLoaderException("LWPolygonsChunk",
                                        "fillObject() - File \"" + loader->getFileName() + "\": bone polygon " +
                                            std::to_string(i) + " names point " + std::to_string(corner(i, c)) +
                                            ", beyond the " + std::to_string(pointsChunk.getPointCount()) +
                                            " points of its points chunk.");
        }
    }
    for (int i = 0; i < count; ++i) {
        const Vector& start = pointsChunk.getPoint(static_cast<int>(corner(i, 0)));
        const Vector& end = pointsChunk.getPoint(static_cast<int>(corner(i, 1)));
        int bone = actor->addBone(start, end - start);
        if (i == 0)
            firstBone = bone;
    }
    linkBones(actor);
}

void LWPolygonsChunk::linkBones(Actor* actor) const
{
    // A bone that starts where another ends is that one's child. The pairs i <= j are tried in
    // order, i before j, the link of bone i below bone j before the one of bone j below bone i;
    // the bones are found by their start and end points instead of by trying every pair.
    const int count = getPolygonCount();
    std::unordered_map<uint32_t, std::vector<int>> endingAt;         // bones by end point, ascending
    std::unordered_map<uint32_t, std::set<int>> parentlessStartingAt;  // bones by start point
    for (int i = 0; i < count; ++i) {
        endingAt[corner(i, 1)].push_back(i);
        parentlessStartingAt[corner(i, 0)].insert(i);
    }
    BoneForest forest(static_cast<size_t>(count));
    const auto link = [&](int child, int parent) {
        forest.link(child, parent);
        parentlessStartingAt[corner(child, 0)].erase(child);
        Bone* childBone = actor->getBone(firstBone + child);
        Bone* parentBone = actor->getBone(firstBone + parent);
        childBone->setParent(parentBone);
        parentBone->addChild(childBone);
    };
    for (int i = 0; i < count; ++i) {
        // Bones j >= i that end where bone i starts: bone i goes below the first that may take it.
        const std::vector<int>& ends = endingAt[corner(i, 0)];
        auto parentCandidate = std::lower_bound(ends.begin(), ends.end(), i);
        if (forest.hasParent(i))
            parentCandidate = ends.end();
        // Bones j >= i without a parent that start where bone i ends go below it.
        std::set<int>& starts = parentlessStartingAt[corner(i, 1)];
        auto childCandidate = starts.lower_bound(i);
        while (parentCandidate != ends.end() || childCandidate != starts.end()) {
            const bool parentFirst =
                parentCandidate != ends.end() && (childCandidate == starts.end() || *parentCandidate <= *childCandidate);
            if (parentFirst) {
                const int j = *parentCandidate++;
                if (forest.canLink(i, j)) {
                    link(i, j);
                    parentCandidate = ends.end();
                    // Linking may have emptied the entry the other cursor stands on.
                    childCandidate = starts.lower_bound(j);
                }
            } else {
                const int j = *childCandidate;
                if (forest.canLink(j, i)) {
                    link(j, i);
                    childCandidate = starts.upper_bound(j);
                } else {
                    ++childCandidate;
                }
            }
        }
    }
}

void LWPolygonsChunk::addFaces(Actor* actor, LWLoader* loader, const LWPointsChunk& pointsChunk)
{
    // Every corner is checked before any face is added. The actor's points of polygon i lie
    // from cornerStart[i] to cornerStart[i + 1] in one block, as the corners do.
    std::vector<int> points(corners.size());
    const int count = getPolygonCount();
    for (int i = 0; i < count; ++i) {
        for (uint32_t c = cornerStart[i]; c < cornerStart[i + 1]; ++c) {
            const int point = pointsChunk.actorPoint(corners[c]);
            if (point < 0)
                throw pointsChunk.pointFailure(corners[c], loader->getFileName(),
                                               "polygon " + std::to_string(i) + " of layer " +
                                                   std::to_string(loader->getLayerNumber()));
            points[c] = point;
        }
    }
    // The numbers of this chunk's polygons follow those of the chunks whose faces were added
    // before.
    const int base = loader->takePolygonNumbers(count);
    firstPolygon = base;
    // At least one triangle a polygon.
    actor->reserve(0, count);
    // A polygon of n corners makes n - 2 triangles: fewer than its corners.
    triangles.clear();
    triangles.reserve(corners.size());
    triangleStart.assign(1, 0);
    triangleStart.reserve(cornerStart.size());
    for (int i = 0; i < count; ++i) {
        actor->addPolygonTriangles(points.data() + cornerStart[i], static_cast<int>(cornerStart[i + 1] - cornerStart[i]),
                                   base + i, &triangles);
        triangleStart.push_back(static_cast<uint32_t>(triangles.size()));
    }
}
