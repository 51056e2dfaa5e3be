#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace {
// Each pixel is tested at SUBSAMPLES × SUBSAMPLES points; the share inside is its coverage.
const int SUBSAMPLES = 4;
}

Color hex(unsigned rgb)
{
    return {((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0};
}

Color mix(Color from, Color to, double amount)
{
    return {from.r + (to.r - from.r) * amount, from.g + (to.g - from.g) * amount, from.b + (to.b - from.b) * amount};
}

Place::Place(double a, double b, double c, double d, double e, double f) : a(a), b(b), c(c), d(d), e(e), f(f) {}

Place Place::moved(Vec2 offset) const
{
    const Vec2 origin = toPixel(offset);
    return Place(a, b, origin.x, d, e, origin.y);
}

Place Place::scaled(double factor) const { return scaled(factor, factor); }

Place Place::scaled(double factorX, double factorY) const
{
    return Place(a * factorX, b * factorY, c, d * factorX, e * factorY, f);
}

Place Place::turned(double degrees) const
{
    const Vec2 xAxis = rotated({1.0, 0.0}, degrees);
    const Vec2 yAxis = rotated({0.0, 1.0}, degrees);
    return Place(a * xAxis.x + b * xAxis.y, a * yAxis.x + b * yAxis.y, c, d * xAxis.x + e * xAxis.y,
                 d * yAxis.x + e * yAxis.y, f);
}

Vec2 Place::toPixel(Vec2 local) const { return {a * local.x + b * local.y + c, d * local.x + e * local.y + f}; }

Vec2 Place::toLocal(Vec2 pixel) const
{
    const double determinant = a * e - b * d;
    const double x = pixel.x - c;
    const double y = pixel.y - f;
    return {(e * x - b * y) / determinant, (a * y - d * x) / determinant};
}

Canvas::Canvas(int width, int height, Color background)
    : w(width), h(height), pixels(static_cast<size_t>(width) * height, background)
{
}

Place Canvas::view(double screenAspect) const
{
    const double unitX = w / (2.0 * screenAspect);  // pixels per local unit
    const double unitY = h / 2.0;
    return Place(unitX, 0.0, w / 2.0, 0.0, -unitY, h / 2.0);
}

void Canvas::paint(const Shape& shape, const Place& place, Color colour, double opacity)
{
    double left = w, top = h, right = 0.0, bottom = 0.0;
    for (Vec2 corner : {shape.low, shape.high, Vec2{shape.low.x, shape.high.y}, Vec2{shape.high.x, shape.low.y}}) {
        const Vec2 p = place.toPixel(corner);
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    const int x0 = std::max(0, static_cast<int>(std::floor(left)));
    const int x1 = std::min(w - 1, static_cast<int>(std::ceil(right)));
    const int y0 = std::max(0, static_cast<int>(std::floor(top)));
    const int y1 = std::min(h - 1, static_cast<int>(std::ceil(bottom)));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int inside = 0;
            for (int sy = 0; sy < SUBSAMPLES; ++sy)
                for (int sx = 0; sx < SUBSAMPLES; ++sx)
                    inside += shape.contains(
                        place.toLocal({x + (sx + 0.5) / SUBSAMPLES, y + (sy + 0.5) / SUBSAMPLES}));
            if (inside > 0) {
                Color& pixel = pixels[static_cast<size_t>(y) * w + x];
                pixel = mix(pixel, colour, opacity * inside / (SUBSAMPLES * SUBSAMPLES));
            }
        }
    }
}

void Canvas::gradient(Color top, Color bottom)
{
    for (int y = 0; y < h; ++y) {
        const Color row = mix(top, bottom, h > 1 ? static_cast<double>(y) / (h - 1) : 0.0);
        std::fill_n(pixels.begin() + static_cast<long>(y) * w, w, row);
    }
}

void Canvas::invert()
{
    for (Color& pixel : pixels)
        pixel = {1.0 - pixel.r, 1.0 - pixel.g, 1.0 - pixel.b};
}

void Canvas::turnHalf()
{
    std::reverse(pixels.begin(), pixels.end());
}

std::vector<unsigned char> Canvas::rgbBytes() const
{
    std::vector<unsigned char> bytes;
    bytes.reserve(pixels.size() * 3);
    for (const Color& pixel : pixels)
        for (double component : {pixel.r, pixel.g, pixel.b})
            bytes.push_back(static_cast<unsigned char>(std::lround(std::clamp(component, 0.0, 1.0) * 255.0)));
    return bytes;
}

std::vector<unsigned char> Canvas::greyBytes() const
{
    std::vector<unsigned char> bytes;
    bytes.reserve(pixels.size());
    for (const Color& pixel : pixels) {
        const double mean = (pixel.r + pixel.g + pixel.b) / 3.0;
        bytes.push_back(static_cast<unsigned char>(std::lround(std::clamp(mean, 0.0, 1.0) * 255.0)));
    }
    return bytes;
}
