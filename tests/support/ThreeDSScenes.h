#ifndef KELVO_THREEDSSCENES_H
#define KELVO_THREEDSSCENES_H

#include <cstdint>
#include <string>
#include <vector>

// Pieces of 3D Studio test files, written with ThreeDSWriter; each returns the bytes of one chunk.
std::string inMain(const std::string& body);
std::string editor(const std::string& body);         // the Object Mesh chunk
std::string keyframerData(const std::string& body);  // the Keyframer data chunk
std::string chunkOf(uint16_t id, const std::string& body);

// A light object named name at (x, y, z) of the file; extra: the light's sub-chunks.
std::string lightObject(const std::string& name, float x, float y, float z, const std::string& extra = "");
std::string colourFloat(float r, float g, float b);
std::string colourByte(uint8_t r, uint8_t g, uint8_t b);
std::string percentage(uint16_t value);

std::string frames(uint32_t start, uint32_t end);
std::string nodeName(const std::string& name, uint16_t parent = 0xFFFF);
std::string nodeId(uint16_t id);

struct PositionKey {
    uint16_t frame;
    uint16_t flags;
    std::vector<float> spline;  // one value per set flag bit
    float x, y, z;              // as the file has them
};
std::string positionKeys(const std::vector<PositionKey>& keys);

#endif
