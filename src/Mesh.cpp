#include "Mesh.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

#include "Environment.h"
#include "GLErrors.h"
#include "GLMatrixScope.h"
#include "Log.h"
#include "Matrix.h"
#include "StringUtil.h"
#include "Texture.h"
#include "TextureManager.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

bool Mesh::drawWireframe = false;

namespace {
const char* const METAL_SURFACE = "metal";
const char* const METAL_TEXTURE = "metalenv";
const char* const METAL_IMAGE = "sky1env.jpg";

// 1/(2 pi) and 1/pi as the spherical mapping scales its angles.
const double U_PER_RADIAN = 0.1591549413993145;
const double V_PER_RADIAN = 0.318309882798629;
// Two corners of one triangle further apart than this in u or v lie on both sides of the seam.
const float SEAM_THRESHOLD = 0.9f;

// Smoothing groups of one point whose normals are each worked out by one walk over the point's
// triangles. Modelled surfaces meet in a handful at a point; past this many a file is hostile,
// and the point's further groups take the mean by bit instead, so that no point costs more than
// this many walks.
const std::size_t WALKED_GROUPS_PER_POINT = 64;
const int GROUP_BITS = 32;

// The vertex normals found at one point, by the smoothing group they were found for.
struct PointGroupNormals {
    struct Found {
        int group;
        bool shared;    // some triangle of the point shares a bit with group
        Vector normal;  // their mean, when shared
    };
    std::vector<Found> walked;
    // For the groups past WALKED_GROUPS_PER_POINT: the sum of the face normals and the number of
    // the point's triangles that carry each bit, made at the first such group.
    std::vector<Vector> bitSums;
    std::vector<int> bitCounts;
};

// Moves the smaller of two values across the seam when they lie more than the threshold apart,
// for the pairs (0, 1), (0, 2) and (1, 2) in turn.
void closeSeam(float values[3])
{
    const int pairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
    for (const auto& pair : pairs) {
        float& a = values[pair[0]];
        float& b = values[pair[1]];
        if (a - b > SEAM_THRESHOLD)
            b += 1.0f;
        if (b - a > SEAM_THRESHOLD)
            a += 1.0f;
    }
}

float clampUnit(float value)
{
    return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
}
}

MeshException::MeshException(const std::string& message)
{
    addSource("MeshException");
    appendMessage(message);
}

Mesh::Mesh(Environment* owner)
    : owner(owner), surfaces("Factory<Surface>"), drawBoundingBox(false), textured(false), drawNormals(false),
      nextPointIndex(0), nextTriangleIndex(0)
{
}

Mesh::~Mesh() = default;

int Mesh::addPoint(Vector position)
{
    int index;
    do {
        index = nextPointIndex++;
    } while (points.contains(index));
    points.emplaceAbsent(index, position);
    drawingChanged();
    return index;
}

void Mesh::reserve(int pointCount, int triangleCount)
{
    const size_t morePoints = static_cast<size_t>(std::max(pointCount, 0));
    const size_t moreTriangles = static_cast<size_t>(std::max(triangleCount, 0));
    points.reserveMore(morePoints);
    triangles.reserveMore(moreTriangles);
    pointTriangles.reserveMore(3 * moreTriangles);
    polygonTriangles.reserveMore(moreTriangles);
}

void Mesh::setPoint(int index, const Vector& position)
{
    points[index] = position;
    drawingChanged();
}

const Point& Mesh::pointAt(int index, const char* operation) const
{
    const PointMap::const_iterator it = points.find(index);
    if (it == points.end())
        throw MeshException(std::string(operation) + "() - Mesh \"" + name + "\" has no point " + ::toString(index) +
                            ".");
    return it->second;
}

Point Mesh::getPoint(int index) const
{
    return pointAt(index, "getPoint");
}

Vector Mesh::getPointVector(int index) const
{
    return pointAt(index, "getPointVector").toVector();
}

Point* Mesh::findPoint(int index)
{
    return points.findValue(index);
}

void Mesh::inverseTransformPoints(const Matrix& m)
{
    for (auto& entry : points) {
        Vector v = entry.second.toVector();
        v.inverseTransform(m);
        entry.second = v;
    }
    drawingChanged();
}

