#include "Scenes.h"

#include <cmath>
#include <vector>

#include "Characters.h"
#include "Drawing.h"
#include "Pi.h"
#include "Props.h"
#include "ShowFolder.h"

// The 2D scene shows each picture for one second, centred, with no blending: what is white here
// joins the scene's white background.
namespace {
const int FRAMES = 4;

const Color SUN = hex(0xffd34d);
const Color RAY = hex(0xf7b733);
const Color SKY_TOP = hex(0x9fd6f5);
const Color SKY_BOTTOM = hex(0xeaf6fd);
const Color SEA[] = {hex(0x6cb8e8), hex(0x3f8fcf), hex(0x25649f)};

Canvas sunFrame(int frame)
{
    Canvas canvas(SPRITE_SIZE, SPRITE_SIZE);
    const Place place = spriteView(canvas);
    for (int i = 0; i < 12; ++i) {
        const double degrees = i * 30.0 + frame * 7.5;
        canvas.paint(capsule(rotated({0.0, 0.55}, degrees), rotated({0.0, 0.88}, degrees), 0.06), place, RAY);
    }
    outlinedEllipse(canvas, place, {0.0, 0.0}, 0.48, 0.48, SUN);
    Pose pose;
    pose.blink = frame == 2;
    pose.look = frame == 1 ? -0.8 : frame == 3 ? 0.8 : 0.0;
    drawEyes(canvas, place, {0.16, 0.1}, 0.09, 0.12, pose);
    drawMouth(canvas, place, {0.0, -0.2}, 0.36, frame == 2 ? Mouth::Small : Mouth::Closed);
    return canvas;
}

// The top edge of a wave band: rows of the sea, height in local units, moved on by phase (radians).
std::vector<Vec2> waveBand(double height, double phase, double halfWidth)
{
    std::vector<Vec2> corners;
    for (double x = -halfWidth; x <= halfWidth + 1e-9; x += 0.05)
        corners.push_back({x, height + 0.07 * std::sin(x * 2.0 * PI / 0.9 + phase)});
    corners.push_back({halfWidth, -1.05});
    corners.push_back({-halfWidth, -1.05});
    return corners;
}

Canvas seaFrame(int frame)
{
    Canvas canvas(SPRITE_SIZE, SPRITE_SIZE);
    const double aspect = spriteAspect(canvas.width(), canvas.height());
    const Place place = canvas.view(aspect);
    canvas.gradient(SKY_TOP, SKY_BOTTOM);
    canvas.paint(circle({aspect - 0.45, 0.6}, 0.22), place, SUN);
    const double phase = frame * PI / 2;
    canvas.paint(polygon(waveBand(-0.15, phase, aspect + 0.05)), place, SEA[0]);
    drawBoat(canvas, place.moved({-1.0 + frame * 0.45, 0.05}).scaled(0.42), frame);
    for (int band = 1; band < 3; ++band)
        canvas.paint(polygon(waveBand(-0.15 - 0.3 * band, phase + band * 1.7, aspect + 0.05)), place, SEA[band]);
    return canvas;
}

}

void writeOpening(ShowFolder& show)
{
    show.pictures("2d/sun", drawFrames(FRAMES, sunFrame));
    show.pictures("2d/sea", drawFrames(FRAMES, seaFrame));
}
