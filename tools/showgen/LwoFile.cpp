#include "LwoFile.h"

#include <cstring>
#include <stdexcept>

LwoFile& LwoFile::chunk(const std::string& code)
{
    return open(code, 4);
}

LwoFile& LwoFile::subChunk(const std::string& code)
{
    return open(code, 2);
}

LwoFile& LwoFile::open(const std::string& code, size_t sizeBytes)
{
    id(code);
    opened.push_back({data.size(), sizeBytes});
    data.append(sizeBytes, '\0');  // the size, written by end()
    return *this;
}

LwoFile& LwoFile::end()
{
    if (opened.empty())
        throw std::logic_error("LWO2: end() without an open chunk");
    const Open chunk = opened.back();
    opened.pop_back();
    const size_t size = data.size() - chunk.sizeAt - chunk.sizeBytes;
    if (size >= (uint64_t{1} << (8 * chunk.sizeBytes)))
        throw std::logic_error("LWO2: a chunk too long for its size field");
    for (size_t i = 0; i < chunk.sizeBytes; ++i)
        data[chunk.sizeAt + i] = static_cast<char>((size >> (8 * (chunk.sizeBytes - 1 - i))) & 0xff);
    if (size % 2 != 0)
        u1(0);
    return *this;
}

LwoFile& LwoFile::id(const std::string& code)
{
    if (code.size() != 4)
        throw std::logic_error("LWO2: an id of four characters expected, not \"" + code + "\"");
    data.append(code);
    return *this;
}

LwoFile& LwoFile::u1(uint8_t value)
{
    data.push_back(static_cast<char>(value));
    return *this;
}

LwoFile& LwoFile::u2(uint16_t value)
{
    u1(static_cast<uint8_t>(value >> 8));
    return u1(static_cast<uint8_t>(value & 0xff));
}

LwoFile& LwoFile::u4(uint32_t value)
{
    u2(static_cast<uint16_t>(value >> 16));
    return u2(static_cast<uint16_t>(value & 0xffff));
}

LwoFile& LwoFile::f4(double value)
{
    const float single = static_cast<float>(value);
    uint32_t bits = 0;
    std::memcpy(&bits, &single, sizeof bits);
    return u4(bits);
}

LwoFile& LwoFile::vec12(Vec3 value)
{
    return f4(value.x).f4(value.y).f4(value.z);
}

LwoFile& LwoFile::vx(uint32_t index)
{
    if (index < 0xFF00)
        return u2(static_cast<uint16_t>(index));
    return u4(0xFF000000u | index);
}

LwoFile& LwoFile::s0(const std::string& text)
{
    data.append(text);
    u1(0);
    if ((text.size() + 1) % 2 != 0)
        u1(0);
    return *this;
}

std::string LwoFile::file() const
{
    if (!opened.empty())
        throw std::logic_error("LWO2: a chunk is still open");
    LwoFile form;
    form.id("FORM").u4(static_cast<uint32_t>(data.size() + 4)).id("LWO2");
    return form.data + data;
}
