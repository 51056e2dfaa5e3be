#include "3dsLoader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include "3dsChunkIds.h"
#include "3dsLoaderException.h"
#include "3dsReader.h"
#include "CameraController.h"
#include "Environment.h"
#include "KeyframedMesh.h"
#include "Keyframer.h"
#include "KeyframerController.h"
#include "Light.h"
#include "Log.h"
#include "Matrix.h"
#include "Quaternion.h"
#include "ResourceFile.h"
#include "ResourceLoader.h"
#include "StringUtil.h"
#include "Surface.h"
#include "TrackCamera.h"
#include "Triangle.h"
#include "UV.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
// 1/255, as a byte colour component is scaled.
const float BYTE_COLOUR_SCALE = 0.003921569f;
// A quarter turn in radians, as the cameras' rest direction is turned from +x to -z; slightly
// above pi/2, as the cameras were always aimed with.
const float QUARTER_TURN = 1.5707963435f;
// A node named so drives no object of its own; other nodes may name it as their parent.
const char* const DUMMY_NODE_NAME = "$$$DUMMY";
// A parent id that names no node.
const uint16_t NO_PARENT = 0xFFFF;
// A roll key at this frame is no key.
const uint16_t DROPPED_ROLL_FRAME = 0xFFFF;
// Every chunk starts with its U16 id and U32 length; the length counts these bytes too.
const uint64_t CHUNK_HEADER_SIZE = 6;
// Bytes of a key before its spline values: the frame, its high word and the spline flags.
const uint64_t KEY_HEADER_SIZE = 6;
// Chunks a file may nest inside one another. Real scenes nest fewer than ten; the walk recurses
// once per level, so without a bound a file of nested headers alone would exhaust the stack.
const size_t MAX_CHUNK_DEPTH = 64;

// The scene file, opened; the loader's exception when it cannot be.
ResourceFile openScene(const std::string& file)
{
    Result<ResourceFile> opened = ResourceLoader::readResourceFile(file);
    if (!opened) {
        const std::string text = "load() - 3d scene loading failed. Unable to open 3ds scene resource. ";
        KELVO_LOG(LogLevel::error) << text << ResourceLoaderException(opened.failure()).getMessage() << logEnd;
        throw _3dsLoaderException(text);
    }
    return std::move(*opened);
}

// A tension, continuity or bias as a key accepts it: outside [0, 1], or not a number, is 0.
float splineValue(float value)
{
    return (value >= 0.0f && value <= 1.0f) ? value : 0.0f;
}

// A texture coordinate within [0, 1]; not a number is 0.
float clampCoordinate(float value)
{
    if (!(value >= 0.0f))
        return 0.0f;
    return value > 1.0f ? 1.0f : value;
}

// Degrees and exponents of a spot light as OpenGL takes them.
const float NO_SPOT_CUTOFF = 180.0f;
const float MAX_SPOT_CUTOFF = 90.0f;
const float MAX_SPOT_EXPONENT = 128.0f;

// A value for a log line.
std::string decimal(float value)
{
    return ::toString(static_cast<double>(value));
}

std::string hexId(int id)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned int>(id & 0xFFFF));
    return text;
}

// The part of a target node's name before its first '.'; a name without one whole.
std::string targetOwnerName(const std::string& name)
{
    return name.substr(0, name.find('.'));
}
}

_3dsLoader::_3dsLoader()
    : environment(nullptr), currentMesh(nullptr), namedFaces(0), currentLight(nullptr), currentMaterial(nullptr),
      colour{0.0f, 0.0f, 0.0f}, percentage(0), textureMapFlag(0), keyframerController(nullptr),
      currentKeyframer(nullptr), startFrame(0), endFrame(0), tension(0.0f), continuity(0.0f), bias(0.0f),
      currentChunkId(0)
{
}

const _3dsLoader::ChunkTable& _3dsLoader::chunkTable()
{
    static const ChunkTable table = makeChunkTable();
    return table;
}

