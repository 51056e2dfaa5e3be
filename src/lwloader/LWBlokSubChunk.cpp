#include "lwloader/LWBlokSubChunk.h"

#include <algorithm>

#include "Actor.h"
#include "Environment.h"
#include "FilePath.h"
#include "Log.h"
#include "Surface.h"
#include "Texture.h"
#include "TextureManager.h"
#include "lwloader/LWClipChunk.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWNullSubChunk.h"
#include "lwloader/LWReader.h"
#include "lwloader/LWVmadChunk.h"
#include "lwloader/LWVmapChunk.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
const char* const source = "LWBlokSubChunk";

// The file part of an image path as the modeller saved it, whichever separator it used.
std::string fileOf(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return FilePath(path).getFileName();
}

// The name LightWave gives a PROJ code.
std::string projectionName(uint16_t code)
{
    switch (code) {
    case LWBlokSubChunk::PROJECTION_PLANAR: return "planar";
    case LWBlokSubChunk::PROJECTION_CYLINDRICAL: return "cylindrical";
    case LWBlokSubChunk::PROJECTION_SPHERICAL: return "spherical";
    case LWBlokSubChunk::PROJECTION_CUBIC: return "cubic";
    case LWBlokSubChunk::PROJECTION_FRONT: return "front";
    case LWBlokSubChunk::PROJECTION_UV: return "UV";
    default: return "unknown";
    }
}

// Reads a value sub-chunk of a block in place, its identifier already read: the U2 size, then
// read() bounded by the body, what it leaves unread skipped. 2 + size (+ 1 for a pad byte), or
// READ_FAILED.
template <typename Read> int64_t readInPlace(LWReader& reader, Read read)
{
    uint16_t size;
    if (reader.readU2(size) != 2 || !reader.enter(size))
        return LWLoaderComponent::READ_FAILED;
    bool complete = read(size);
    reader.leave();
    if (!complete || reader.failed())
        return LWLoaderComponent::READ_FAILED;
    int64_t count = 2 + static_cast<int64_t>(size);
    if (size % 2 == 1)
        count += reader.readPad();
    return count;
}
}

LWBlokSubChunk::LWBlokSubChunk()
    : LWSubChunk(ID_BLOK), imageIndex(0), projection(PROJECTION_PLANAR), axis(0), widthWrap(WRAP_EDGE),
      heightWrap(WRAP_EDGE)
{
}

LWBlokSubChunk::~LWBlokSubChunk() = default;

int64_t LWBlokSubChunk::readData(LWReader& reader)
{
    int number;
    std::string text;
    if (readChunkId(reader, number, text) != 4)
        return READ_FAILED;
    int64_t bytes;
    if (number == ID_IMAP) {
        auto imap = std::make_unique<LWImapBlokHeader>();
        imap->setIdString(text);
        bytes = imap->read(reader);
        if (bytes >= 0)
            header = std::move(imap);
    } else {
        LWNullSubChunk skipped;
        bytes = skipped.read(reader);
    }
    if (bytes < 0)
        return READ_FAILED;
    int64_t consumed = 4 + bytes;

    while (consumed < getSize()) {
        if (readChunkId(reader, number, text) != 4)
            return READ_FAILED;
        consumed += 4;
        switch (number) {
        case ID_TMAP: {
            auto map = std::make_unique<LWTmapSubChunk>();
            map->setIdString(text);
            bytes = map->read(reader);
            if (bytes >= 0)
                textureMaps.push_back(std::move(map));
            break;
        }
        case ID_IMAG:
            bytes = readInPlace(reader, [&](uint16_t) { return reader.readVX(imageIndex) != 0; });
            break;
        case ID_PROJ:
            bytes = readInPlace(reader, [&](uint16_t) { return reader.readU2(projection) == 2; });
            break;
        case ID_AXIS:
            bytes = readInPlace(reader, [&](uint16_t) { return reader.readU2(axis) == 2; });
            break;
        case ID_WRAP:
            bytes = readInPlace(reader,
                                [&](uint16_t) { return reader.readU2(widthWrap) == 2 && reader.readU2(heightWrap) == 2; });
            break;
        case ID_VMAP:
            // The name fills the whole body.
            bytes = readInPlace(reader, [&](uint16_t size) { return reader.readS0(uvMapName) == size; });
            break;
        default: {
            LWNullSubChunk skipped;
            bytes = skipped.read(reader);
            break;
        }
        }
        if (bytes < 0)
            return READ_FAILED;
        consumed += bytes;
    }
    return consumed;
}

