#include "LwoWriter.h"

#include <cstring>
#include <stdexcept>

LwoWriter& LwoWriter::u1(uint8_t value)
{
    bytes.push_back(static_cast<char>(value));
    return *this;
}

LwoWriter& LwoWriter::u2(uint16_t value)
{
    u1(static_cast<uint8_t>(value >> 8));
    return u1(static_cast<uint8_t>(value));
}

LwoWriter& LwoWriter::i2(int16_t value)
{
    return u2(static_cast<uint16_t>(value));
}

LwoWriter& LwoWriter::u4(uint32_t value)
{
    u2(static_cast<uint16_t>(value >> 16));
    return u2(static_cast<uint16_t>(value));
}

LwoWriter& LwoWriter::f4(float value)
{
    uint32_t raw;
    std::memcpy(&raw, &value, sizeof raw);
    return u4(raw);
}

LwoWriter& LwoWriter::vec12(float x, float y, float z)
{
    return f4(x).f4(y).f4(z);
}

LwoWriter& LwoWriter::vx(uint32_t index)
{
    return index < 0xFF00 ? u2(static_cast<uint16_t>(index)) : vx4(index);
}

LwoWriter& LwoWriter::vx4(uint32_t index)
{
    return u4(0xFF000000u | (index & 0xFFFFFFu));
}

LwoWriter& LwoWriter::s0(const std::string& text)
{
    bytes += text;
    bytes.push_back('\0');
    if ((text.size() + 1) % 2 == 1)
        bytes.push_back('\0');
    return *this;
}

LwoWriter& LwoWriter::id(const std::string& code)
{
    if (code.size() != 4)
        throw std::logic_error("an identifier has four characters: " + code);
    return raw(code);
}

LwoWriter& LwoWriter::raw(const std::string& more)
{
    bytes += more;
    return *this;
}

LwoWriter& LwoWriter::chunk(const std::string& code)
{
    id(code);
    open.push_back({bytes.size(), 4});
    return u4(0);
}

LwoWriter& LwoWriter::subChunk(const std::string& code)
{
    id(code);
    open.push_back({bytes.size(), 2});
    return u2(0);
}

LwoWriter& LwoWriter::end()
{
    if (open.empty())
        throw std::logic_error("end() without an open chunk");
    Open last = open.back();
    open.pop_back();
    size_t size = bytes.size() - last.sizeAt - last.sizeBytes;
    if ((static_cast<uint64_t>(size) >> (8 * last.sizeBytes)) != 0)
        throw std::logic_error(last.sizeBytes == 2 ? "a sub-chunk body above 65535 bytes"
                                                   : "a chunk body above 4 GiB");
    patch(last.sizeAt, static_cast<uint32_t>(size), last.sizeBytes);
    if (size % 2 == 1)
        bytes.push_back('\0');
    return *this;
}

void LwoWriter::patch(size_t at, uint32_t value, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * (count - 1 - i)));
}

const std::string& LwoWriter::body() const
{
    if (!open.empty())
        throw std::logic_error("a chunk is still open");
    return bytes;
}

std::string LwoWriter::file(const std::string& type) const
{
    return file(type, static_cast<uint32_t>(body().size() + 4));
}

std::string LwoWriter::file(const std::string& type, uint32_t formLength) const
{
    LwoWriter form;
    form.id("FORM").u4(formLength).id(type).raw(body());
    return form.bytes;
}
