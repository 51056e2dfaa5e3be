#include "TextureCoordinateMap.h"

#include "StringUtil.h"

TextureCoordinateMap::TextureCoordinateMap() : min(UV::zero()), max(UV::one())
{
}

void TextureCoordinateMap::setTriangleTextureCoordinates(int triangle, const TextureCoordinate& coordinates)
{
    // Every record is tested, not only the first three, so that no stored UV escapes the range
    // whatever size of set a caller hands over.
    for (const TextureCoordinate::Record& record : coordinates.getCoordinateList()) {
        if (!isInRange(UV(record.u, record.v)))
            throw TextureCoordinateException("setTriangleTextureCoordinates() - Texture coordinate for triangle " +
                                             ::toString(triangle) + " is out of range!");
    }
    triangles[triangle] = coordinates;
}

void TextureCoordinateMap::setTextureCoordinates(int triangle, int point, const UV& uv)
{
    if (!isInRange(uv))
        throw TextureCoordinateException("setTextureCoordinates() - Texture coordinate for triangle " +
                                         ::toString(triangle) + ", point " + ::toString(point) +
                                         " are out of range!");
    triangles[triangle].setCoordinate(point, uv);
}

TextureCoordinate TextureCoordinateMap::getTriangleTextureCoordinates(int triangle) const
{
    const TextureCoordinate* coordinates = triangles.findValue(triangle);
    if (!coordinates)
        throw TextureCoordinateException(
            "getTriangleTextureCoordinates() - There are no texture coordinates for triangle " +
            ::toString(triangle) + "!");
    return *coordinates;
}

const TextureCoordinate* TextureCoordinateMap::findTriangleTextureCoordinates(int triangle) const
{
    return triangles.findValue(triangle);
}

bool TextureCoordinateMap::hasTriangle(int triangle) const
{
    return triangles.findValue(triangle) != nullptr;
}

int TextureCoordinateMap::count() const
{
    return static_cast<int>(triangles.size());
}

void TextureCoordinateMap::clear()
{
    triangles.clear();
}

bool TextureCoordinateMap::isInRange(const UV& uv) const
{
    return uv >= min && uv <= max;
}

void TextureCoordinateMap::setRange(const UV& min, const UV& max)
{
    this->min = min;
    this->max = max;
}

UV TextureCoordinateMap::getMin() const
{
    return min;
}

UV TextureCoordinateMap::getMax() const
{
    return max;
}

TextureCoordinateException::TextureCoordinateException(const std::string& message)
{
    addSource("TextureCoordinateException");
    appendMessage(message);
}
