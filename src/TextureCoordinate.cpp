#include "TextureCoordinate.h"

TextureCoordinate::TextureCoordinate() = default;

TextureCoordinate::TextureCoordinate(int p0, int p1, int p2)
{
    setPoints(p0, p1, p2);
}

void TextureCoordinate::setPoints(int p0, int p1, int p2)
{
    coordinates[p0] = UV::zero();
    coordinates[p1] = UV::zero();
    coordinates[p2] = UV::zero();
}

void TextureCoordinate::setCoordinate(int point, const UV& uv)
{
    coordinates[point] = uv;
}

UV TextureCoordinate::getCoordinate(int point) const
{
    const std::map<int, UV>::const_iterator it = coordinates.find(point);
    return it == coordinates.end() ? UV::zero() : it->second;
}

std::vector<TextureCoordinate::Record> TextureCoordinate::getCoordinateList() const
{
    std::vector<Record> list;
    list.reserve(coordinates.size());
    for (const auto& entry : coordinates)
        list.push_back(Record{entry.first, entry.second.u, entry.second.v});
    return list;
}

bool TextureCoordinate::isComplete() const
{
    return coordinates.size() == 3;
}

bool TextureCoordinate::hasPoint(int point) const
{
    return coordinates.find(point) != coordinates.end();
}
