#ifndef KELVO_3DSLOADER_H
#define KELVO_3DSLOADER_H

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

#include "Vector.h"

class _3dsReader;
class Environment;
class KeyframedMesh;
class Keyframer;
class KeyframerController;
class Light;
class Surface;

// Reads one 3D Studio scene file into an existing 3D scene: a keyframed mesh per triangle mesh, a
// surface per material, a light per light, a track camera per camera and a keyframer per node of
// the keyframer section, each
// attached to the scene object of its name. One table maps the chunk ids it knows to their
// handlers; every other chunk is passed over by its length.
//
// Lives for one load: constructed, load, destroyed. Everything it creates belongs to the scene's
// factories, camera controller and keyframer controller.
class _3dsLoader {
public:
    _3dsLoader();
    _3dsLoader(const _3dsLoader&) = delete;
    _3dsLoader& operator=(const _3dsLoader&) = delete;

    // Reads the resource file into environment (not owned). Throws _3dsLoaderException for a file
    // that cannot be opened, is truncated or malformed, the factories' ComponentAlreadyExists-
    // Exception for a name already taken; what was created before a failure stays in the scene.
    // The file is released on every way out.
    void load(const std::string& file, Environment* environment);

    // (x, y, z) of the file to (x, z, -y) of the engine, in place.
    static void convertAxes(Vector& v) { v = convertedAxes(v); }
    // The same as a new value, which stays in registers for a loop over many points.
    static Vector convertedAxes(Vector v) { return Vector(v.x, v.z, -v.y); }
    // The name a material's map file is loaded under: the extension after the last '.' becomes
    // "jpg", and the whole name is lower-cased.
    static std::string toTextureFileName(const std::string& name);

private:
    // A handler reads the body of its chunk; end is the absolute offset where the chunk ends.
    typedef void (_3dsLoader::*Handler)(_3dsReader& reader, uint64_t end);

    struct ChunkEntry {
        std::string name;  // for messages
        Handler handler;   // null for a container, whose body is a sequence of sub-chunks
    };

    typedef std::map<int, ChunkEntry> ChunkTable;  // by the chunk id widened to int

    // The same for every load: made at the first and kept for the process.
    static const ChunkTable& chunkTable();
    static ChunkTable makeChunkTable();

    // Walks the chunks from the reader's position to end.
    void readChunks(_3dsReader& reader, uint64_t end);
    void skipChunk(_3dsReader& reader, uint64_t end);

    // Colours, amounts and file-wide values
    void readColorFloat(_3dsReader& reader, uint64_t end);
    void readColorByte(_3dsReader& reader, uint64_t end);
    void readPercentage(_3dsReader& reader, uint64_t end);
    void readMasterScale(_3dsReader& reader, uint64_t end);
    void readFileFormatRevision(_3dsReader& reader, uint64_t end);

    // Objects
    void readObjectBlock(_3dsReader& reader, uint64_t end);
    void readTriMesh(_3dsReader& reader, uint64_t end);
    void readVertexList(_3dsReader& reader, uint64_t end);
    void readFaceList(_3dsReader& reader, uint64_t end);
    void readFaceMaterial(_3dsReader& reader, uint64_t end);
    void readMappingCoordinates(_3dsReader& reader, uint64_t end);
    void readSmoothings(_3dsReader& reader, uint64_t end);
    void readMeshMatrix(_3dsReader& reader, uint64_t end);
    void readLight(_3dsReader& reader, uint64_t end);
    void readSpotlight(_3dsReader& reader, uint64_t end);
    void readCamera(_3dsReader& reader, uint64_t end);

    // Materials
    void readMaterialName(_3dsReader& reader, uint64_t end);
    void readAmbientColor(_3dsReader& reader, uint64_t end);
    void readDiffuseColor(_3dsReader& reader, uint64_t end);
    void readSpecularColor(_3dsReader& reader, uint64_t end);
    void readShininessRatio(_3dsReader& reader, uint64_t end);
    void readShininessStrength(_3dsReader& reader, uint64_t end);
    void readTextureMap(_3dsReader& reader, uint64_t end);
    void readMapFile(_3dsReader& reader, uint64_t end);

    // Keyframer nodes and their sub-chunks
    void readFrames(_3dsReader& reader, uint64_t end);
    void readAmbientKey(_3dsReader& reader, uint64_t end);
    void readObjectTrack(_3dsReader& reader, uint64_t end);
    void readCameraTrack(_3dsReader& reader, uint64_t end);
    void readLightTrack(_3dsReader& reader, uint64_t end);
    void readTrackObjectName(_3dsReader& reader, uint64_t end);
    void readTrackInstanceName(_3dsReader& reader, uint64_t end);
    void readPivotPoint(_3dsReader& reader, uint64_t end);
    void readNodeOrderId(_3dsReader& reader, uint64_t end);
    void readPositionKeys(_3dsReader& reader, uint64_t end);
    void readRotationKeys(_3dsReader& reader, uint64_t end);
    void readScaleKeys(_3dsReader& reader, uint64_t end);
    void readRollTrack(_3dsReader& reader, uint64_t end);

    // A new keyframer of the scene, current from now on.
    Keyframer* beginNode();
    // The track header's key count; throws when fewer than count keys of minimumKeySize bytes fit.
    uint16_t readTrackHeader(_3dsReader& reader, uint64_t minimumKeySize);
    // The tension, continuity and bias of the key whose spline flags are flags.
    void readSplineParams(_3dsReader& reader, uint16_t flags);
    void resetSplineParams();

    Environment* environment;     // not owned
    KeyframedMesh* currentMesh;   // not owned: the scene's
    int namedFaces;               // faces of currentMesh that a material chunk gave a name
    Light* currentLight;       // not owned: the scene's
    Surface* currentMaterial;  // not owned: the scene's
    float colour[3];           // r, g, b of the colour chunk read last anywhere in the file
    std::string objectName;    // of the last Object Block
    uint16_t percentage;       // of the last Percentage chunk
    int textureMapFlag;        // 1 once a Texture map chunk was met; never cleared

    KeyframerController* keyframerController;  // not owned: the scene's
    Keyframer* currentKeyframer;               // not owned: the node's, while its chunks are read
    // The scene's first keyframer of every node id, as the controller's findKeyframer finds them,
    // kept up to date as the nodes are read: a file's parent ids are resolved without a search.
    std::unordered_map<int, Keyframer*> keyframersById;  // not owned: the scene's
    int startFrame;                            // the Frames chunk's range
    int endFrame;
    float tension;  // of the key being read, each in [0, 1]
    float continuity;
    float bias;

    int currentChunkId;  // the known chunk being handled
};

#endif
