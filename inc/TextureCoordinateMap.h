#ifndef KELVO_TEXTURECOORDINATEMAP_H
#define KELVO_TEXTURECOORDINATEMAP_H

#include <string>

#include "Exception.h"
#include "IndexMap.h"
#include "TextureCoordinate.h"
#include "UV.h"

// The texture coordinates of every triangle of a mesh, by triangle index. Every UV stored through
// the setters lies inside [min, max], both components tested inclusively; a rejected set leaves
// the map unchanged.
class TextureCoordinateMap {
public:
    TextureCoordinateMap();

    // Creates or replaces the triangle's entry with a copy of coordinates, after testing each of
    // its UVs against the range.
    void setTriangleTextureCoordinates(int triangle, const TextureCoordinate& coordinates);
    // Creates the triangle's entry empty when absent, then inserts or replaces the point's UV.
    void setTextureCoordinates(int triangle, int point, const UV& uv);
    // Throws TextureCoordinateException when the triangle has no entry.
    TextureCoordinate getTriangleTextureCoordinates(int triangle) const;
    // The triangle's entry in place, or null; for drawing, which must not copy per frame.
    const TextureCoordinate* findTriangleTextureCoordinates(int triangle) const;
    bool hasTriangle(int triangle) const;
    int count() const;
    void clear();

    // min <= uv <= max in both components; NaN is never in range.
    bool isInRange(const UV& uv) const;
    void setRange(const UV& min, const UV& max);
    UV getMin() const;
    UV getMax() const;

private:
    IndexMap<TextureCoordinate> triangles;
    UV min;  // (0, 0) by default
    UV max;  // (1, 1) by default
};

class TextureCoordinateException : public Exception {
public:
    explicit TextureCoordinateException(const std::string& message);
};

#endif