void Mesh::registerTriangle(int index, int p0, int p1, int p2)
{
    pointTriangles.add(p0, index);
    pointTriangles.add(p1, index);
    pointTriangles.add(p2, index);
}

int Mesh::addTriangle(int p0, int p1, int p2, int polygonIndex)
{
    int index;
    do {
        index = nextTriangleIndex++;
    } while (triangles.contains(index));
    // Made in its place: a loader adds a triangle per face.
    triangles.emplaceAbsent(index, p0, p1, p2, polygonIndex);
    registerTriangle(index, p0, p1, p2);
    drawingChanged();
    polygonTriangles.add(polygonIndex, index);
    return index;
}

int Mesh::addTriangle(const Triangle::PointIndices& points, int polygonIndex)
{
    return addTriangle(points[0], points[1], points[2], polygonIndex);
}

int Mesh::addTriangle(const Vector& a, const Vector& b, const Vector& c)
{
    const int p0 = addPoint(a);
    const int p1 = addPoint(b);
    const int p2 = addPoint(c);
    return addTriangle(p0, p1, p2);
}

void Mesh::setTriangle(int index, const Triangle& triangle)
{
    const TriangleMap::iterator existing = triangles.find(index);
    if (existing == triangles.end()) {
        triangles[index] = triangle;
        polygonTriangles.add(triangle.getPolygonIndex(), index);
    } else {
        if (existing->second.getPolygonIndex() != triangle.getPolygonIndex()) {
            polygonTriangles.remove(existing->second.getPolygonIndex(), index);
            polygonTriangles.add(triangle.getPolygonIndex(), index);
        }
        existing->second = triangle;
    }
    registerTriangle(index, triangle.getPoint(0), triangle.getPoint(1), triangle.getPoint(2));
    drawingChanged();
}

bool Mesh::hasTriangle(int index) const
{
    return triangles.contains(index);
}

const std::vector<int>& Mesh::getPolygonTriangles(int polygon) const
{
    return polygonTriangles.find(polygon);
}

std::set<int> Mesh::getPointTriangles(int point) const
{
    const std::vector<int>& list = getPointTriangleList(point);
    return std::set<int>(list.begin(), list.end());
}

const std::vector<int>& Mesh::getPointTriangleList(int point) const
{
    return pointTriangles.find(point);
}

void Mesh::setSurfaceName(const std::string& name)
{
    const Triangle::SurfaceName shared = Triangle::shareSurfaceName(name);
    for (auto& entry : triangles)
        entry.second.setSurfaceName(shared);
    drawingChanged();
}

void Mesh::setPointTextureCoordinate(int point, const UV& uv)
{
    pointTextureCoordinates.assign(point, uv);
    drawingChanged();
}

int Mesh::addImageQuad(float left, float bottom, float right, float top)
{
    const int a = addPoint(Vector(left, bottom, 0.0f));
    const int b = addPoint(Vector(right, bottom, 0.0f));
    const int c = addPoint(Vector(right, top, 0.0f));
    const int d = addPoint(Vector(left, top, 0.0f));
    setPointTextureCoordinate(a, UV(0.0f, 1.0f));
    setPointTextureCoordinate(b, UV(1.0f, 1.0f));
    setPointTextureCoordinate(c, UV(1.0f, 0.0f));
    setPointTextureCoordinate(d, UV(0.0f, 0.0f));
    addTriangle(a, d, c, -1);
    addTriangle(a, c, b, -1);
    return a;
}

void Mesh::setTriangleTextureCoordinate(int triangle, int point, const UV& uv)
{
    textureCoordinates.setTextureCoordinates(triangle, point, uv);
    drawingChanged();
}

void Mesh::setTriangleTextureCoordinates(int triangle, const TextureCoordinate& coordinates)
{
    textureCoordinates.setTriangleTextureCoordinates(triangle, coordinates);
    drawingChanged();
}

TextureCoordinateMap Mesh::getTextureCoordinateMap() const
{
    return textureCoordinates;
}

const TextureCoordinate* Mesh::findTriangleTextureCoordinates(int triangle) const
{
    return textureCoordinates.findTriangleTextureCoordinates(triangle);
}

void Mesh::setTextureCoordinateMap(const TextureCoordinateMap& map)
{
    textureCoordinates = map;
    drawingChanged();
}

