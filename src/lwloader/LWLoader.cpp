#include "lwloader/LWLoader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <utility>

#include "Actor.h"
#include "Log.h"
#include "ResourceFile.h"
#include "ResourceLoader.h"
#include "StringUtil.h"
#include "Surface.h"
#include "lwloader/LWChunk.h"
#include "lwloader/LWClipChunk.h"
#include "lwloader/LWLayerChunk.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWPointsChunk.h"
#include "lwloader/LWPolygonsChunk.h"
#include "lwloader/LWPtagChunk.h"
#include "lwloader/LWReader.h"
#include "lwloader/LWSurfChunk.h"
#include "lwloader/LWTagsChunk.h"
#include "lwloader/LWVmadChunk.h"
#include "lwloader/LWVmapChunk.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
const char* const source = "LWLoader";

// The loader's exception for input that cannot be read as an LWO2 object: the code's text, then
// the file and what is wrong with it.
LWLoaderException fileFailure(int code, const std::string& name, const std::string& detail)
{
    LWLoaderException failure(source, code);
    failure.appendMessage(" File " + quoted(name) + ": " + detail + ".");
    return failure;
}

void logError(const std::string& text)
{
    KELVO_LOG(LogLevel::error) << text << logEnd;
}

// The object file, opened; the loader's exception when it cannot be.
ResourceFile openObject(const std::string& name)
{
    Result<ResourceFile> opened = ResourceLoader::readResourceFile(name);
    if (!opened) {
        const std::string text = "loadObject() - LightWave object loading failed. Unable to open the resource. ";
        KELVO_LOG(LogLevel::error) << text << ResourceLoaderException(opened.failure()).getMessage() << logEnd;
        throw LWLoaderException(source, text);
    }
    return std::move(*opened);
}
}

LWLoader::LWLoader(Actor* actor, Environment* environment)
    : environment(environment), actor(actor), cursor(0), currentChunk(0), currentLayer(noLayer), boneLayer(false),
      filling(false), nextPolygonNumber(0)
{
}

LWLoader::~LWLoader() = default;

void LWLoader::loadObject(const std::string& name)
{
    KELVO_LOG(LogLevel::debug) << "loadObject() - Opening LightWave file: " << name << logEnd;

    std::vector<uint8_t> bytes;
    {
        ResourceFile input = openObject(name);
        if (!input.readToEnd(bytes)) {
            const std::string cause = std::strerror(errno);
            logError("loadObject() - Failed to read the LightWave file " + quoted(name) + ": " + cause);
            throw fileFailure(LWLoaderException::corruptedFile, name, "reading failed (" + cause + ")");
        }
    }
    LWReader reader(name, std::move(bytes));

    int number;
    std::string text;
    if (reader.remaining() < 4) {
        logError("loadObject() - Failed to read LWO file id (\"FORM\").");
        throw fileFailure(LWLoaderException::corruptedFile, name, "it is shorter than the \"FORM\" identifier");
    }
    // Four bytes that are not "FORM" (0xFF included) are another format, not a damaged LWO2 file.
    if (readChunkId(reader, number, text) != 4 || number != ID_FORM) {
        logError("loadObject() - Unknown file format (Not LWO/IFF?).");
        throw fileFailure(LWLoaderException::unknownFileFormat, name, "it does not begin with \"FORM\"");
    }
    uint32_t formLength;
    if (reader.readU4(formLength) != 4) {
        logError("loadObject() - Failed to read LWO file master length.");
        throw fileFailure(LWLoaderException::corruptedFile, name, "it ends inside the form length");
    }
    if (reader.remaining() < 4) {
        logError("loadObject() - Failed to read LWO file version.");
        throw fileFailure(LWLoaderException::corruptedFile, name, "it ends before the form type");
    }
    if (readChunkId(reader, number, text) != 4 || number != ID_LWO2) {
        logError("loadObject() - Unsupported file version.");
        std::string type = number == ID_END ? "" : " " + quoted(text);
        throw fileFailure(LWLoaderException::unknownFileFormat, name, "its form type" + type + " is not \"LWO2\"");
    }
    // The form length counts the type field too; one too short to hold it cannot be right.
    if (formLength < 4) {
        logError("loadObject() - Invalid LWO file master length.");
        throw fileFailure(LWLoaderException::corruptedFile, name,
                          "the form length " + std::to_string(formLength) + " is shorter than its type field");
    }

    ChunkList read = readChunks(reader, formLength - 4);
    chunks = std::move(read);
    fileName = name;
    cursor = currentChunk = 0;
    currentLayer = noLayer;
    boneLayer = false;
}