_3dsLoader::ChunkTable _3dsLoader::makeChunkTable()
{
    using namespace _3dsChunk;
    const Handler container = nullptr;
    const Handler skip = &_3dsLoader::skipChunk;
    ChunkTable table;
    const auto addChunk = [&table](uint16_t id, const char* name, Handler handler) {
        table[id] = ChunkEntry{name, handler};
    };

    addChunk(RGB_FLOAT, "RGB float", &_3dsLoader::readColorFloat);
    addChunk(RGB_BYTE, "RGB byte", &_3dsLoader::readColorByte);
    addChunk(PERCENTAGE, "Percentage", &_3dsLoader::readPercentage);
    addChunk(MASTER_SCALE, "Master Scale", &_3dsLoader::readMasterScale);
    addChunk(BACKGROUND_COLOR, "Background color", container);
    addChunk(AMBIENT_COLOR, "Ambient color", container);
    addChunk(OBJECT_MESH, "Object Mesh", container);
    addChunk(FILE_FORMAT_REVISION, "File Format Revision", &_3dsLoader::readFileFormatRevision);
    addChunk(MATERIAL_LIBRARY, "Material Library", container);
    addChunk(OBJECT_BLOCK, "Object Block", &_3dsLoader::readObjectBlock);
    addChunk(TRI_MESH, "Tri-Mesh", &_3dsLoader::readTriMesh);
    addChunk(VERTEX_LIST, "Vertex list", &_3dsLoader::readVertexList);
    addChunk(VERTEX_FLAG_LIST, "Vertex flag list", skip);
    addChunk(FACE_LIST, "Face list", &_3dsLoader::readFaceList);
    addChunk(FACE_MATERIAL, "Face material", &_3dsLoader::readFaceMaterial);
    addChunk(MAPPING_COORDINATES, "Mapping Coordinates", &_3dsLoader::readMappingCoordinates);
    addChunk(SMOOTHINGS, "Smoothings", &_3dsLoader::readSmoothings);
    addChunk(MESH_MATRIX, "Matrix", &_3dsLoader::readMeshMatrix);
    addChunk(MESH_COLOR, "Mesh color", skip);
    addChunk(TEXTURE_INFO, "Texture info", skip);
    addChunk(LIGHT, "Light", &_3dsLoader::readLight);
    addChunk(SPOTLIGHT, "Spotlight", &_3dsLoader::readSpotlight);
    addChunk(CAMERA, "Camera", &_3dsLoader::readCamera);
    addChunk(MAIN, "Main", container);
    addChunk(HIERARCHY, "Hierarchy", container);
    addChunk(VIEWPORT_INFO, "Viewport info", skip);
    addChunk(MATERIAL_NAME, "Material name", &_3dsLoader::readMaterialName);
    addChunk(MATERIAL_AMBIENT, "Ambient color", &_3dsLoader::readAmbientColor);
    addChunk(MATERIAL_DIFFUSE, "Diffuse color", &_3dsLoader::readDiffuseColor);
    addChunk(MATERIAL_SPECULAR, "Specular color", &_3dsLoader::readSpecularColor);
    addChunk(SHININESS_RATIO, "Shininess ratio", &_3dsLoader::readShininessRatio);
    addChunk(SHININESS_STRENGTH, "Shininess strength", &_3dsLoader::readShininessStrength);
    addChunk(TEXTURE_MAP, "Texture map", &_3dsLoader::readTextureMap);
    addChunk(BUMP_MAP, "Bump map", skip);
    addChunk(MAP_FILENAME, "Map filename", &_3dsLoader::readMapFile);
    addChunk(MATERIAL, "Material", container);
    addChunk(KEYFRAMER_DATA, "Keyframer data", container);
    addChunk(AMBIENT_KEY, "Ambient key", &_3dsLoader::readAmbientKey);
    addChunk(OBJECT_TRACK, "Object Track", &_3dsLoader::readObjectTrack);
    addChunk(CAMERA_TRACK, "Camera Track", &_3dsLoader::readCameraTrack);
    addChunk(CAMERA_TARGET_TRACK, "Camera Target Track", &_3dsLoader::readCameraTrack);
    addChunk(POINTLIGHT_TRACK, "Pointlight Track", &_3dsLoader::readLightTrack);
    addChunk(POINTLIGHT_TARGET_TRACK, "Pointlight Target Track", &_3dsLoader::readLightTrack);
    addChunk(SPOTLIGHT_TRACK, "Spotlight Track", &_3dsLoader::readLightTrack);
    addChunk(FRAMES, "Frames", &_3dsLoader::readFrames);
    addChunk(TRACK_OBJECT_NAME, "Track Object Name", &_3dsLoader::readTrackObjectName);
    addChunk(TRACK_INSTANCE_NAME, "Track Instance Name", &_3dsLoader::readTrackInstanceName);
    addChunk(PIVOT_POINT, "Pivot point", &_3dsLoader::readPivotPoint);
    addChunk(POSITION_KEYS, "Position keys", &_3dsLoader::readPositionKeys);
    addChunk(ROTATION_KEYS, "Rotation keys", &_3dsLoader::readRotationKeys);
    addChunk(SCALE_KEYS, "Scale keys", &_3dsLoader::readScaleKeys);
    addChunk(FOV_TRACK, "FOV track", skip);
    addChunk(ROLL_TRACK, "Roll track", &_3dsLoader::readRollTrack);
    addChunk(MORPH_KEYS, "Morph keys", skip);
    addChunk(HIDE_KEYS, "Hide keys", skip);
    addChunk(NODE_ORDER_ID, "Node Order ID", &_3dsLoader::readNodeOrderId);
    addChunk(PROJECT, "Project", container);
    return table;
}

