#include "ThreeDSWriter.h"

#include <cstring>
#include <stdexcept>

ThreeDSWriter& ThreeDSWriter::u8(uint8_t value)
{
    data.push_back(static_cast<char>(value));
    return *this;
}

ThreeDSWriter& ThreeDSWriter::u16(uint16_t value)
{
    u8(static_cast<uint8_t>(value));
    return u8(static_cast<uint8_t>(value >> 8));
}

ThreeDSWriter& ThreeDSWriter::s16(int16_t value)
{
    return u16(static_cast<uint16_t>(value));
}

ThreeDSWriter& ThreeDSWriter::u32(uint32_t value)
{
    u16(static_cast<uint16_t>(value));
    return u16(static_cast<uint16_t>(value >> 16));
}

ThreeDSWriter& ThreeDSWriter::f32(float value)
{
    uint32_t raw;
    std::memcpy(&raw, &value, sizeof raw);
    return u32(raw);
}

ThreeDSWriter& ThreeDSWriter::vec(float x, float y, float z)
{
    return f32(x).f32(y).f32(z);
}

ThreeDSWriter& ThreeDSWriter::str(const std::string& text)
{
    data += text;
    data.push_back('\0');
    return *this;
}

ThreeDSWriter& ThreeDSWriter::raw(const std::string& bytes)
{
    data += bytes;
    return *this;
}

ThreeDSWriter& ThreeDSWriter::chunk(uint16_t id)
{
    u16(id);
    open.push_back(data.size());
    return u32(0);
}

ThreeDSWriter& ThreeDSWriter::chunkWithLength(uint16_t id, uint32_t length)
{
    u16(id);
    open.push_back(std::string::npos);
    return u32(length);
}

ThreeDSWriter& ThreeDSWriter::end()
{
    if (open.empty())
        throw std::logic_error("ThreeDSWriter::end() without an open chunk");
    const size_t at = open.back();
    open.pop_back();
    if (at == std::string::npos)
        return *this;
    const uint32_t length = static_cast<uint32_t>(data.size() - (at - 2));
    for (int i = 0; i < 4; ++i)
        data[at + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    return *this;
}

ThreeDSWriter& ThreeDSWriter::trackHeader(uint32_t keys)
{
    return u16(0).u32(0).u32(0).u32(keys);
}

ThreeDSWriter& ThreeDSWriter::keyHeader(uint32_t frame, uint16_t flags, const std::vector<float>& splineValues)
{
    u32(frame).u16(flags);
    for (float value : splineValues)
        f32(value);
    return *this;
}

const std::string& ThreeDSWriter::bytes() const
{
    if (!open.empty())
        throw std::logic_error("ThreeDSWriter::bytes() with an open chunk");
    return data;
}