LWLoader::ChunkList LWLoader::readChunks(LWReader& reader, uint32_t expectedSize) const
{
    ChunkList read;
    uint64_t total = 0;
    for (;;) {
        const uint64_t start = reader.getPosition();
        int number;
        std::string text;
        const int64_t idBytes = readChunkId(reader, number, text);
        total += static_cast<uint64_t>(idBytes);
        // Reading goes on to the end of the input, past the form length; only then is the count
        // compared with it. The last chunk's pad byte may be missing.
        if (idBytes < 4) {
            if (((total + 1) & ~static_cast<uint64_t>(1)) >= expectedSize)
                return read;
            LWLoaderException failure(source, "LWLoader::readChunks() - Bytecount (" + std::to_string(total) +
                                                  ") vs. filesize (" + std::to_string(expectedSize) +
                                                  ") mismatch, possibly corrupted file.");
            failure.appendMessage(" File " + quoted(reader.getName()) + ": it ends before its form length.");
            throw failure;
        }

        std::unique_ptr<LWChunk> chunk = createChunk(number);
        int64_t bytes;
        if (chunk) {
            chunk->setIdString(text);
            bytes = chunk->read(reader);
        } else {
            bytes = readNullChunk(reader);
        }
        if (bytes < 0) {
            logError("LWLoader::readChunks() - Possible silent error detected!");
            throw fileFailure(LWLoaderException::corruptedFile, reader.getName(),
                              "chunk " + quoted(text) + " at byte " + std::to_string(start) + ": " + reader.getFailure());
        }
        total += static_cast<uint64_t>(bytes);
        if (chunk)
            read.push_back(std::move(chunk));
    }
}

int64_t LWLoader::readNullChunk(LWReader& reader) const
{
    uint32_t size;
    if (reader.readU4(size) != 4) {
        logError("readNullChunk() - Failed to chunk size.");
        return READ_FAILED;
    }
    if (reader.skip(size) != size) {
        logError("readNullChunk() - Seek error. Failed to skip the chunk.");
        return READ_FAILED;
    }
    int64_t count = 4 + static_cast<int64_t>(size);
    if (size % 2 == 1)
        count += reader.readPad();
    return count;
}

std::unique_ptr<LWChunk> LWLoader::createChunk(int number) const
{
    switch (number) {
    case ID_PNTS: return std::make_unique<LWPointsChunk>();
    case ID_POLS: return std::make_unique<LWPolygonsChunk>();
    case ID_TAGS: return std::make_unique<LWTagsChunk>();
    case ID_LAYR: return std::make_unique<LWLayerChunk>();
    case ID_PTAG: return std::make_unique<LWPtagChunk>();
    case ID_VMAP: return std::make_unique<LWVmapChunk>();
    case ID_VMAD: return std::make_unique<LWVmadChunk>();
    case ID_CLIP: return std::make_unique<LWClipChunk>();
    case ID_SURF: return std::make_unique<LWSurfChunk>();
    default:
        return nullptr;
    }
}