std::string _3dsLoader::toTextureFileName(const std::string& name)
{
    std::string result = name;
    const std::string::size_type dot = result.rfind('.');
    if (dot != std::string::npos)
        result = result.substr(0, dot + 1) + "jpg";
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

void _3dsLoader::load(const std::string& file, Environment* environment)
{
    std::vector<uint8_t> bytes;
    {
        ResourceFile input = openScene(file);
        if (!input.readToEnd(bytes))
            throw _3dsLoaderException("read3ds() - Read error. Scene file may be corrupted. File " + quoted(file) +
                                      ": reading failed (" + std::strerror(errno) + ").");
    }

    this->environment = environment;
    keyframerController = environment ? &environment->getKeyframerController() : nullptr;
    if (!keyframerController)
        throw _3dsLoaderException("load() - Keyframer Controller is NULL. Unable to continue.");
    keyframersById = keyframerController->firstKeyframersById();
    resetSplineParams();

    _3dsReader reader(file, std::move(bytes));
    // Not even a chunk header: nothing of a scene, which would otherwise load as an empty one.
    if (reader.remaining() == 0)
        reader.fail("the file is empty");
    readChunks(reader, reader.getEnd());
}

void _3dsLoader::readChunks(_3dsReader& reader, uint64_t end)
{
    while (reader.getPosition() < end) {
        const uint64_t start = reader.getPosition();
        if (end - start < CHUNK_HEADER_SIZE)
            reader.fail("a chunk header at byte " + std::to_string(start) + " needs 6 bytes where " +
                        std::to_string(end - start) + " remain in its parent");
        const uint16_t id = reader.readU16();
        const uint32_t length = reader.readU32();
        // A length of 0 ends this level; the enclosing one goes on after its own chunk.
        if (length == 0)
            return;
        if (length < CHUNK_HEADER_SIZE)
            reader.fail("chunk " + hexId(id) + " at byte " + std::to_string(start) + " declares " +
                        std::to_string(length) + " bytes, fewer than its own header");
        if (length > end - start)
            reader.fail("chunk " + hexId(id) + " at byte " + std::to_string(start) + " declares " +
                        std::to_string(length) + " bytes where " + std::to_string(end - start) +
                        " remain in its parent");
        const uint64_t next = start + length;

        const ChunkTable& table = chunkTable();
        const auto entry = table.find(id);
        if (entry != table.end()) {
            if (reader.getDepth() >= MAX_CHUNK_DEPTH)
                reader.fail("chunk " + hexId(id) + " at byte " + std::to_string(start) + " lies deeper than " +
                            std::to_string(MAX_CHUNK_DEPTH) + " levels of nested chunks");
            currentChunkId = id;
            reader.enter(next);
            if (entry->second.handler)
                (this->*entry->second.handler)(reader, next);
            else
                readChunks(reader, next);
            reader.leave();
        }
        reader.seek(next);
    }
}

void _3dsLoader::skipChunk(_3dsReader&, uint64_t)
{
}

void _3dsLoader::readColorFloat(_3dsReader& reader, uint64_t)
{
    const float r = reader.readFloat();
    const float g = reader.readFloat();
    const float b = reader.readFloat();
    colour[0] = r;
    colour[1] = g;
    colour[2] = b;
}

void _3dsLoader::readColorByte(_3dsReader& reader, uint64_t)
{
    const uint8_t r = reader.readU8();
    const uint8_t g = reader.readU8();
    const uint8_t b = reader.readU8();
    colour[0] = r * BYTE_COLOUR_SCALE;
    colour[1] = g * BYTE_COLOUR_SCALE;
    colour[2] = b * BYTE_COLOUR_SCALE;
}

void _3dsLoader::readPercentage(_3dsReader& reader, uint64_t)
{
    percentage = reader.readU16();
}

// Read for completeness only; a chunk too short for the value is no error.
void _3dsLoader::readMasterScale(_3dsReader& reader, uint64_t)
{
    float scale;
    reader.tryReadFloat(scale);
}

void _3dsLoader::readFileFormatRevision(_3dsReader& reader, uint64_t)
{
    uint32_t revision;
    reader.tryReadU32(revision);
}

void _3dsLoader::readObjectBlock(_3dsReader& reader, uint64_t end)
{
    objectName = reader.readString();
    readChunks(reader, end);
}

void _3dsLoader::readTriMesh(_3dsReader& reader, uint64_t end)
{
    currentMesh = environment->getKeyframedMeshes().create(objectName, environment);
    namedFaces = 0;
    readChunks(reader, end);
    // Faces no material chunk named draw with a default surface: without one, the mesh could not
    // be drawn at all.
    if (namedFaces < currentMesh->getTriangleCount() && !currentMesh->getSurfaces().exists(""))
        currentMesh->getSurfaces().store("", std::make_unique<Surface>(environment));
}

// A fresh mesh numbers its points 0, 1, 2, ... in file order, as the faces count them.
void _3dsLoader::readVertexList(_3dsReader& reader, uint64_t)
{
    const uint16_t count = reader.readU16();
    reader.requireRoomFor(count, 12, "a vertex list", "declares", "points", "its");
    if (currentMesh)
        currentMesh->reserve(count, 0);
    for (uint16_t i = 0; i < count; ++i) {
        // Read as three numbers and put together once, in the engine's axes, so that the point
        // is handed over in registers.
        const float x = reader.readFloat();
        const float y = reader.readFloat();
        const float z = reader.readFloat();
        if (currentMesh)
            currentMesh->addPoint(convertedAxes(Vector(x, y, z)));
    }
}

void _3dsLoader::readFaceList(_3dsReader& reader, uint64_t end)
{
    const uint16_t count = reader.readU16();
    reader.requireRoomFor(count, 8, "a face list", "declares", "faces", "its");
    if (currentMesh)
        currentMesh->reserve(0, count);
    // The mesh was made for this object and numbered its points 0, 1, 2, ... as they came: a face
    // names a point it has when the number is below their count.
    const size_t points = currentMesh ? currentMesh->getPoints().size() : 0;
    for (uint16_t face = 0; face < count; ++face) {
        const uint16_t a = reader.readU16();
        const uint16_t b = reader.readU16();
        const uint16_t c = reader.readU16();
        reader.readU16();  // edge and mapping flags, not used
        if (!currentMesh)
            continue;
        for (uint16_t point : {a, b, c})
            if (point >= points)
                reader.fail("face " + std::to_string(face) + " of mesh " + quoted(currentMesh->getName()) +
                            " names point " + std::to_string(point) + ", which the mesh does not have");
        // The same winding, started at the third corner.
        currentMesh->addTriangle(c, a, b, face);
    }
    readChunks(reader, end);
}

void _3dsLoader::readFaceMaterial(_3dsReader& reader, uint64_t)
{
    const std::string name = reader.readString();
    Surface* surface = nullptr;
    try {
        surface = environment->getSurfaces().find(name);
    } catch (const ComponentNotFoundException& e) {
        KELVO_LOG(LogLevel::error) << "readFaceMaterial() - Unable to find Surface/Material " << quoted(name)
            << " from the environment library. " << e.getMessage() << logEnd;
        return;
    }
    if (currentMesh && !currentMesh->getSurfaces().exists(name))
        currentMesh->getSurfaces().add(name, *surface);
    const uint16_t count = reader.readU16();
    reader.requireRoomFor(count, 2, "material " + quoted(name), "declares", "faces", "its");
    const Triangle::SurfaceName shared = Triangle::shareSurfaceName(name);
    for (uint16_t i = 0; i < count; ++i) {
        const uint16_t face = reader.readU16();
        if (!currentMesh)
            continue;
        Triangle* triangle = currentMesh->getTriangle(face);
        if (!triangle)
            reader.fail("material " + quoted(name) + " names face " + std::to_string(face) + ", which mesh " +
                        quoted(currentMesh->getName()) + " does not have");
        namedFaces += (name.empty() ? 0 : 1) - (triangle->hasSurfaceName() ? 1 : 0);
        triangle->setSurfaceName(shared);
    }
}

void _3dsLoader::readMappingCoordinates(_3dsReader& reader, uint64_t)
{
    // A signed count: 32768 or more reads no coordinates.
    const int16_t count = reader.readS16();
    if (count <= 0)
        return;
    reader.requireRoomFor(static_cast<uint64_t>(count), 8, "mapping coordinates", "declare", "entries", "their");
    for (int16_t i = 0; i < count; ++i) {
        const float u = reader.readFloat();
        const float v = reader.readFloat();
        // v is not flipped: the images are uploaded top row first.
        if (currentMesh)
            currentMesh->setPointTextureCoordinate(i, UV(clampCoordinate(u), clampCoordinate(v)));
    }
}

// One mask for every triangle the mesh has so far: the count is not in the chunk.
void _3dsLoader::readSmoothings(_3dsReader& reader, uint64_t)
{
    if (!currentMesh)
        return;
    const int count = currentMesh->getTriangleCount();
    reader.requireRoomFor(static_cast<uint64_t>(count), 4, "smoothing groups", "for the",
                          "faces of mesh " + quoted(currentMesh->getName()), "their");
    for (int i = 0; i < count; ++i) {
        const uint32_t mask = reader.readU32();
        Triangle* triangle = currentMesh->getTriangle(i);
        if (triangle)
            triangle->setSmoothingGroup(static_cast<int32_t>(mask));
    }
}

void _3dsLoader::readMeshMatrix(_3dsReader& reader, uint64_t)
{
    float r[9];  // the object's X, Y and Z axes in the file's frame, one row each
    for (float& value : r)
        value = reader.readFloat();
    Vector t = reader.readVector();  // the object's origin
    convertAxes(t);
    // Each file axis through the axis change: the file's X is the engine's X, its Z the engine's Y
    // and its negated Y the engine's Z.
    const float elements[16] = {r[0], r[2],  -r[1], 0.0f, r[6], r[8], -r[7], 0.0f,
                                -r[3], -r[5], r[4], 0.0f, t.x,  t.y,  t.z,   1.0f};
    Matrix m(elements);
    m.normalize();
    if (!currentMesh)
        return;
    currentMesh->setMatrix(m);
    // The points read so far are in world space; the matrix places them again when drawn.
    currentMesh->inverseTransformPoints(m);
}

void _3dsLoader::readLight(_3dsReader& reader, uint64_t end)
{
    Vector position = reader.readVector();
    convertAxes(position);
    currentLight = environment->getLights().create(objectName, environment);
    readChunks(reader, end);
    // The colour read last anywhere in the file: the light's own colour chunk when it has one.
    currentLight->setPosition(position.x, position.y, position.z, 1.0f);
    currentLight->setDiffuse(colour[0], colour[1], colour[2], 1.0f);
    currentLight->setSpecular(colour[0], colour[1], colour[2], 1.0f);
}

void _3dsLoader::readSpotlight(_3dsReader& reader, uint64_t end)
{
    Vector target = reader.readVector();
    convertAxes(target);
    const float hotspot = reader.readFloat();  // degrees
    const float falloff = reader.readFloat();  // degrees
    // A spotlight belongs inside a light; one outside any light has nothing to shape.
    if (!currentLight)
        return;
    // OpenGL refuses a cutoff outside 0 to 90 (but for 180, no cone) and an exponent outside 0
    // to 128, and keeps the light's old values: such a light would shine as a point light.
    const std::string light =
        "readSpotlight() - Spotlight " + quoted(objectName) + " in file " + quoted(reader.getName()) + ": ";
    float exponent = falloff - hotspot;
    float cutoff = falloff;
    if (!(cutoff == NO_SPOT_CUTOFF || (cutoff >= 0.0f && cutoff <= MAX_SPOT_CUTOFF))) {
        const float clamped = cutoff < 0.0f ? 0.0f : MAX_SPOT_CUTOFF;
        KELVO_LOG(LogLevel::warning) << light << "falloff " << decimal(cutoff)
            << " degrees is outside 0 to 90; the cone is cut off at " << decimal(clamped) << " degrees." << logEnd;
        cutoff = clamped;
    }
    if (!(exponent >= 0.0f && exponent <= MAX_SPOT_EXPONENT)) {
        const float clamped = exponent > MAX_SPOT_EXPONENT ? MAX_SPOT_EXPONENT : 0.0f;
        KELVO_LOG(LogLevel::warning) << light << "spot exponent " << decimal(exponent)
            << " (falloff less hotspot) is outside 0 to 128; it is " << decimal(clamped) << "." << logEnd;
        exponent = clamped;
    }
    currentLight->setSpotExponent(exponent);
    currentLight->setSpotCutoff(cutoff);
    readChunks(reader, end);
    currentLight->setTarget(target.x, target.y, target.z);
}

void _3dsLoader::readCamera(_3dsReader& reader, uint64_t)
{
    Vector position = reader.readVector();
    Vector target = reader.readVector();
    reader.readFloat();  // bank angle, not used
    reader.readFloat();  // lens, not used
    convertAxes(position);
    convertAxes(target);

    CameraController& cameras = environment->getCameraController();
    cameras.createTrackCamera(objectName);
    Camera* camera = cameras.find(objectName);
    camera->setPosition(position);
    // Aimed at the target: yaw about y from +x, then pitch about x (radians).
    const Vector d = target - position;
    const float pitch = std::atan2(d.y, std::sqrt(d.z * d.z + d.x * d.x));
    const float yaw = std::atan2(d.z, d.x);
    camera->setOrientation(Quaternion(-yaw - QUARTER_TURN, 0.0f, 1.0f, 0.0f) * Quaternion(pitch, 1.0f, 0.0f, 0.0f));
}

void _3dsLoader::readMaterialName(_3dsReader& reader, uint64_t)
{
    const std::string name = reader.readString();
    Factory<Surface>& surfaces = environment->getSurfaces();
    if (surfaces.exists(name))
        throw ComponentAlreadyExistsException(surfaces.getFactoryName(),
                                              "create() - Unable to create new component. Component " + quoted(name) +
                                                  " already exists in this factory!.");
    Surface* surface = surfaces.store(name, std::make_unique<Surface>(environment));
    surface->setName(name);
    currentMaterial = surface;
}

void _3dsLoader::readAmbientColor(_3dsReader& reader, uint64_t end)
{
    readChunks(reader, end);
    if (currentMaterial)
        currentMaterial->getMaterial().setAmbient(RGBA(colour[0], colour[1], colour[2], 1.0f));
}

void _3dsLoader::readDiffuseColor(_3dsReader& reader, uint64_t end)
{
    readChunks(reader, end);
    // Also the colour the material shows where lighting is off.
    if (currentMaterial) {
        currentMaterial->getMaterial().setDiffuse(RGBA(colour[0], colour[1], colour[2], 1.0f));
        currentMaterial->getMaterial().setColor(RGBA(colour[0], colour[1], colour[2], 1.0f));
    }
}

void _3dsLoader::readSpecularColor(_3dsReader& reader, uint64_t end)
{
    readChunks(reader, end);
    if (currentMaterial)
        currentMaterial->getMaterial().setSpecular(RGBA(colour[0], colour[1], colour[2], 1.0f));
}

void _3dsLoader::readShininessRatio(_3dsReader& reader, uint64_t end)
{
    percentage = 0;
    readChunks(reader, end);
    if (currentMaterial)
        currentMaterial->getMaterial().setShininess(percentage * 0.01f);
}

void _3dsLoader::readShininessStrength(_3dsReader& reader, uint64_t end)
{
    percentage = 0;
    readChunks(reader, end);
    if (currentMaterial)
        currentMaterial->getMaterial().setSpecularLevel(std::min<uint16_t>(percentage, 100) * 0.01f);
}

void _3dsLoader::readTextureMap(_3dsReader& reader, uint64_t end)
{
    textureMapFlag = 1;
    readChunks(reader, end);
}

void _3dsLoader::readMapFile(_3dsReader& reader, uint64_t)
{
    const std::string name = toTextureFileName(reader.readString());
    if (textureMapFlag != 1 || !currentMaterial)
        return;
    // A missing or broken texture leaves the material untextured; the scene still loads.
    try {
        const Result<Texture*> added = currentMaterial->appendTexture(name);
        if (!added)
            KELVO_LOG(LogLevel::error) << "readMapFile() - Failed to load surface texture " << quoted(name)
                << ". Exception message follows. " << SurfaceException(added.failure()).what() << logEnd;
    } catch (const std::exception& e) {
        KELVO_LOG(LogLevel::error) << "readMapFile() - Failed to load surface texture " << quoted(name)
            << ". Exception message follows. " << e.what() << logEnd;
    } catch (...) {
        KELVO_LOG(LogLevel::error) << "readMapFile() - Failed to load surface texture " << quoted(name)
            << ". Unknown Exception!" << logEnd;
    }
}

void _3dsLoader::resetSplineParams()
{
    tension = 0.0f;
    continuity = 0.0f;
    bias = 0.0f;
}

void _3dsLoader::readSplineParams(_3dsReader& reader, uint16_t flags)
{
    for (int bit = 0; bit < 16; ++bit) {
        if (!(flags & (1u << bit)))
            continue;
        const float value = reader.readFloat();
        // Bits 0 to 2 carry tension, continuity and bias; the others (ease to and from among
        // them) are read and dropped.
        if (bit == 0)
            tension = splineValue(value);
        else if (bit == 1)
            continuity = splineValue(value);
        else if (bit == 2)
            bias = splineValue(value);
    }
}

void _3dsLoader::readFrames(_3dsReader& reader, uint64_t)
{
    startFrame = static_cast<int32_t>(reader.readU32());
    endFrame = static_cast<int32_t>(reader.readU32());
}

Keyframer* _3dsLoader::beginNode()
{
    currentKeyframer = keyframerController->createKeyframer();
    keyframersById.emplace(currentKeyframer->getId(), currentKeyframer);
    return currentKeyframer;
}

// The ambient light's node drives no object: its name, id and tracks must not land on the
// keyframer of the node before it.
void _3dsLoader::readAmbientKey(_3dsReader& reader, uint64_t end)
{
    currentKeyframer = nullptr;
    readChunks(reader, end);
}

void _3dsLoader::readObjectTrack(_3dsReader& reader, uint64_t end)
{
    Keyframer* keyframer = beginNode();
    readChunks(reader, end);
    const std::string name = keyframer->getName();
    if (name == DUMMY_NODE_NAME)
        return;
    try {
        environment->getKeyframedMeshes().find(name)->setKeyframer(keyframer);
    } catch (const ComponentNotFoundException&) {
        KELVO_LOG(LogLevel::warning) << "readObjectTrack() - Unable to find track target object " << quoted(name)
            << "." << logEnd;
    }
}

void _3dsLoader::readCameraTrack(_3dsReader& reader, uint64_t end)
{
    const bool targetNode = currentChunkId == _3dsChunk::CAMERA_TARGET_TRACK;
    Keyframer* keyframer = beginNode();
    readChunks(reader, end);
    const std::string name = keyframer->getName();
    if (name == DUMMY_NODE_NAME)
        return;
    const std::string cameraName = targetNode ? targetOwnerName(name) : name;
    Camera* camera = nullptr;
    try {
        camera = environment->getCameraController().find(cameraName);
    } catch (const ComponentNotFoundException&) {
        KELVO_LOG(LogLevel::error) << "readCameraTrack() - Unable to find track target object " << quoted(name) << "."
            << logEnd;
        return;
    }
    TrackCamera* trackCamera = dynamic_cast<TrackCamera*>(camera);
    if (!trackCamera) {
        KELVO_LOG(LogLevel::error) << "readCameraTrack() - Camera " << quoted(cameraName)
            << " is not a track camera; node " << quoted(name) << " left unattached." << logEnd;
        return;
    }
    if (targetNode)
        trackCamera->setTargetKeyframer(keyframer);
    else
        trackCamera->setPositionKeyframer(keyframer);
}

void _3dsLoader::readLightTrack(_3dsReader& reader, uint64_t end)
{
    const bool targetNode = currentChunkId == _3dsChunk::POINTLIGHT_TARGET_TRACK;
    Keyframer* keyframer = beginNode();
    readChunks(reader, end);
    // No keyframer stays current after a light node.
    currentKeyframer = nullptr;
    const std::string name = keyframer->getName();
    if (name == DUMMY_NODE_NAME)
        return;
    try {
        if (targetNode)
            environment->getLights().find(targetOwnerName(name))->setTargetKeyframer(keyframer);
        else
            environment->getLights().find(name)->setKeyframer(keyframer);
    } catch (const ComponentNotFoundException&) {
        KELVO_LOG(LogLevel::warning) << "readLightTrack() - Unable to find track target light " << quoted(name) << "."
            << logEnd;
    }
}

void _3dsLoader::readTrackObjectName(_3dsReader& reader, uint64_t)
{
    const std::string name = reader.readString();
    if (!currentKeyframer) {
        // The rest of the chunk (flags and parent) belongs to no keyframer and is passed over.
        KELVO_LOG(LogLevel::error) << "readTrackObjectName() - NULL Keyframer!\n" << logEnd;
        return;
    }
    currentKeyframer->setName(name);
    reader.readU16();  // flags, not used
    reader.readU16();
    const uint16_t parentId = reader.readU16();
    if (parentId == NO_PARENT)
        return;
    const auto found = keyframersById.find(parentId);
    if (found == keyframersById.end()) {
        keyframerController->reportMissingKeyframer(parentId);
        return;
    }
    Keyframer* parent = found->second;
    // Drawing samples every chain whole: a chain too long to sample, or a loop, is no scene.
    const std::string refusal = currentKeyframer->parentRefusal(parent);
    if (!refusal.empty())
        reader.fail("node \"" + name + "\" (id " + std::to_string(currentKeyframer->getId()) +
                    ") cannot take node \"" + parent->getName() + "\" (id " + std::to_string(parentId) +
                    ") as its parent: " + refusal);
    currentKeyframer->setParent(parent);
}

void _3dsLoader::readTrackInstanceName(_3dsReader& reader, uint64_t)
{
    reader.readString();
}

// Pivots are not applied.
void _3dsLoader::readPivotPoint(_3dsReader& reader, uint64_t)
{
    reader.readVector();
}

void _3dsLoader::readNodeOrderId(_3dsReader& reader, uint64_t)
{
    const uint16_t id = reader.readU16();
    if (!currentKeyframer)
        return;
    // The current keyframer is the scene's newest: no later one shares its old id, and an
    // earlier one of the new id stays the one found.
    const auto old = keyframersById.find(currentKeyframer->getId());
    if (old != keyframersById.end() && old->second == currentKeyframer)
        keyframersById.erase(old);
    currentKeyframer->setId(id);
    keyframersById.emplace(currentKeyframer->getId(), currentKeyframer);
}

uint16_t _3dsLoader::readTrackHeader(_3dsReader& reader, uint64_t minimumKeySize)
{
    for (int i = 0; i < 5; ++i)
        reader.readU16();  // flags and reserved words, not used
    const uint16_t keys = reader.readU16();
    reader.readU16();  // the high half of the key count, not used
    reader.requireRoomFor(keys, minimumKeySize, "a track", "declares", "keys", "its");
    return keys;
}

void _3dsLoader::readPositionKeys(_3dsReader& reader, uint64_t)
{
    const uint16_t keys = readTrackHeader(reader, KEY_HEADER_SIZE + 12);
    if (currentKeyframer) {
        currentKeyframer->setPositionRange(static_cast<float>(startFrame), static_cast<float>(endFrame));
        currentKeyframer->reservePositionKeys(keys);
    }
    for (uint16_t i = 0; i < keys; ++i) {
        const uint16_t frame = reader.readU16();
        reader.readU16();  // the high half of the frame number
        const uint16_t flags = reader.readU16();
        resetSplineParams();
        readSplineParams(reader, flags);
        Vector position = reader.readVector();
        convertAxes(position);
        if (currentKeyframer)
            currentKeyframer->addPositionKey(frame, position, tension, continuity, bias);
    }
}

void _3dsLoader::readRotationKeys(_3dsReader& reader, uint64_t)
{
    const uint16_t keys = readTrackHeader(reader, KEY_HEADER_SIZE + 16);
    if (currentKeyframer) {
        currentKeyframer->setRotationRange(static_cast<float>(startFrame), static_cast<float>(endFrame));
        currentKeyframer->reserveRotationKeys(keys);
    }
    for (uint16_t i = 0; i < keys; ++i) {
        const uint16_t frame = reader.readU16();
        reader.readU16();
        const uint16_t flags = reader.readU16();
        resetSplineParams();
        readSplineParams(reader, flags);
        const float angle = reader.readFloat();  // radians
        const Vector axis = reader.readVector();
        // Relative to the key before; the keyframer accumulates them. The axis gets the axis
        // change.
        if (currentKeyframer)
            currentKeyframer->addRotationKey(frame, Quaternion(angle, axis.x, axis.z, -axis.y), tension, continuity,
                                             bias);
    }
}

// Read quietly: a track that ends early keeps the keys read so far.
void _3dsLoader::readScaleKeys(_3dsReader& reader, uint64_t)
{
    if (currentKeyframer)
        currentKeyframer->setScaleRange(static_cast<float>(startFrame), static_cast<float>(endFrame));
    uint16_t word;
    for (int i = 0; i < 5; ++i)
        if (!reader.tryReadU16(word))
            return;
    uint16_t keys;
    if (!reader.tryReadU16(keys) || !reader.tryReadU16(word))
        return;
    // Room for no more keys than the chunk can hold: the count is not checked against it here.
    if (currentKeyframer)
        currentKeyframer->reserveScaleKeys(
            static_cast<int>(std::min<uint64_t>(keys, reader.remaining() / (KEY_HEADER_SIZE + 12))));
    Vector base;
    for (uint16_t i = 0; i < keys; ++i) {
        uint16_t frame, flags;
        if (!reader.tryReadU16(frame) || !reader.tryReadU16(word) || !reader.tryReadU16(flags))
            return;
        resetSplineParams();
        readSplineParams(reader, flags);
        float s[3];
        for (float& value : s)
            if (!reader.tryReadFloat(value))
                return;
        if (i == 0)
            base = Vector(s[0], s[1], s[2]);
        // Relative to the first key, y and z exchanged. A first key of 0 along an axis gives no
        // ratio: that axis keeps the file's scale.
        Vector scale;
        for (int axis = 0; axis < 3; ++axis)
            scale[axis] = base[axis] != 0.0f ? s[axis] / base[axis] : s[axis];
        if (currentKeyframer)
            currentKeyframer->addScaleKey(frame, Vector(scale.x, scale.z, scale.y), tension, continuity, bias);
    }
}

void _3dsLoader::readRollTrack(_3dsReader& reader, uint64_t)
{
    uint16_t word;
    for (int i = 0; i < 5; ++i)
        if (!reader.tryReadU16(word))
            return;
    const uint16_t keys = reader.readU16();
    reader.readU16();
    reader.requireRoomFor(keys, KEY_HEADER_SIZE + 4, "a roll track", "declares", "keys", "its");
    if (currentKeyframer) {
        currentKeyframer->setRollRange(static_cast<float>(startFrame), static_cast<float>(endFrame));
        currentKeyframer->reserveRollKeys(keys);
    }
    for (uint16_t i = 0; i < keys; ++i) {
        const uint16_t frame = reader.readU16();
        reader.readU16();
        const uint16_t flags = reader.readU16();
        // No reset: a value a roll key does not carry keeps the one of the key before.
        readSplineParams(reader, flags);
        const float roll = reader.readFloat();  // as stored
        if (currentKeyframer && frame != DROPPED_ROLL_FRAME)
            currentKeyframer->addRollKey(frame, roll, tension, continuity, bias);
    }
}
