#include "TextureCoordinate.h"

#include <algorithm>

namespace {
bool before(const std::pair<int, UV>& entry, int point)
{
    return entry.first < point;
}
}

TextureCoordinate::TextureCoordinate() = default;

TextureCoordinate::TextureCoordinate(int p0, int p1, int p2)
{
    setPoints(p0, p1, p2);
}

TextureCoordinate::Coordinates::iterator TextureCoordinate::position(int point)
{
    return std::lower_bound(coordinates.begin(), coordinates.end(), point, before);
}

TextureCoordinate::Coordinates::const_iterator TextureCoordinate::position(int point) const
{
    return std::lower_bound(coordinates.begin(), coordinates.end(), point, before);
}

void TextureCoordinate::setPoints(int p0, int p1, int p2)
{
    coordinates.reserve(coordinates.size() + 3);
    setCoordinate(p0, UV::zero());
    setCoordinate(p1, UV::zero());
    setCoordinate(p2, UV::zero());
}

void TextureCoordinate::setCoordinate(int point, const UV& uv)
{
    // A triangle's coordinates come three at a time.
    if (coordinates.capacity() < 3)
        coordinates.reserve(3);
    // Points mostly come in ascending order: then the entry goes at the end.
    if (coordinates.empty() || coordinates.back().first < point) {
        coordinates.emplace_back(point, uv);
        return;
    }
    const Coordinates::iterator at = position(point);
    if (at != coordinates.end() && at->first == point) {
        at->second = uv;
        return;
    }
    coordinates.insert(at, std::make_pair(point, uv));
}

UV TextureCoordinate::getCoordinate(int point) const
{
    const Coordinates::const_iterator at = position(point);
    return at != coordinates.end() && at->first == point ? at->second : UV::zero();
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
    const Coordinates::const_iterator at = position(point);
    return at != coordinates.end() && at->first == point;
}
