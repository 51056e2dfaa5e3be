#ifndef KELVO_LWLOADER_H
#define KELVO_LWLOADER_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lwloader/LWChunk.h"
#include "lwloader/LWLoaderComponent.h"

class Actor;
class Environment;
class LWReader;

// Reads one LightWave object file (IFF "FORM" of type "LWO2") into an Actor in two passes:
// loadObject reads the file into a list of chunk objects, one per supported top-level chunk (the
// others are skipped by their size), and fillObject lets each of them apply itself to the actor in
// file order. Lives for one load: constructed, loadObject, fillObject, destroyed.
class LWLoader : public LWLoaderComponent {
public:
    // Neither pointer is owned; environment is the scene the actor belongs to.
    LWLoader(Actor* actor, Environment* environment);
    LWLoader(const LWLoader&) = delete;
    LWLoader& operator=(const LWLoader&) = delete;
    virtual ~LWLoader();

    // Reads the resource into the chunk list, replacing what an earlier call read; throws
    // LWLoaderException and then leaves the list as it was. The file is released on every path.
    void loadObject(const std::string& name);
    // Applies every chunk to the actor in file order; throws LWLoaderException naming the chunk.
    void fillObject(Actor* actor);

    // The cursor over the chunk list, for the chunks' fillObject. Chunks are owned by the loader.
    void resetCursor();      // back to the chunk being applied
    LWChunk* previousChunk();  // one back; none at the start, where the cursor stays
    LWChunk* nextChunk();      // one forward; none past the last chunk, where the cursor stays
    // True when the current layer (up to the next LAYR) holds a POLS chunk of BONE polygons. Before
    // any LAYR has been applied, the chunks ahead of the first LAYR form the current layer. Found
    // once when the layer is applied, not at every call. Resets the cursor.
    bool isBoneLayer();
    // The number of the current LAYR chunk; 0 before any LAYR has been applied.
    int getLayerNumber() const;
    // The chunks with that identifier number in file order: of the current layer (after its LAYR,
    // up to the next) with fromLayer, of the whole list without. Resets the cursor.
    std::vector<LWChunk*> findChunks(int number, bool fromLayer);
    // The nearest chunk before the one being applied that has that identifier number, as a T;
    // null when there is none or it is not a T. Resets the cursor.
    template <typename T> T* findPreviousChunk(int number)
    {
        LWChunk* chunk = previousChunkWithId(number);
        return chunk ? dynamic_cast<T*>(chunk) : nullptr;
    }
    // The same as an LWChunk.
    LWChunk* previousChunkWithId(int number);

    // The actor's polygon number for the first of count polygons whose faces a chunk adds: the
    // numbers run on from the chunks applied before it in this fill, starting at 0.
    int takePolygonNumbers(int count);

    // Whether the UV maps of that name are to be applied now; notes that they are. False when they
    // were the last applied, since the last chunk other than a SURF chunk, and no projection
    // replaced the coordinates since: the maps set fixed values, so applying them again changes
    // nothing.
    bool noteUVMapApplied(const std::string& name);
    // A projection replaced the texture coordinates: every map is applied again when named.
    void forgetAppliedUVMaps() { lastUVMap.reset(); }
    // The resource name of the last loadObject, for the chunks' messages.
    const std::string& getFileName() const { return fileName; }

    Environment* getEnvironment() const { return environment; }
    Actor* getActor() const { return actor; }

protected:
    // The chunk object that reads a top-level chunk of this identifier number, or none when the
    // chunk is skipped by its size.
    virtual std::unique_ptr<LWChunk> createChunk(int number) const;

private:
    using ChunkList = std::vector<std::unique_ptr<LWChunk>>;

    static constexpr size_t noLayer = static_cast<size_t>(-1);

    // Chunks from the reader's position to the end of the input; expectedSize is the form length
    // less its type field, compared with the bytes read once the input ends.
    ChunkList readChunks(LWReader& reader, uint32_t expectedSize) const;
    // Skips one chunk of a kind that is not read: 4 + size (+ 1 for a pad byte), or READ_FAILED.
    int64_t readNullChunk(LWReader& reader) const;
    // The positions of the current layer's chunks: [first, last).
    void layerRange(size_t& first, size_t& last) const;
    // Makes position layer (or noLayer) the current layer and finds its kind.
    void enterLayer(size_t layer);

    Environment* environment;  // not owned
    Actor* actor;              // not owned
    std::string fileName;      // the resource being read or applied
    ChunkList chunks;          // in file order
    size_t cursor;
    size_t currentChunk;  // the chunk being applied
    size_t currentLayer;  // the last LAYR applied, or noLayer
    bool boneLayer;       // the current layer holds BONE polygons
    // While fillObject runs: the position of the last chunk applied of each identifier number,
    // so that chunks find their nearest earlier chunk of a kind without walking back the list.
    std::map<int, size_t> lastApplied;
    std::optional<std::string> lastUVMap;  // the map applied last, if any: see noteUVMapApplied
    bool filling;
    int nextPolygonNumber;  // the actor's polygon number for the next face a chunk adds
};

#endif