TriangleNormalMap Mesh::getTriangleNormalMap() const
{
    return vertexNormals;
}

const PointNormalMap* Mesh::findTrianglePointNormals(int triangle) const
{
    return vertexNormals.findPointNormals(triangle);
}

void Mesh::calcPlanarMapping(const std::string& surfaceName, int axis)
{
    // The plane's (u, v) as components of a position: axis 0 -> (z, y), 1 -> (x, z), 2 -> (x, y).
    const int planes[3][2] = {{2, 1}, {0, 2}, {0, 1}};
    if (axis < 0 || axis > 2)
        throw MeshException("calcPlanarMapping(\"" + name + "\") - No projection axis " + ::toString(axis) +
                            "; the axis is 0, 1 or 2.");
    Vector min, max;
    getBoundingBox(min, max);
    const Surface* surface = surfaces.find(surfaceName);
    if (!surface)
        return;
    const Vector center = surface->getTextureCenter();
    const Vector size = surface->getTextureSize();
    const int u = planes[axis][0];
    const int v = planes[axis][1];
    // Checked before anything changes: a UV is the offset divided by the size.
    if (size[u] == 0.0f || size[v] == 0.0f)
        throw MeshException("calcPlanarMapping(\"" + name + "\") - Surface \"" + surfaceName +
                            "\" has a texture size of 0 in the projection plane.");
    const auto project = [&](const Vector& a) {
        return UV((a[u] - center[u] + size[u] * 0.5f) / size[u], (a[v] - center[v] + size[v] * 0.5f) / size[v]);
    };
    textureCoordinates.clear();
    textureCoordinates.setRange(project(min), project(max));
    for (const auto& entry : points)
        setPointTextureCoordinate(entry.first, project(entry.second.toVector()));
}

void Mesh::calcSphericalMapping(const std::string& surfaceName)
{
    if (!surfaces.find(surfaceName))
        return;
    textureCoordinates.clear();
    for (const auto& entry : triangles) {
        const Triangle& triangle = entry.second;
        if (triangle.getSurfaceName() != surfaceName)
            continue;
        float u[3], v[3];
        for (int corner = 0; corner < 3; ++corner) {
            Vector d = pointAt(triangle.getPoint(corner), "calcSphericalMapping").toVector();
            d.normalize();
            // Rounding can leave a unit y a hair beyond 1, where asin has no value.
            const double y = std::max(-1.0, std::min(1.0, static_cast<double>(d.y)));
            u[corner] = static_cast<float>(std::atan2(d.x, d.z) * U_PER_RADIAN + 0.5);
            v[corner] = static_cast<float>(std::asin(y) * V_PER_RADIAN + 0.5);
        }
        closeSeam(u);
        closeSeam(v);
        for (int corner = 0; corner < 3; ++corner)
            setTriangleTextureCoordinate(entry.first, triangle.getPoint(corner),
                                         UV(clampUnit(u[corner]), clampUnit(v[corner])));
    }
}

void Mesh::getBoundingBox(Vector& min, Vector& max) const
{
    min.set(0.0f, 0.0f, 0.0f);
    max.set(0.0f, 0.0f, 0.0f);
    bool first = true;
    for (const auto& entry : triangles) {
        for (int corner = 0; corner < 3; ++corner) {
            // A corner without a point has no position to count.
            const PointMap::const_iterator it = points.find(entry.second.getPoint(corner));
            if (it == points.end())
                continue;
            const Point& p = it->second;
            if (first) {
                min = p.toVector();
                max = p.toVector();
                first = false;
                continue;
            }
            for (int i = 0; i < 3; ++i) {
                min[i] = std::min(min[i], p[i]);
                max[i] = std::max(max[i], p[i]);
            }
        }
    }
}

void Mesh::calcFaceNormals()
{
    if (triangles.empty())
        return;
    int zeroNormals = 0;
    for (auto& entry : triangles) {
        try {
            entry.second.setNormal(entry.second.calcNormal(points));
        } catch (...) {
            entry.second.setNormal(Vector(0.0f, 0.0f, 1.0f));
            ++zeroNormals;
        }
    }
    reportZeroFaceNormals(zeroNormals);
}

