#ifndef KELVO_HOSTILEFILES_H
#define KELVO_HOSTILEFILES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Files far beyond what a real file holds, each made to stall, crash or exhaust a reader that
// trusts its input: the regression inputs of the fuzz targets, written at test time because most
// are a few hundred KB.
struct HostileFile {
    std::string target;    // the fuzz target that reads it: "lwo", "3ds", "jpeg", "timeline", ...
    std::string name;      // a file name for the case
    std::string refusal;   // a piece of the reader's exception message
    std::string (*make)();  // the file's bytes
};

const std::vector<HostileFile>& hostileFiles();

// The makers, with their sizes as parameters for tests that want other ones.
// A .3ds file of levels Main chunks, each nested in the one before.
std::string nestedMainChunks3ds(int levels);
// A .3ds file of a one-triangle mesh "Box", a camera "Cam" looking at it and nodes keyframer nodes
// chained parent to child: node i has id i and node i - 1 as its parent, the last one drives Box.
std::string chainedNodes3ds(int nodes);
// A .3ds file of one mesh "Fan" and a camera "Cam" looking at it. Without rim: faces faces over the
// same three points. Otherwise a cone: faces triangles around its first point (the apex) over
// faces + 1 points of its rim. Every face is of smoothing group 1, or with groupPerFace face f of
// the group f + 1.
std::string sharedPointFaces3ds(int faces, bool rim, bool groupPerFace = false);
// An .lwo file of one layer whose BONE chunk holds count two-corner bones over points points:
// bone i runs from point i % points to point (i + 1) % points.
std::string boneChunkLwo(int count, int points);
// An .lwo file of one layer with count POLS chunks of one triangle each.
std::string polygonChunksLwo(int count);
// An .lwo file of points points in two rows joined by quads of one surface, and a texture-
// coordinate map of them (per point, or per corner of every quad when perCorner) that lists the
// points in descending order and that the surface's UV image map names.
std::string descendingUvLwo(int points, bool perCorner);
// An .lwo file of count polygons, each the same star of corners corners (an odd count leaves two
// outer corners side by side).
std::string starPolygonsLwo(int corners, int count);
// An XML file of root element root whose internal entity of length characters is referenced
// references times in the root's text.
std::string entityXml(const std::string& root, int length, int references);
// An XML file of root element root with two levels of internal entities: "a" of length
// characters, "b" of width references to "a", and references references to "b" in the root's text.
std::string nestedEntityXml(const std::string& root, int length, int width, int references);
// The declarations of the classic entity bomb, for a DOCTYPE's internal subset: entity a of ten
// characters, and b to j each ten references to the one before, so that &j; stands for 10^9.
std::string laughingEntities();
// A progressive greyscale JPEG of width × height pixels: one DC scan, then scans copies of one
// AC scan that codes every block as empty.
std::string manyScansJpeg(int width, int height, int scans);
// A JPEG that declares width × height pixels but holds the data of one 8 × 8 picture: baseline
// RGB, or progressive greyscale in libjpeg's simple progression of scans.
std::string shortDataJpeg(int width, int height, bool progressive);

// wavFile's 22050 Hz mono clip of 64 frames with the width bytes at offset replaced by value,
// little-endian.
std::string patchedWav(size_t offset, uint32_t value, size_t width);

#endif
