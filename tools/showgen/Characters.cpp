#include "Characters.h"

#include "Drawing.h"

namespace {
const Color EYE_WHITE = hex(0xffffff);
const Color MOUTH_INSIDE = hex(0x8c2232);
const Color TONGUE = hex(0xf07a8a);
const Color RO_NOSE = hex(0xd9775a);

// Paints draw once on the right (x > 0) and once mirrored onto the left.
template <typename Draw>
void bothSides(const Place& place, Draw draw)
{
    draw(place);
    draw(place.mirrored());
}

// A smile: the lower rim of an ellipse, as a crescent.
Shape smile(Vec2 centre, double width)
{
    const Shape lower = ellipse(centre, width / 2, width / 4);
    return subtract(lower, ellipse(centre + Vec2{0.0, width * 0.09}, width / 2, width / 4));
}

// An open mouth of the given half-size with a tongue at its bottom.
void openMouth(Canvas& canvas, const Place& place, Vec2 centre, double radiusX, double radiusY)
{
    outlinedEllipse(canvas, place, centre, radiusX, radiusY, MOUTH_INSIDE);
    const Shape inside = ellipse(centre, radiusX, radiusY);
    canvas.paint(intersect(inside, ellipse(centre - Vec2{0.0, radiusY}, radiusX * 0.7, radiusY * 0.6)), place,
                 TONGUE);
}
}

const Palette KI_COLOURS{hex(0x8e6ad8), hex(0xdccbf7), hex(0xf29b38)};
const Palette RO_COLOURS{hex(0x3f9fb0), hex(0xa9dfe5), hex(0x6b4a2e)};

Place standing(const Place& place, Vec2 feet, double size)
{
    return place.moved(feet + Vec2{0.0, size}).scaled(size);
}

void drawEyes(Canvas& canvas, const Place& place, Vec2 eye, double radiusX, double radiusY, const Pose& pose)
{
    bothSides(place, [&](const Place& side) {
        // On the mirrored side x runs the other way, so the look is turned back.
        const double look = side.toPixel({1.0, 0.0}).x > side.toPixel({0.0, 0.0}).x ? pose.look : -pose.look;
        if (pose.blink) {
            canvas.paint(capsule(eye - Vec2{radiusX, 0.0}, eye + Vec2{radiusX, 0.0}, OUTLINE), side, INK);
            return;
        }
        outlinedEllipse(canvas, side, eye, radiusX, radiusY, EYE_WHITE);
        const Vec2 pupil = eye + Vec2{look * radiusX * 0.45, -radiusY * 0.15};
        canvas.paint(ellipse(pupil, radiusX * 0.45, radiusY * 0.45), side, INK);
        canvas.paint(circle(pupil + Vec2{radiusX * 0.15, radiusY * 0.15}, radiusX * 0.14), side, EYE_WHITE);
    });
}

void drawMouth(Canvas& canvas, const Place& place, Vec2 centre, double width, Mouth mouth)
{
    switch (mouth) {
    case Mouth::Closed:
        canvas.paint(smile(centre, width), place, INK);
        break;
    case Mouth::Small:
        openMouth(canvas, place, centre, width * 0.3, width * 0.18);
        break;
    case Mouth::Wide:
        openMouth(canvas, place, centre, width * 0.45, width * 0.34);
        break;
    case Mouth::Round:
        openMouth(canvas, place, centre, width * 0.17, width * 0.24);
        break;
    }
}

void drawKi(Canvas& canvas, const Place& origin, const Pose& pose, const Palette& colours)
{
    const Place place = origin.moved({0.0, pose.lift});
    bothSides(place, [&](const Place& side) {
        outlinedEllipse(canvas, side, {0.17, -0.93}, 0.15, 0.07, colours.detail);
        const Vec2 hand = pose.armsUp ? Vec2{0.58, 0.3} : Vec2{0.52, -0.5};
        outlinedCapsule(canvas, side, {0.3, -0.15}, hand, 0.06, colours.body);
        outlinedEllipse(canvas, side, {0.1, 0.47}, 0.04, 0.11, colours.detail, -30.0);
    });
    outlinedEllipse(canvas, place, {0.0, 0.5}, 0.05, 0.13, colours.detail);
    outlinedEllipse(canvas, place, {0.0, -0.25}, 0.42, 0.68, colours.body);
    canvas.paint(ellipse({0.0, -0.47}, 0.27, 0.36), place, colours.belly);
    drawEyes(canvas, place, {0.14, 0.13}, 0.11, 0.14, pose);
    outlinedEllipse(canvas, place, {0.0, -0.03}, 0.06, 0.04, colours.detail);
    drawMouth(canvas, place, {0.0, -0.16}, 0.22, pose.mouth);
}

void drawRo(Canvas& canvas, const Place& origin, const Pose& pose, const Palette& colours)
{
    const Place place = origin.moved({0.0, pose.lift});
    bothSides(place, [&](const Place& side) {
        outlinedEllipse(canvas, side, {0.2, -0.94}, 0.17, 0.07, colours.detail);
        const Vec2 hand = pose.armsUp ? Vec2{0.62, 0.3} : Vec2{0.58, -0.55};
        outlinedCapsule(canvas, side, {0.4, -0.1}, hand, 0.08, colours.body);
        outlinedEllipse(canvas, side, {0.42, 0.12}, 0.09, 0.09, colours.body);
    });
    outlined(canvas, place, [](double grow) {
        return unite(box({0.0, -0.5}, 0.9 + 2 * grow, 0.8 + 2 * grow), ellipse({0.0, -0.1}, 0.45 + grow, 0.5 + grow));
    }, colours.body);
    canvas.paint(ellipse({0.0, -0.56}, 0.3, 0.27), place, colours.belly);
    drawEyes(canvas, place, {0.15, 0.17}, 0.09, 0.1, pose);
    bothSides(place, [&](const Place& side) {
        canvas.paint(capsule({0.06, 0.32}, {0.25, 0.29}, 0.03), side, INK);
    });
    drawMouth(canvas, place, {0.0, -0.2}, 0.22, pose.mouth);
    outlinedEllipse(canvas, place, {0.0, 0.03}, 0.09, 0.07, RO_NOSE);
    bothSides(place, [&](const Place& side) {
        outlinedEllipse(canvas, side, {0.11, -0.07}, 0.12, 0.05, colours.detail, 15.0);
    });
}
