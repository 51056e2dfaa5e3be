#include "lwloader/LWSurfChunk.h"

#include <exception>

#include "Actor.h"
#include "Log.h"
#include "StringUtil.h"
#include "Surface.h"
#include "lwloader/LWColrSubChunk.h"
#include "lwloader/LWFloatEnvelopeSubChunk.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"
#include "lwloader/LWNullSubChunk.h"
#include "lwloader/LWReader.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
const char* const exceptionSource = "LWSurfChunkException";

// The colour's red, green and blue scaled by factor, its alpha kept.
RGBA scaled(const RGBA& colour, float factor)
{
    return RGBA(colour.r * factor, colour.g * factor, colour.b * factor, colour.a);
}
}

LWSurfChunk::LWSurfChunk() : LWChunk(ID_SURF), glossinessClamped(false), glossinessRead(0.0f)
{
}

LWSurfChunk::~LWSurfChunk() = default;

int64_t LWSurfChunk::readData(LWReader& reader)
{
    int64_t nameBytes = reader.readS0(name);
    if (nameBytes == 0)
        return READ_FAILED;
    int64_t sourceBytes = reader.readS0(source);
    if (sourceBytes == 0)
        return READ_FAILED;
    int64_t consumed = nameBytes + sourceBytes;
    while (consumed < getSize()) {
        int number;
        std::string text;
        if (readChunkId(reader, number, text) != 4)
            return READ_FAILED;
        consumed += 4;
        int64_t bytes;
        switch (number) {
        case ID_BLOK: {
            auto block = std::make_unique<LWBlokSubChunk>();
            block->setIdString(text);
            bytes = block->read(reader);
            if (bytes >= 0)
                blocks.push_back(std::move(block));
            break;
        }
        case ID_COLR: {
            LWColrSubChunk colour;
            colour.setIdString(text);
            bytes = colour.read(reader);
            if (bytes >= 0)
                material.setColor(colour.getColor());
            break;
        }
        case ID_DIFF:
        case ID_LUMI:
        case ID_SPEC:
        case ID_GLOS: {
            LWFloatEnvelopeSubChunk value(number);
            value.setIdString(text);
            bytes = value.read(reader);
            if (bytes < 0)
                break;
            const float v = value.getValue();
            if (number == ID_DIFF)
                material.setDiffuse(scaled(material.getColor(), v));
            else if (number == ID_LUMI)
                material.setEmission(scaled(material.getColor(), v));
            else if (number == ID_SPEC)
                material.setSpecular(RGBA(v, v, v, 1.0f));
            else
                setGlossiness(v);
            break;
        }
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

void LWSurfChunk::setGlossiness(float value)
{
    // OpenGL takes a shininess of 0 to 128 only (a glossiness of 0 to 1) and otherwise keeps the
    // one before, failing the next check for errors.
    if (value >= 0.0f && value <= 1.0f) {
        glossinessClamped = false;
        material.setShininess(value);
        return;
    }
    glossinessClamped = true;
    glossinessRead = value;
    material.setShininess(value > 1.0f ? 1.0f : 0.0f);
}

void LWSurfChunk::fillObject(Actor* actor, LWLoader* loader)
{
    if (glossinessClamped)
        KELVO_LOG(LogLevel::warning) << "fillObject() - Surface \"" << name << "\" in file \""
                     << loader->getFileName() << "\": glossiness " << ::toString(static_cast<double>(glossinessRead))
                     << " is outside 0 to 1; the shininess is "
                     << ::toString(static_cast<double>(material.getShininess())) << "." << logEnd;
    try {
        Factory<Surface>& library = actor->getSurfaces();
        if (!library.exists(name))
            library.create(name, actor->getEnvironment());
        Surface* surface = library.find(name);
        surface->setMaterial(material);
        for (const std::unique_ptr<LWBlokSubChunk>& block : blocks)
            block->fillSurface(actor, surface, loader);
    } catch (const Exception& e) {
        throw LWLoaderException(exceptionSource, "fillObject() - Failed to set surface to the actor. " + e.getMessage());
    } catch (...) {
        throw LWLoaderException(exceptionSource, "fillObject() - Failed to set surface to the actor. Unknown Cause!");
    }
}