std::string LWBlokSubChunk::textureName(const std::string& clipPath) const
{
    return fileOf(clipPath) + (widthWrap == WRAP_REPEAT ? "r" : "c") + (heightWrap == WRAP_REPEAT ? "r" : "c");
}

void LWBlokSubChunk::fillSurface(Actor* actor, Surface* surface, LWLoader* loader) const
{
    for (const std::unique_ptr<LWTmapSubChunk>& map : textureMaps)
        map->applyToSurface(surface);
    if (!header)
        return;

    // A projection that cannot be drawn is refused before its picture is decoded for nothing.
    if (projection != PROJECTION_PLANAR && projection != PROJECTION_UV) {
        const std::string text = "fillSurface() - Unsupported texture projection type. Please use either planary mapping, "
                                 "or uv coordinate mapping! Surface \"" +
                                 surface->getName() + "\" asks for the " + projectionName(projection) +
                                 " projection (code " + std::to_string(projection) + ").";
        KELVO_LOG(LogLevel::error) << "LWBlokSubChunk::" << text << logEnd;
        throw LWLoaderException(source, text);
    }

    Environment* scene = actor->getEnvironment();
    if (!scene)
        throw LWLoaderException(source, "fillSurface() - The actor belongs to no scene to keep its textures.");
    TextureManager& textures = scene->getTextureManager();
    // Clip indices hold for the whole file, wherever the clip lies.
    for (LWChunk* chunk : loader->findChunks(ID_CLIP, false)) {
        const LWClipChunk* clip = dynamic_cast<const LWClipChunk*>(chunk);
        if (!clip || clip->getClipIndex() != imageIndex)
            continue;
        for (int i = 0; i < clip->getItemCount(); ++i) {
            const std::string& path = clip->getItem(i).getFileName();
            const std::string name = textureName(path);
            if (textures.exists(name)) {
                surface->addTexture(textures.find(name));
                continue;
            }
            textures.createTexture(name);
            Texture* texture = textures.find(name);
            texture->repeatS = widthWrap == WRAP_REPEAT;
            texture->repeatT = heightWrap == WRAP_REPEAT;
            // The image is looked for in the resource folder by its bare file name.
            textures.loadCreated(texture, fileOf(path));
            surface->addTexture(texture);
        }
    }

    switch (projection) {
    case PROJECTION_PLANAR:
        if ((widthWrap != WRAP_REPEAT && widthWrap != WRAP_EDGE) || (heightWrap != WRAP_REPEAT && heightWrap != WRAP_EDGE))
            throw LWLoaderException(source, "fillSurface() - Invalid/unsupported texture map wrapping options for planary "
                                            "mapping! Please use repeat or edge wrap modes.");
        actor->calcPlanarMapping(surface->getName(), axis);
        loader->forgetAppliedUVMaps();
        break;
    case PROJECTION_UV:
        // Applying the maps again, for the next surface that names them, would set the same
        // values over themselves.
        if (!loader->noteUVMapApplied(uvMapName))
            break;
        // Per-point coordinates first; per-corner ones override them where a seam needs them. Every
        // layer may hold a map of the name, each for its own points.
        for (LWChunk* chunk : loader->findChunks(ID_VMAP, false)) {
            const LWVmapChunk* map = dynamic_cast<const LWVmapChunk*>(chunk);
            if (map && map->getName() == uvMapName)
                map->applyUV(actor);
        }
        for (LWChunk* chunk : loader->findChunks(ID_VMAD, false)) {
            const LWVmadChunk* map = dynamic_cast<const LWVmadChunk*>(chunk);
            if (map && map->getName() == uvMapName)
                map->applyUV(actor);
        }
        break;
    default:
        break;
    }
}
