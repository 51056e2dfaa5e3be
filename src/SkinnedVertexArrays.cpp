#include "SkinnedVertexArrays.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <set>

#include "Bone.h"
#include "Environment.h"
#include "GLErrors.h"
#include "Log.h"
#include "Mesh.h"
#include "PointBoneWeightTable.h"
#include "StringUtil.h"
#include "Surface.h"
#include "TextureCoordinate.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
void put(std::vector<float>& out, int at, const Vector& v)
{
    out[3 * at] = v.x;
    out[3 * at + 1] = v.y;
    out[3 * at + 2] = v.z;
}
}

SkinnedVertexArrays::SkinnedVertexArrays() : triangleCount(0)
{
}

void SkinnedVertexArrays::clear()
{
    *this = SkinnedVertexArrays();
}

bool SkinnedVertexArrays::build(Mesh& mesh, const PointMap& rest, const PointBoneWeightTable& table,
                                const std::map<std::string, Bone*>& boneNames)
{
    clear();
    if (mesh.drawsDebugLines() || mesh.getTriangleCount() == 0)
        return false;

    std::map<const Bone*, int> boneSlots;
    std::map<int, int> pointSlots;  // the mesh's point index -> its place in the arrays
    for (const auto& entry : mesh.getPoints()) {
        const int slot = static_cast<int>(meshPoints.size());
        pointSlots[entry.first] = slot;
        meshPoints.push_back(mesh.findPoint(entry.first));
        weightStart.push_back(static_cast<int>(weights.size()));
        const PointMap::const_iterator restPoint = rest.find(entry.first);
        const PointBoneWeightMap* pointWeights = table.find(entry.first);
        restPoints.push_back(restPoint == rest.end() ? Vector() : restPoint->second.toVector());
        if (restPoint == rest.end()) {
            kinds.push_back(KEPT);
        } else if (pointWeights && pointWeights->getBoneCountClass() > 0) {
            kinds.push_back(BOUND);
            // As PointBoneWeightMap::blend sums them: in name order, bones the actor lacks left out.
            for (const auto& weight : pointWeights->getWeights()) {
                const auto bone = boneNames.find(weight.first);
                if (bone == boneNames.end() || !bone->second)
                    continue;
                const auto known = boneSlots.emplace(bone->second, static_cast<int>(bones.size()));
                if (known.second) {
                    bones.push_back(bone->second);
                    pivots.push_back(bone->second->getPivot());
                }
                weights.push_back(Weight{known.first->second, weight.second});
            }
        } else {
            kinds.push_back(UNBOUND);
        }
    }
    weightStart.push_back(static_cast<int>(weights.size()));
    frames.resize(bones.size());
    points.resize(meshPoints.size());
    for (std::size_t p = 0; p < meshPoints.size(); ++p)
        points[p] = meshPoints[p]->toVector();

    std::map<int, int> triangleSlots;  // the mesh's triangle index -> its place in the arrays
    for (const auto& entry : mesh.getTriangles())
        triangleSlots.emplace(entry.first, static_cast<int>(triangleSlots.size()));
    // Corners that share a point and a smoothing group average the same face normals: one set each.
    std::map<std::pair<int, int>, int> smoothingSets;
    std::vector<int> cornerSmoothing;  // per corner, its smoothing set
    std::vector<UV> cornerUV;          // per corner
    const bool textured = mesh.isTextured();
    for (const auto& entry : mesh.getTriangles()) {
        const int index = entry.first;
        const Triangle& triangle = entry.second;
        Factory<Surface>& library = mesh.getSurfaces();
        Surface* surface = library.exists(triangle.getSurfaceName()) ? library.find(triangle.getSurfaceName()) : nullptr;
        const TextureCoordinate* coordinates = mesh.findTriangleTextureCoordinates(index);
        if (!surface || (textured && !coordinates)) {
            clear();
            return false;
        }
        meshTriangles.push_back(mesh.getTriangle(index));
        const int group = triangle.getSmoothingGroup();
        for (int corner = 0; corner < 3; ++corner) {
            const int point = triangle.getPoint(corner);
            const auto slot = pointSlots.find(point);
            if (slot == pointSlots.end()) {
                clear();
                return false;
            }
            cornerPoints.push_back(slot->second);
            const auto made = smoothingSets.emplace(std::make_pair(point, group), static_cast<int>(smoothingSets.size()));
            if (made.second) {
                smoothStart.push_back(static_cast<int>(smoothTriangles.size()));
                for (int other : mesh.getPointTriangleList(point)) {
                    const auto neighbour = triangleSlots.find(other);
                    if (neighbour == triangleSlots.end())
                        continue;
                    if ((mesh.getTriangles().at(other).getSmoothingGroup() & group) != 0)
                        smoothTriangles.push_back(neighbour->second);
                }
            }
            cornerSmoothing.push_back(made.first->second);
            cornerUV.push_back(coordinates ? coordinates->getCoordinate(point) : UV::zero());
        }
        if (runs.empty() || runs.back().surface != surface)
            runs.push_back(Run{surface, 3 * (static_cast<int>(meshTriangles.size()) - 1), 0, index});
        runs.back().cornerCount += 3;
    }
    smoothStart.push_back(static_cast<int>(smoothTriangles.size()));
    triangleCount = static_cast<int>(meshTriangles.size());

    // A corner of a smoothing set that averages no triangle takes its own face normal, so it
    // shares its vertex with no other triangle. Coordinates are matched by their bits.
    std::map<std::tuple<int, int, std::uint32_t, std::uint32_t>, unsigned> vertices;
    for (std::size_t c = 0; c < cornerPoints.size(); ++c) {
        const int set = cornerSmoothing[c];
        const int triangle = static_cast<int>(c / 3);
        const int normal = smoothStart[set + 1] > smoothStart[set] ? set : -1 - triangle;
        std::uint32_t u, v;
        std::memcpy(&u, &cornerUV[c].u, sizeof u);
        std::memcpy(&v, &cornerUV[c].v, sizeof v);
        const auto made = vertices.emplace(std::make_tuple(cornerPoints[c], normal, u, v),
                                           static_cast<unsigned>(vertexPoint.size()));
        if (made.second) {
            vertexPoint.push_back(cornerPoints[c]);
            vertexNormal.push_back(normal);
            vertexUVs.push_back(cornerUV[c].u);
            vertexUVs.push_back(cornerUV[c].v);
        }
        cornerVertex.push_back(made.first->second);
    }
    faceNormals.resize(static_cast<std::size_t>(triangleCount));
    smoothNormals.resize(smoothingSets.size());
    vertexPositions.resize(vertexPoint.size() * 3);
    vertexNormals.resize(vertexPoint.size() * 3);
    return true;
}