void LWLoader::fillObject(Actor* target)
{
    // Cleared on every way out, so lookups outside a fill walk the list.
    struct FillScope {
        LWLoader& loader;
        explicit FillScope(LWLoader& loader) : loader(loader)
        {
            loader.lastApplied.clear();
            loader.lastUVMap.reset();
            loader.filling = true;
            loader.nextPolygonNumber = 0;
        }
        ~FillScope()
        {
            loader.filling = false;
            loader.lastApplied.clear();
            loader.lastUVMap.reset();
        }
    } scope(*this);
    enterLayer(noLayer);
    std::string id;
    try {
        for (size_t p = 0; p < chunks.size(); ++p) {
            LWChunk& chunk = *chunks[p];
            id = chunk.getIdString();
            if (chunk.getId() == ID_LAYR)
                enterLayer(p);
            // Any chunk but a SURF chunk may add what a map applies to.
            if (chunk.getId() != ID_SURF)
                lastUVMap.reset();
            cursor = currentChunk = p;
            KELVO_LOG(LogLevel::debug) << "fillObject() - Populating Actor with " << quoted(id)
                         << " chunk." << logEnd;
            chunk.fillObject(target, this);
            lastApplied[chunk.getId()] = p;
        }
    } catch (const LWLoaderException& e) {
        throw LWLoaderException(source, "LWLoader::FillObject() - Unable to populate Actor with Chunk " + quoted(id) +
                                            ".  Cause: " + e.getMessage());
    } catch (const std::exception& e) {
        throw LWLoaderException(source, "LWLoader::FillObject() - Unable to populate Actor with Chunk " + quoted(id) +
                                            ".  Cause: " + e.what());
    } catch (...) {
        throw LWLoaderException(source, "LWLoader::FillObject() - Unable to populate Actor with Chunk " + quoted(id) +
                                            ". Unknown Cause!");
    }
    // Polygons no SURF tag names, and polygons tagged with a surface no SURF chunk describes, draw
    // with a default surface, as LightWave draws them: without one, the actor could not be drawn at
    // all. Triangles of one tag share one name, so a run of them is looked up once.
    if (!target)
        return;
    Factory<Surface>& surfaces = target->getSurfaces();
    const std::string* previous = nullptr;
    for (const auto& entry : target->getTriangles()) {
        const std::string& name = entry.second.getSurfaceName();
        if (previous && name == *previous)
            continue;
        previous = &name;
        if (surfaces.exists(name))
            continue;
        if (!name.empty())
            KELVO_LOG(LogLevel::warning) << "fillObject() - File " << quoted(fileName)
                                         << ": polygons are tagged with the surface " << quoted(name)
                                         << ", which no SURF chunk describes; they draw with a default surface." << logEnd;
        surfaces.create(name, target->getEnvironment());
    }
}

bool LWLoader::noteUVMapApplied(const std::string& name)
{
    // Only the map applied last is certain to hold: another map applied since may have set the
    // same points' coordinates over it.
    if (lastUVMap == name)
        return false;
    lastUVMap = name;
    return true;
}

int LWLoader::takePolygonNumbers(int count)
{
    const int first = nextPolygonNumber;
    nextPolygonNumber += count;
    return first;
}

void LWLoader::resetCursor()
{
    cursor = currentChunk;
}

LWChunk* LWLoader::previousChunk()
{
    if (chunks.empty() || cursor == 0)
        return nullptr;
    --cursor;
    return chunks[cursor].get();
}

LWChunk* LWLoader::nextChunk()
{
    if (cursor + 1 >= chunks.size())
        return nullptr;
    ++cursor;
    return chunks[cursor].get();
}

void LWLoader::layerRange(size_t& first, size_t& last) const
{
    first = currentLayer == noLayer ? 0 : currentLayer + 1;
    last = first;
    while (last < chunks.size() && chunks[last]->getId() != ID_LAYR)
        ++last;
}

void LWLoader::enterLayer(size_t layer)
{
    currentLayer = layer;
    size_t first, last;
    layerRange(first, last);
    boneLayer = false;
    for (size_t p = first; p < last && !boneLayer; ++p)
        boneLayer = chunks[p]->getId() == ID_POLS && chunks[p]->getPolygonType() == ID_BONE;
}

bool LWLoader::isBoneLayer()
{
    resetCursor();
    return boneLayer;
}

LWChunk* LWLoader::previousChunkWithId(int number)
{
    resetCursor();
    if (filling) {
        const auto found = lastApplied.find(number);
        return found == lastApplied.end() ? nullptr : chunks[found->second].get();
    }
    for (LWChunk* chunk = previousChunk(); chunk; chunk = previousChunk()) {
        if (chunk->getId() == number) {
            resetCursor();
            return chunk;
        }
    }
    resetCursor();
    return nullptr;
}

int LWLoader::getLayerNumber() const
{
    return currentLayer == noLayer ? 0 : chunks[currentLayer]->getLayerNumber();
}

std::vector<LWChunk*> LWLoader::findChunks(int number, bool fromLayer)
{
    size_t first = 0, last = chunks.size();
    if (fromLayer)
        layerRange(first, last);
    std::vector<LWChunk*> found;
    for (size_t p = first; p < last; ++p) {
        if (chunks[p]->getId() == number)
            found.push_back(chunks[p].get());
    }
    resetCursor();
    return found;
}
