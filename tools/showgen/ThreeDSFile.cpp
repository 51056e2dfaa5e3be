#include "ThreeDSFile.h"

#include <cstring>
#include <stdexcept>

ThreeDSFile& ThreeDSFile::chunk(uint16_t id)
{
    open.push_back(data.size());
    u16(id);
    return u32(0);  // the length, written by end()
}

ThreeDSFile& ThreeDSFile::end()
{
    if (open.empty())
        throw std::logic_error("3DS: end() without an open chunk");
    const size_t start = open.back();
    open.pop_back();
    const uint32_t length = static_cast<uint32_t>(data.size() - start);
    for (int i = 0; i < 4; ++i)
        data[start + 2 + i] = static_cast<char>((length >> (8 * i)) & 0xff);
    return *this;
}

ThreeDSFile& ThreeDSFile::u8(uint8_t value)
{
    data.push_back(static_cast<char>(value));
    return *this;
}

ThreeDSFile& ThreeDSFile::u16(uint16_t value)
{
    u8(static_cast<uint8_t>(value & 0xff));
    return u8(static_cast<uint8_t>(value >> 8));
}

ThreeDSFile& ThreeDSFile::u32(uint32_t value)
{
    u16(static_cast<uint16_t>(value & 0xffff));
    return u16(static_cast<uint16_t>(value >> 16));
}

ThreeDSFile& ThreeDSFile::f32(double value)
{
    const float single = static_cast<float>(value);
    uint32_t bits = 0;
    std::memcpy(&bits, &single, sizeof bits);
    return u32(bits);
}

ThreeDSFile& ThreeDSFile::vec(Vec3 value)
{
    return f32(value.x).f32(value.y).f32(value.z);
}

ThreeDSFile& ThreeDSFile::str(const std::string& text)
{
    data.append(text);
    return u8(0);
}

ThreeDSFile& ThreeDSFile::trackHeader(uint32_t keys)
{
    return u16(0).u32(0).u32(0).u32(keys);
}

ThreeDSFile& ThreeDSFile::key(uint32_t frame)
{
    return u32(frame).u16(0);
}

const std::string& ThreeDSFile::bytes() const
{
    if (!open.empty())
        throw std::logic_error("3DS: a chunk is still open");
    return data;
}