int SkinnedVertexArrays::blend(const Matrix& unbound)
{
    for (std::size_t b = 0; b < bones.size(); ++b)
        frames[b] = bones[b]->getWorldMatrix();
    // The same arithmetic, in the same order, as PointBoneWeightMap::blend and Vector::transform.
    for (std::size_t p = 0; p < points.size(); ++p) {
        switch (kinds[p]) {
        case KEPT:
            continue;
        case UNBOUND: {
            Vector point = restPoints[p];
            point.transform(unbound);
            points[p] = point;
            break;
        }
        case BOUND: {
            Vector result;
            for (int w = weightStart[p]; w < weightStart[p + 1]; ++w) {
                Vector v = restPoints[p] - pivots[weights[w].bone];
                v.transform(frames[weights[w].bone]);
                result += v * weights[w].weight;
            }
            points[p] = result;
            break;
        }
        }
        *meshPoints[p] = points[p];
    }

    // As Triangle::calcNormal and Mesh::calcFaceNormals make them.
    int zeroNormals = 0;
    for (int t = 0; t < triangleCount; ++t) {
        const Vector& c0 = points[cornerPoints[3 * t]];
        const Vector a = points[cornerPoints[3 * t + 1]] - c0;
        const Vector b = points[cornerPoints[3 * t + 2]] - c0;
        const Vector n(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
        const float length = n.length();
        if ((n.x == 0.0f && n.y == 0.0f && n.z == 0.0f) || !(length > 0.0f) || !std::isfinite(length)) {
            faceNormals[t] = Vector(0.0f, 0.0f, 1.0f);
            ++zeroNormals;
        } else {
            faceNormals[t] = n / length;
        }
        meshTriangles[t]->setNormal(faceNormals[t]);
    }

    // As Mesh::calcVertexNormals: the mean of the face normals in triangle order, not normalised.
    for (std::size_t s = 0; s + 1 < smoothStart.size(); ++s) {
        Vector sum;
        for (int i = smoothStart[s]; i < smoothStart[s + 1]; ++i)
            sum += faceNormals[smoothTriangles[i]];
        const int count = smoothStart[s + 1] - smoothStart[s];
        smoothNormals[s] = count > 0 ? sum / static_cast<float>(count) : Vector();
    }
    for (std::size_t v = 0; v < vertexPoint.size(); ++v) {
        const int normal = vertexNormal[v];
        put(vertexPositions, static_cast<int>(v), points[vertexPoint[v]]);
        put(vertexNormals, static_cast<int>(v), normal >= 0 ? smoothNormals[normal] : faceNormals[-1 - normal]);
    }
    return zeroNormals;
}

void SkinnedVertexArrays::drawRunImmediate(const Run& run) const
{
    glBegin(GL_TRIANGLES);
    for (int c = run.firstCorner; c < run.firstCorner + run.cornerCount; ++c) {
        const unsigned v = cornerVertex[c];
        run.surface->texCoord(vertexUVs[2 * v], vertexUVs[2 * v + 1]);
        glNormal3fv(&vertexNormals[3 * v]);
        glVertex3fv(&vertexPositions[3 * v]);
    }
    glEnd();
}

void SkinnedVertexArrays::draw(const std::string& meshName, bool textured, Environment* scene)
{
    if (empty())
        return;
    // Errors pending before the mesh draws are not the mesh's.
    clearPendingGLErrors();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertexPositions.data());
    glNormalPointer(GL_FLOAT, 0, vertexNormals.data());
    glTexCoordPointer(2, GL_FLOAT, 0, vertexUVs.data());
    const auto finish = [&]() {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        Surface* current = scene->getCurrentSurface();
        if (current)
            current->disable();
        if (!textured)
            glEnable(GL_TEXTURE_2D);
    };
    const Surface* lastEnabled = nullptr;
    for (const Run& run : runs) {
        run.surface->enable();
        // Without coordinates a texture would show one texel of wherever the last coordinate
        // pointed: a mesh that is not textured draws its surfaces' materials only.
        if (!textured && run.surface != lastEnabled)
            run.surface->suspendTextures();
        lastEnabled = run.surface;
        const std::size_t units = run.surface->getTextures().size();
        if (textured && units > 1) {
            // One coordinate for every unit in use, as the surface hands them out.
            drawRunImmediate(run);
        } else {
            if (textured && units == 1)
                glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            else
                glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            glDrawElements(GL_TRIANGLES, run.cornerCount, GL_UNSIGNED_INT, &cornerVertex[run.firstCorner]);
        }
        const GLenum error = glGetError();
        if (error != GL_NO_ERROR) {
            const std::string message = "render() - OpenGL error \"" +
                                        std::string(reinterpret_cast<const char*>(gluErrorString(error))) +
                                        "\" while drawing triangle #" + ::toString(run.firstTriangle) +
                                        " from object \"" + meshName + "\".";
            KELVO_LOG(LogLevel::error) << message << logEnd;
            finish();
            throw MeshException("render(\"" + meshName + "\") - Failed to render triangles. " +
                                MeshException(message).getMessage());
        }
    }
    // The current normal and coordinate are left as drawing the last corner one by one leaves them.
    const unsigned last = cornerVertex.back();
    glNormal3fv(&vertexNormals[3 * last]);
    if (textured)
        runs.back().surface->texCoord(vertexUVs[2 * last], vertexUVs[2 * last + 1]);
    finish();
}
