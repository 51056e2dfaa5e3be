#include "PictureNames.h"

#include <cstdint>

namespace {
// LWO2 ids
const char* const FORM = "FORM";
const char* const LWO2 = "LWO2";
const char* const CLIP = "CLIP";
const char* const STIL = "STIL";

// 3D Studio chunk ids, grouped by parent.
const uint16_t MAIN = 0x4D4D;
// sub chunks of MAIN
const uint16_t EDITOR = 0x3D3D;
// sub chunks of EDITOR
const uint16_t MATERIAL = 0xAFFF;
// sub chunks of MATERIAL that hold a map: texture 1 and 2, opacity, bump, specular, shininess,
// self-illumination, reflection and the masks of those
const uint16_t MAPS[] = {0xA200, 0xA33A, 0xA210, 0xA230, 0xA204, 0xA33C, 0xA33D, 0xA220,
                         0xA33E, 0xA340, 0xA342, 0xA344, 0xA346, 0xA348, 0xA34A, 0xA34C};
// sub chunks of a map
const uint16_t MAP_FILENAME = 0xA300;

uint32_t bigEndian(const std::string& b, std::size_t at, int bytes)
{
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | static_cast<uint8_t>(b[at + i]);
    return value;
}

uint32_t littleEndian(const std::string& b, std::size_t at, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(b[at + i]);
    return value;
}

// The zero-ended string at from, within end.
std::string stringAt(const std::string& b, std::size_t from, std::size_t end)
{
    std::size_t stop = from;
    while (stop < end && b[stop] != '\0')
        ++stop;
    return b.substr(from, stop - from);
}

void lightWaveNames(const std::string& b, std::vector<std::string>& names)
{
    if (b.size() < 12 || b.compare(0, 4, FORM) != 0 || b.compare(8, 4, LWO2) != 0)
        return;
    std::size_t at = 12;
    while (b.size() - at >= 8) {
        const uint64_t size = bigEndian(b, at + 4, 4);
        const std::size_t body = at + 8;
        if (size > b.size() - body)
            return;
        const std::size_t end = body + size;
        if (b.compare(at, 4, CLIP) == 0 && size >= 4) {
            std::size_t sub = body + 4;  // after the clip's index
            while (end - sub >= 6) {
                const std::size_t subSize = bigEndian(b, sub + 4, 2);
                if (subSize > end - sub - 6)
                    break;
                if (b.compare(sub, 4, STIL) == 0)
                    names.push_back(stringAt(b, sub + 6, sub + 6 + subSize));
                sub += 6 + subSize + (subSize & 1);
            }
        }
        at = end + (size & 1);
        if (at > b.size())
            return;
    }
}

bool isMap(uint16_t id)
{
    for (uint16_t map : MAPS)
        if (id == map)
            return true;
    return false;
}

// The chunks from at to end, descending into those that lead to a map's file name.
void threeDSNames(const std::string& b, std::size_t at, std::size_t end, std::vector<std::string>& names)
{
    while (end - at >= 6) {
        const uint16_t id = static_cast<uint16_t>(littleEndian(b, at, 2));
        const uint32_t length = littleEndian(b, at + 2, 4);
        if (length < 6 || length > end - at)
            return;
        if (id == MAP_FILENAME)
            names.push_back(stringAt(b, at + 6, at + length));
        else if (id == MAIN || id == EDITOR || id == MATERIAL || isMap(id))
            threeDSNames(b, at + 6, at + length, names);
        at += length;
    }
}
}

std::vector<std::string> pictureNames(const std::string& bytes, bool lightWave)
{
    std::vector<std::string> names;
    if (lightWave)
        lightWaveNames(bytes, names);
    else
        threeDSNames(bytes, 0, bytes.size(), names);
    return names;
}
