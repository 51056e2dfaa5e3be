#ifndef SHOWGEN_STUDIOCHUNKS_H
#define SHOWGEN_STUDIOCHUNKS_H

#include <cstdint>

// The 3D Studio chunk ids the show's scenes are written with, grouped by the chunk they stand in.
namespace studio {
const uint16_t MAIN = 0x4D4D;  // the whole file
// sub chunks of MAIN
const uint16_t VERSION = 0x0002;
const uint16_t EDITOR = 0x3D3D;
const uint16_t KEYFRAMER = 0xB000;
// sub chunks of EDITOR
const uint16_t MESH_VERSION = 0x3D3E;
const uint16_t MASTER_SCALE = 0x0100;
const uint16_t MATERIAL = 0xAFFF;
const uint16_t OBJECT = 0x4000;
// sub chunks of MATERIAL
const uint16_t MATERIAL_NAME = 0xA000;
const uint16_t MATERIAL_AMBIENT = 0xA010;
const uint16_t MATERIAL_DIFFUSE = 0xA020;
const uint16_t MATERIAL_SPECULAR = 0xA030;
const uint16_t SHININESS = 0xA040;
const uint16_t SHININESS_STRENGTH = 0xA041;
const uint16_t TEXTURE_MAP = 0xA200;
// sub chunks of the colour and amount chunks of a material, of a light, and of TEXTURE_MAP
const uint16_t COLOUR_FLOAT = 0x0010;
const uint16_t COLOUR_BYTE = 0x0011;
const uint16_t PERCENTAGE = 0x0030;
const uint16_t MAP_FILE = 0xA300;
// sub chunks of OBJECT
const uint16_t TRIANGLE_MESH = 0x4100;
const uint16_t LIGHT = 0x4600;
const uint16_t CAMERA = 0x4700;
// sub chunks of TRIANGLE_MESH
const uint16_t VERTICES = 0x4110;
const uint16_t MAPPING = 0x4140;
const uint16_t MESH_MATRIX = 0x4160;
const uint16_t FACES = 0x4120;
// sub chunks of FACES
const uint16_t FACE_MATERIAL = 0x4130;
const uint16_t SMOOTHING = 0x4150;
// sub chunks of KEYFRAMER
const uint16_t FRAMES = 0xB008;
const uint16_t OBJECT_NODE = 0xB002;
const uint16_t CAMERA_NODE = 0xB003;
const uint16_t TARGET_NODE = 0xB004;
const uint16_t LIGHT_NODE = 0xB005;
// sub chunks of the nodes
const uint16_t NODE_ID = 0xB030;
const uint16_t NODE_HEADER = 0xB010;
const uint16_t PIVOT = 0xB013;
const uint16_t POSITION_TRACK = 0xB020;
const uint16_t ROTATION_TRACK = 0xB021;
const uint16_t SCALE_TRACK = 0xB022;
const uint16_t ROLL_TRACK = 0xB024;

const uint16_t NO_PARENT = 0xFFFF;  // the parent id of a node at the top of the hierarchy
}

#endif
