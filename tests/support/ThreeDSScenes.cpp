#include "ThreeDSScenes.h"

#include "3dsChunkIds.h"
#include "ThreeDSWriter.h"

using namespace _3dsChunk;

std::string chunkOf(uint16_t id, const std::string& body)
{
    ThreeDSWriter w;
    w.chunk(id).raw(body).end();
    return w.bytes();
}

std::string inMain(const std::string& body)
{
    return chunkOf(MAIN, body);
}

std::string editor(const std::string& body)
{
    return chunkOf(OBJECT_MESH, body);
}

std::string keyframerData(const std::string& body)
{
    return chunkOf(KEYFRAMER_DATA, body);
}

std::string lightObject(const std::string& name, float x, float y, float z, const std::string& extra)
{
    ThreeDSWriter w;
    w.chunk(OBJECT_BLOCK).str(name).chunk(LIGHT).vec(x, y, z).raw(extra).end().end();
    return w.bytes();
}

std::string colourFloat(float r, float g, float b)
{
    ThreeDSWriter w;
    w.chunk(RGB_FLOAT).f32(r).f32(g).f32(b).end();
    return w.bytes();
}

std::string colourByte(uint8_t r, uint8_t g, uint8_t b)
{
    ThreeDSWriter w;
    w.chunk(RGB_BYTE).u8(r).u8(g).u8(b).end();
    return w.bytes();
}

std::string percentage(uint16_t value)
{
    ThreeDSWriter w;
    w.chunk(PERCENTAGE).u16(value).end();
    return w.bytes();
}

std::string frames(uint32_t start, uint32_t end)
{
    ThreeDSWriter w;
    w.chunk(FRAMES).u32(start).u32(end).end();
    return w.bytes();
}

std::string nodeName(const std::string& name, uint16_t parent)
{
    ThreeDSWriter w;
    w.chunk(TRACK_OBJECT_NAME).str(name).u16(0x4000).u16(0).u16(parent).end();
    return w.bytes();
}

std::string nodeId(uint16_t id)
{
    ThreeDSWriter w;
    w.chunk(NODE_ORDER_ID).u16(id).end();
    return w.bytes();
}

std::string positionKeys(const std::vector<PositionKey>& keys)
{
    ThreeDSWriter w;
    w.chunk(POSITION_KEYS).trackHeader(static_cast<uint16_t>(keys.size()));
    for (const PositionKey& k : keys)
        w.keyHeader(k.frame, k.flags, k.spline).vec(k.x, k.y, k.z);
    w.end();
    return w.bytes();
}