void Mesh::reportZeroFaceNormals(int count) const
{
    if (count >= 1)
        KELVO_LOG(LogLevel::warning) << "calcFaceNormals(\"" << name << "\") - " << ::toString(count)
                     << " zero face normals detected. Possibly defected mesh." << logEnd;
}

void Mesh::calcVertexNormals()
{
    vertexNormals.clear();
    // Every corner takes the mean of the face normals of its point's triangles whose groups share
    // a bit with its own. The mean depends on the point and the group only, so it is summed once
    // for each point and group met (in ascending triangle order, as the corners of the first
    // triangle asked it) and looked up by the other corners: a point shared by n triangles costs
    // one walk over them, not n.
    std::unordered_map<int, PointGroupNormals> byPoint;
    // Sized once: growing it step by step copied the normals and touched fresh pages each time.
    vertexNormals.reserve(getTriangleCount());
    for (const auto& entry : triangles) {
        const Triangle& triangle = entry.second;
        const int group = triangle.getSmoothingGroup();
        for (int corner = 0; corner < 3; ++corner) {
            const int point = triangle.getPoint(corner);
            // A triangle of no group shares a bit with none.
            if (group == 0) {
                vertexNormals.setNormal(entry.first, point, triangle.getNormal());
                continue;
            }
            PointGroupNormals& found = byPoint[point];
            const auto same = std::find_if(found.walked.begin(), found.walked.end(),
                                           [group](const PointGroupNormals::Found& f) { return f.group == group; });
            Vector sum;
            int count = 0;
            if (same != found.walked.end()) {
                count = same->shared ? 1 : 0;
                sum = same->normal;
            } else if (found.walked.size() < WALKED_GROUPS_PER_POINT) {
                for (int other : pointTriangles.find(point)) {
                    const Triangle* neighbour = triangles.findValue(other);
                    if (neighbour && (neighbour->getSmoothingGroup() & group) != 0) {
                        sum += neighbour->getNormal();
                        ++count;
                    }
                }
                // The mean of unit normals is not normalised again: across a crease it is shorter.
                if (count > 0)
                    sum = sum / static_cast<float>(count);
                found.walked.push_back({group, count > 0, sum});
                count = count > 0 ? 1 : 0;
            } else {
                if (found.bitSums.empty()) {
                    found.bitSums.assign(GROUP_BITS, Vector());
                    found.bitCounts.assign(GROUP_BITS, 0);
                    for (int other : pointTriangles.find(point)) {
                        const Triangle* neighbour = triangles.findValue(other);
                        if (!neighbour)
                            continue;
                        const auto bits = static_cast<uint32_t>(neighbour->getSmoothingGroup());
                        for (int bit = 0; bit < GROUP_BITS; ++bit)
                            if (bits & (1u << bit)) {
                                found.bitSums[bit] += neighbour->getNormal();
                                ++found.bitCounts[bit];
                            }
                    }
                }
                // A triangle that shares several bits with the group counts once for each.
                const auto bits = static_cast<uint32_t>(group);
                for (int bit = 0; bit < GROUP_BITS; ++bit)
                    if (bits & (1u << bit)) {
                        sum += found.bitSums[bit];
                        count += found.bitCounts[bit];
                    }
                if (count > 0)
                    sum = sum / static_cast<float>(count);
            }
            vertexNormals.setNormal(entry.first, point, count > 0 ? sum : triangle.getNormal());
        }
    }
}

void Mesh::initializeTextureCoordinates()
{
    // Coordinates set per corner beforehand win over per-point ones.
    // Points in ascending order.
    for (const auto& entry : pointTextureCoordinates) {
        const int point = entry.first;
        for (int triangle : pointTriangles.find(point)) {
            const TextureCoordinate* existing = textureCoordinates.findTriangleTextureCoordinates(triangle);
            if (!existing || (!existing->isComplete() && !existing->hasPoint(point)))
                textureCoordinates.setTextureCoordinates(triangle, point, entry.second);
        }
    }
    pointTextureCoordinates = IndexMap<UV>();

    int withCoordinates = 0;
    for (const auto& entry : triangles)
        if (textureCoordinates.hasTriangle(entry.first))
            ++withCoordinates;
    textured = withCoordinates == getTriangleCount();
    if (!textured)
        KELVO_LOG(LogLevel::warning) << "initializeTextureCoordinates(\"" << name
                     << "\") - Mesh has no texture coordinates! Texturing will be disabled." << logEnd;
}

