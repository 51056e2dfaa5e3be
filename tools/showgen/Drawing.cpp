#include "Drawing.h"

#include <cmath>

double spriteAspect(int width, int height) { return static_cast<double>(width) / height * (4.0 / 3.0); }

Place spriteView(const Canvas& canvas) { return canvas.view(spriteAspect(canvas.width(), canvas.height())); }

void outlined(Canvas& canvas, const Place& place, const std::function<Shape(double grow)>& make, Color fill,
              double line)
{
    canvas.paint(make(line), place, INK);
    canvas.paint(make(0.0), place, fill);
}

void outlinedEllipse(Canvas& canvas, const Place& place, Vec2 centre, double radiusX, double radiusY, Color fill,
                     double degrees)
{
    outlined(canvas, place, [=](double grow) { return ellipse(centre, radiusX + grow, radiusY + grow, degrees); },
             fill);
}

void outlinedBox(Canvas& canvas, const Place& place, Vec2 centre, double width, double height, Color fill)
{
    outlined(canvas, place, [=](double grow) { return box(centre, width + 2 * grow, height + 2 * grow); }, fill);
}

void outlinedCapsule(Canvas& canvas, const Place& place, Vec2 from, Vec2 to, double radius, Color fill)
{
    outlined(canvas, place, [=](double grow) { return capsule(from, to, radius + grow); }, fill);
}

void outlinedPolygon(Canvas& canvas, const Place& place, const std::vector<Vec2>& corners, Color fill)
{
    outlined(canvas, place, [&](double grow) { return grownPolygon(corners, grow); }, fill);
}

Shape grownPolygon(const std::vector<Vec2>& corners, double grow)
{
    Vec2 centre;
    for (const Vec2& corner : corners)
        centre = centre + corner * (1.0 / corners.size());
    std::vector<Vec2> grown;
    for (const Vec2& corner : corners) {
        const Vec2 away = corner - centre;
        const double length = std::hypot(away.x, away.y);
        grown.push_back(length > 0.0 ? corner + away * (grow / length) : corner);
    }
    return polygon(grown);
}
