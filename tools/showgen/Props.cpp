#include "Props.h"

#include <cmath>
#include <vector>

#include "Drawing.h"
#include "Pi.h"
#include "Random.h"

namespace {
const Color GLASS = hex(0xdff3fb);
const Color SIMA = hex(0xe3b23c);
const Color FOAM = hex(0xfff3c4);
const Color LEMON = hex(0xf7e463);
const Color BOTTLE = hex(0x5fa35a);
const Color WOOD = hex(0xb07a45);
const Color STEEL = hex(0x7d8794);
const Color SHINE = hex(0xdfe6ee);
const Color HULL = hex(0xc0504d);
const Color SAIL = hex(0xfdfdf6);
const Color WATER = hex(0x4aa3df);
const Color HAIR = hex(0x4a2c1a);
const Color SKIN = hex(0xf2c29b);
const Color SPARK = hex(0xf5a623);

// place turned by degrees about the local point pivot.
Place turnedAbout(const Place& place, Vec2 pivot, double degrees)
{
    return place.moved(pivot).turned(degrees).moved(Vec2{} - pivot);
}
}

void drawDrink(Canvas& canvas, const Place& place, int frame)
{
    const std::vector<Vec2> glass{{-0.45, 0.6}, {0.45, 0.6}, {0.32, -0.8}, {-0.32, -0.8}};
    canvas.paint(capsule({0.05, -0.3}, {0.35, 0.95}, 0.045), place, hex(0xe84c5f));
    outlinedPolygon(canvas, place, glass, GLASS);
    const std::vector<Vec2> drink{{-0.4, 0.35}, {0.4, 0.35}, {0.31, -0.74}, {-0.31, -0.74}};
    canvas.paint(polygon(drink), place, SIMA);
    Random random(11u + static_cast<uint32_t>(frame));
    for (int i = 0; i < 9; ++i) {
        const double y = random.between(-0.65, 0.28);
        const double x = random.between(-0.25, 0.25) * (1.0 + y * 0.3);
        canvas.paint(circle({x, y}, random.between(0.025, 0.05)), place, FOAM);
    }
    outlinedEllipse(canvas, place, {0.4, 0.6}, 0.2, 0.2, LEMON);
    canvas.paint(star({0.4, 0.6}, 0.15, 0.03, 5, frame * 20.0), place, FOAM);
}

void drawSpill(Canvas& canvas, const Place& place, int frame)
{
    canvas.paint(ellipse({0.3, -0.85}, 0.2 + 0.17 * frame, 0.06 + 0.03 * frame), place, SIMA);
    for (int i = 0; i <= frame + 1; ++i) {
        const double t = (i + 0.5) / (frame + 2.0);
        const Vec2 drop{0.25 + 0.1 * t, 0.05 - 0.85 * t * t};
        canvas.paint(circle(drop, 0.05 + 0.015 * frame), place, SIMA);
    }
    const Place bottle = turnedAbout(place, {-0.2, 0.1}, -55.0 - 12.0 * frame);
    outlined(canvas, bottle, [](double grow) {
        const Shape body = box({-0.2, -0.1}, 0.42 + 2 * grow, 0.8 + 2 * grow);
        return unite(body, ellipse({-0.2, 0.3}, 0.21 + grow, 0.14 + grow));
    }, BOTTLE);
    outlinedBox(canvas, bottle, {-0.2, 0.55}, 0.15, 0.35, BOTTLE);
    canvas.paint(box({-0.2, -0.15}, 0.42, 0.3), bottle, FOAM);
    canvas.paint(box({-0.3, 0.0}, 0.05, 0.6), bottle, SHINE, 0.6);
}

// Raised in frame 0, struck down to the right in frame 1, turning about the end of its handle.
void drawHammer(Canvas& canvas, const Place& place, int frame)
{
    const Vec2 grip{-0.5, -0.75};
    const Place hammer = turnedAbout(place, grip, frame == 0 ? -5.0 : -68.0).moved(grip).scaled(0.8);
    outlinedBox(canvas, hammer, {0.0, 0.6}, 0.16, 1.3, WOOD);
    outlinedBox(canvas, hammer, {0.0, 1.3}, 0.8, 0.32, STEEL);
    canvas.paint(box({0.0, 1.38}, 0.7, 0.06), hammer, SHINE);
    if (frame == 1)
        for (int i = 0; i < 3; ++i)
            canvas.paint(star({0.35 + 0.25 * i, -0.75 + 0.08 * (i % 2)}, 0.13, 0.05, 4, 15.0 * i), place, SPARK);
}

void drawBoat(Canvas& canvas, const Place& place, int frame)
{
    const double tilt = frame % 2 == 0 ? 7.0 : -7.0;
    const Place boat = turnedAbout(place.moved({0.0, frame % 2 == 0 ? 0.03 : -0.03}), {0.0, -0.3}, tilt);
    outlinedPolygon(canvas, boat, {{0.05, 0.85}, {0.05, -0.05}, {0.55, -0.05}}, SAIL);
    outlinedBox(canvas, boat, {0.0, 0.35}, 0.05, 1.0, WOOD);
    canvas.paint(polygon({{0.0, 0.9}, {-0.25, 0.82}, {0.0, 0.74}}), boat, HULL);
    outlinedPolygon(canvas, boat, {{-0.75, -0.1}, {0.75, -0.1}, {0.5, -0.45}, {-0.5, -0.45}}, HULL);
    canvas.paint(box({0.0, -0.2}, 1.3, 0.06), boat, SAIL);
    for (int i = -2; i <= 2; ++i) {
        const double x = i * 0.4 + (frame % 2) * 0.2;
        canvas.paint(ellipse({x, -0.55}, 0.25, 0.1), place, WATER);
    }
}

// A handlebar moustache under a nose; its tips curl higher in frame 1.
void drawMoustache(Canvas& canvas, const Place& place, int frame)
{
    outlinedEllipse(canvas, place, {0.0, 0.22}, 0.14, 0.18, SKIN);
    const double curl = frame == 0 ? 0.2 : 0.45;  // height the tips rise to (local units)
    const int STEPS = 24;
    std::vector<Vec2> spine;  // from the middle out to the tip
    for (int i = 0; i <= STEPS; ++i) {
        const double s = static_cast<double>(i) / STEPS;
        spine.push_back({0.04 + 0.72 * s, -0.08 * std::sin(PI * s) + curl * s * s * s});
    }
    auto half = [&](double grow) {
        Shape shape = circle(spine.front(), 0.13 + grow);
        for (int i = 1; i <= STEPS; ++i) {
            const double thickness = 0.13 - 0.1 * i / STEPS;
            shape = unite(shape, capsule(spine[i - 1], spine[i], thickness + grow));
        }
        return shape;
    };
    for (const Place& side : {place, place.mirrored()})
        outlined(canvas, side, half, HAIR);
}