void Mesh::initialize()
{
    if (surfaces.exists(METAL_SURFACE)) {
        KELVO_LOG(LogLevel::info) << "initialize() - Metal surface found." << logEnd;
        Surface* metal = surfaces.find(METAL_SURFACE);
        TextureManager& textureManager = owner->getTextureManager();
        textureManager.createEnvironmentTexture(METAL_TEXTURE);
        Texture* reflection = textureManager.find(METAL_TEXTURE);
        textureManager.loadCreated(reflection, METAL_IMAGE);
        // A mesh prepared again (its drawing changed) keeps the one reflection map it has.
        const auto isReflection = [](const Texture* t) { return t->getName() == METAL_TEXTURE; };
        if (metal && std::none_of(metal->getTextures().begin(), metal->getTextures().end(), isReflection))
            metal->addTexture(reflection);
    }
    CommonObject::initialize();
    calcFaceNormals();
    calcVertexNormals();
    initializeTextureCoordinates();
    if (Log::getInstance()->getLevel() >= LogLevel::debug) {
        Vector min, max;
        getBoundingBox(min, max);
        KELVO_LOG(LogLevel::debug) << "initialize(\"" << name
                     << "\") dx=" << ::toString(static_cast<double>(max.x - min.x))
                     << " dy=" << ::toString(static_cast<double>(max.y - min.y))
                     << " dz=" << ::toString(static_cast<double>(max.z - min.z)) << logEnd;
    }
}

void Mesh::beginUnlit() const
{
    glDisable(GL_TEXTURE_2D);
    if (owner->isLightingEnabled())
        glDisable(GL_LIGHTING);
}

void Mesh::endUnlit() const
{
    if (owner->isLightingEnabled())
        glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
}

void Mesh::drawTriangles()
{
    // Errors pending before the mesh draws are not the mesh's.
    clearPendingGLErrors();
    Vector lastNormal(0.0f, 0.0f, 1.0f);  // the last normal sent, for the debug normals
    const Surface* lastEnabled = nullptr;
    // Consecutive triangles of one surface go into one GL_TRIANGLES primitive: the same vertices
    // in the same order as a primitive per triangle, but a display list keeps one primitive's
    // bookkeeping instead of one per triangle (a list of many small primitives cost more memory
    // than the mesh itself).
    const Surface* batchSurface = nullptr;  // the surface of the open primitive; null when none is open
    int batchFirst = -1;                     // the open primitive's first triangle, for its error message
    const auto endBatch = [&]() {
        if (!batchSurface)
            return;
        glEnd();
        batchSurface = nullptr;
        const GLenum error = glGetError();
        if (error != GL_NO_ERROR) {
            const std::string message = "render() - OpenGL error \"" +
                                        std::string(reinterpret_cast<const char*>(gluErrorString(error))) +
                                        "\" while drawing triangle #" + ::toString(batchFirst) + " from object \"" +
                                        name + "\".";
            KELVO_LOG(LogLevel::error) << message << logEnd;
            throw MeshException(message);
        }
    };
    try {
        for (const auto& entry : triangles) {
            const int index = entry.first;
            const Triangle& triangle = entry.second;
            Surface* surface = surfaces.find(triangle.getSurfaceName());

            // Everything is looked up before anything of the triangle is sent; a failure closes the
            // open primitive on its way out.
            const Point* corners[3];
            int cornerPoints[3];
            for (int corner = 0; corner < 3; ++corner) {
                cornerPoints[corner] = triangle.getPoint(corner);
                corners[corner] = &pointAt(cornerPoints[corner], "render");
            }
            const PointNormalMap* normals = vertexNormals.findPointNormals(index);
            const TextureCoordinate* coordinates = nullptr;
            if (textured) {
                coordinates = textureCoordinates.findTriangleTextureCoordinates(index);
                if (!coordinates)
                    textureCoordinates.getTriangleTextureCoordinates(index);  // throws, naming the triangle
            }

            if (drawWireframe || !surface) {
                endBatch();
                beginUnlit();
                glColor3f(0.7f, 0.5f, 0.5f);
                glBegin(GL_LINE_LOOP);
                for (const Point* p : corners)
                    glVertex3f(p->x, p->y, p->z);
                glEnd();
                endUnlit();
            } else {
                if (surface != batchSurface) {
                    endBatch();
                    surface->enable();
                    // Without coordinates a texture would show one texel of wherever the last
                    // coordinate pointed: a mesh that is not textured draws its surfaces' materials only.
                    if (!textured && surface != lastEnabled)
                        surface->suspendTextures();
                    lastEnabled = surface;
                    glBegin(GL_TRIANGLES);
                    batchSurface = surface;
                    batchFirst = index;
                }
                for (int corner = 0; corner < 3; ++corner) {
                    if (coordinates) {
                        const UV uv = coordinates->getCoordinate(cornerPoints[corner]);
                        surface->texCoord(uv.u, uv.v);
                    }
                    lastNormal = normals ? normals->getNormal(cornerPoints[corner]) : triangle.getNormal();
                    glNormal3f(lastNormal.x, lastNormal.y, lastNormal.z);
                    glVertex3f(corners[corner]->x, corners[corner]->y, corners[corner]->z);
                }
            }

            if (drawNormals) {
                endBatch();
                const Vector a = corners[0]->toVector();
                const Vector m = (a + corners[1]->toVector() + corners[2]->toVector()) * 0.33333334f;
                const Vector tip = m + lastNormal * 0.16666667f;
                beginUnlit();
                glColor3f(0.9f, 0.9f, 0.1f);
                glBegin(GL_LINES);
                glVertex3f(m.x, m.y, m.z);
                glVertex3f(tip.x, tip.y, tip.z);
                glEnd();
                endUnlit();
            }
        }
        endBatch();
    } catch (...) {
        if (batchSurface)
            glEnd();
        throw;
    }
}

