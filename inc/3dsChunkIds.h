#ifndef KELVO_3DSCHUNKIDS_H
#define KELVO_3DSCHUNKIDS_H

#include <cstdint>

// The 16-bit ids of the 3D Studio chunks the loader knows, grouped under the chunk they belong
// to. A chunk of the same id is handled the same way wherever it stands (a colour chunk sets the
// loader's current colour inside a light, a material or the background alike).
namespace _3dsChunk {

// Chunks that may appear inside any other: colours and amounts
const uint16_t RGB_FLOAT = 0x0010;
const uint16_t RGB_BYTE = 0x0011;
const uint16_t PERCENTAGE = 0x0030;

// The file's outer chunk
const uint16_t MAIN = 0x4D4D;

// Sub chunks of MAIN
const uint16_t OBJECT_MESH = 0x3D3D;  // the editor's scene
const uint16_t KEYFRAMER_DATA = 0xB000;

// Sub chunks of OBJECT_MESH
const uint16_t FILE_FORMAT_REVISION = 0x3D3E;
const uint16_t MASTER_SCALE = 0x0100;
const uint16_t BACKGROUND_COLOR = 0x1200;
const uint16_t AMBIENT_COLOR = 0x2100;
const uint16_t MATERIAL_LIBRARY = 0x3DAA;
const uint16_t MATERIAL = 0xAFFF;
const uint16_t OBJECT_BLOCK = 0x4000;
const uint16_t VIEWPORT_INFO = 0x7001;

// Sub chunks of OBJECT_BLOCK
const uint16_t TRI_MESH = 0x4100;
const uint16_t LIGHT = 0x4600;
const uint16_t CAMERA = 0x4700;

// Sub chunks of TRI_MESH
const uint16_t VERTEX_LIST = 0x4110;
const uint16_t VERTEX_FLAG_LIST = 0x4111;
const uint16_t FACE_LIST = 0x4120;
const uint16_t MAPPING_COORDINATES = 0x4140;
const uint16_t MESH_MATRIX = 0x4160;
const uint16_t MESH_COLOR = 0x4165;
const uint16_t TEXTURE_INFO = 0x4170;

// Sub chunks of FACE_LIST
const uint16_t FACE_MATERIAL = 0x4130;
const uint16_t SMOOTHINGS = 0x4150;

// Sub chunks of LIGHT
const uint16_t SPOTLIGHT = 0x4610;

// Sub chunks of MATERIAL
const uint16_t MATERIAL_NAME = 0xA000;
const uint16_t MATERIAL_AMBIENT = 0xA010;
const uint16_t MATERIAL_DIFFUSE = 0xA020;
const uint16_t MATERIAL_SPECULAR = 0xA030;
const uint16_t SHININESS_RATIO = 0xA040;
const uint16_t SHININESS_STRENGTH = 0xA041;
const uint16_t TEXTURE_MAP = 0xA200;
const uint16_t BUMP_MAP = 0xA230;

// Sub chunks of TEXTURE_MAP
const uint16_t MAP_FILENAME = 0xA300;

// Sub chunks of KEYFRAMER_DATA: the frame range and one node per animated thing
const uint16_t FRAMES = 0xB008;
const uint16_t AMBIENT_KEY = 0xB001;
const uint16_t OBJECT_TRACK = 0xB002;
const uint16_t CAMERA_TRACK = 0xB003;
const uint16_t CAMERA_TARGET_TRACK = 0xB004;
const uint16_t POINTLIGHT_TRACK = 0xB005;
const uint16_t POINTLIGHT_TARGET_TRACK = 0xB006;
const uint16_t SPOTLIGHT_TRACK = 0xB007;

// Sub chunks of the nodes
const uint16_t TRACK_OBJECT_NAME = 0xB010;
const uint16_t TRACK_INSTANCE_NAME = 0xB011;
const uint16_t PIVOT_POINT = 0xB013;
const uint16_t POSITION_KEYS = 0xB020;
const uint16_t ROTATION_KEYS = 0xB021;
const uint16_t SCALE_KEYS = 0xB022;
const uint16_t FOV_TRACK = 0xB023;
const uint16_t ROLL_TRACK = 0xB024;
const uint16_t MORPH_KEYS = 0xB026;
const uint16_t HIDE_KEYS = 0xB029;
const uint16_t NODE_ORDER_ID = 0xB030;

// A project file's outer chunk, holding a MAIN
const uint16_t PROJECT = 0xC23D;
const uint16_t HIERARCHY = 0x4F00;

}  // namespace _3dsChunk

#endif