void Mesh::renderBoundingBox() const
{
    Vector a, b;  // min, max
    getBoundingBox(a, b);
    const float faces[4][4][3] = {
        {{a.x, a.y, a.z}, {b.x, a.y, a.z}, {b.x, b.y, a.z}, {a.x, b.y, a.z}},
        {{b.x, b.y, b.z}, {a.x, b.y, b.z}, {a.x, a.y, b.z}, {b.x, a.y, b.z}},
        {{a.x, a.y, a.z}, {a.x, a.y, b.z}, {a.x, b.y, b.z}, {a.x, b.y, a.z}},
        {{b.x, b.y, b.z}, {b.x, b.y, a.z}, {b.x, a.y, a.z}, {b.x, a.y, b.z}},
    };
    glColor3f(0.9f, 0.9f, 0.1f);
    for (const auto& face : faces) {
        glBegin(GL_LINE_LOOP);
        for (const auto& corner : face)
            glVertex3fv(corner);
        glEnd();
    }
}

void Mesh::render(double)
{
    if (!initialized)
        initialize();
    if (triangles.empty()) {
        KELVO_LOG(LogLevel::warning) << "render() - Mesh \"" << name << "\" has no triangles!"
                     << logEnd;
        return;
    }
    // The matrix is popped and the surface switched off on every way out, so a failing mesh
    // leaves the stack and the scene's current surface as it found them.
    const auto finish = [&]() {
        Surface* current = owner->getCurrentSurface();
        if (current)
            current->disable();
        if (!textured)
            glEnable(GL_TEXTURE_2D);
    };
    try {
        // Popped before finish runs, on either way out; the bounding box draws without the transform.
        std::optional<GLMatrixScope> matrix;
        if (transformEnabled) {
            matrix.emplace();
            applyTransform();
        }
        drawTriangles();
    } catch (Exception& e) {
        finish();
        throw MeshException("render(\"" + name + "\") - Failed to render triangles. " + e.getMessage());
    }
    finish();

    if (drawBoundingBox) {
        try {
            renderBoundingBox();
        } catch (Exception& e) {
            throw MeshException("render(\"" + name + "\") - Failed to render bounding box. " + e.getMessage());
        }
    }
}

std::string Mesh::toString() const
{
    return CommonObject::toString() + "\n Mesh::toString() - " + ::toString(getTriangleCount()) + " triangles." +
           "\n                    " + ::toString(surfaces.size()) + " surfaces.";
}
