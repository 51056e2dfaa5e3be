#include "Scenes.h"

#include <string>
#include <vector>

#include "Audio.h"
#include "BlockFont.h"
#include "Characters.h"
#include "Drawing.h"
#include "Props.h"
#include "ShowFolder.h"

// The intro blends each picture as source × (1 - alpha) + screen × (1 - source colour), where the
// source colour is the picture times its alpha. An opaque picture therefore multiplies the white
// screen by its own negative, so every intro picture is stored as the negative of how it should
// look: then it multiplies the screen by the picture as drawn here, white leaving it unchanged.
namespace {
const Color TITLE_COLOURS[] = {ORANGE, PINK, BLUE, GREEN};
const Color SKY = hex(0xe6f2ff);
const Color HILL = hex(0xc7e8b0);
const Color FRAME_RED = hex(0xc0392b);
const Color BULB_ON = hex(0xffe066);
const Color BULB_OFF = hex(0x7a2a20);

const Palette GREEN_KI{hex(0x7cc46a), hex(0xd8f0cf), hex(0xe8c43a)};
const Palette ORANGE_RO{hex(0xf0a050), hex(0xfbd9b0), hex(0x5a3a22)};

Canvas titleFrame(int frame)
{
    Canvas canvas(BANNER_WIDTH, SPRITE_SIZE);
    const Place place = spriteView(canvas);
    const std::string title = "TOVO";
    const double cell = 0.2;
    const double left = -textWidth(title, cell) / 2;
    for (size_t i = 0; i < title.size(); ++i) {
        const Vec2 centre{left + (i * 6 + 2.25) * cell, 0.15};
        const std::string letter(1, title[i]);
        // Each letter twice, half a block apart, for strokes one and a half blocks thick.
        for (double bold : {0.0, cell / 2})
            drawText(canvas, place, letter, centre + Vec2{bold + 0.06, -0.06}, cell, SHADOW);
        for (double bold : {0.0, cell / 2})
            drawText(canvas, place, letter, centre + Vec2{bold, 0.0}, cell, TITLE_COLOURS[(i + frame) % 4]);
    }
    for (int i = 0; i < 4; ++i)
        canvas.paint(box({-1.8 + 1.2 * i, -0.8}, 1.1, 0.1), place, TITLE_COLOURS[(i + frame + 1) % 4]);
    return canvas;
}

// The whole gang on a hill, small, along the bottom of the screen; the rest stays light so that
// the title shows through.
Canvas groupFrame(int frame)
{
    Canvas canvas(FULL_SIZE, FULL_SIZE);
    const Place place = canvas.view(FULL_VIEW);
    canvas.gradient(SKY, WHITE);
    canvas.paint(ellipse({0.0, -1.45}, 2.0, 0.7), place, HILL);
    Pose pose;
    pose.armsUp = frame == 1;
    pose.lift = frame == 1 ? 0.15 : 0.0;
    pose.mouth = frame == 1 ? Mouth::Wide : Mouth::Closed;
    auto at = [&](double x) { return standing(place, {x, -0.88}, 0.36); };
    drawRo(canvas, at(-0.95), pose, ORANGE_RO);
    drawKi(canvas, at(-0.35), pose);
    drawRo(canvas, at(0.3), pose);
    drawKi(canvas, at(0.9), pose, GREEN_KI);
    return canvas;
}

// Points along the middle of a border of width band around the full view, pairs mirrored.
std::vector<Vec2> bulbPositions(double band)
{
    const double right = FULL_VIEW - band / 2;
    const double top = 1.0 - band / 2;
    std::vector<Vec2> bulbs;
    for (int i = 0; i <= 16; ++i) {
        const double x = -right + 2 * right * i / 16;
        bulbs.push_back({x, top});
        bulbs.push_back({-x, -top});
    }
    for (int i = 1; i < 12; ++i) {
        const double y = -top + 2 * top * i / 12;
        bulbs.push_back({right, y});
        bulbs.push_back({-right, -y});
    }
    return bulbs;
}

// A red border with a chase of light bulbs: each pair of bulbs is lit in one frame of three.
Canvas borderFrame(int frame)
{
    Canvas canvas(FULL_SIZE, FULL_SIZE);
    const Place place = canvas.view(FULL_VIEW);
    const double band = 0.12;
    const Shape inside = box({0.0, 0.0}, 2 * (FULL_VIEW - band), 2 * (1.0 - band));
    canvas.paint(subtract(box({0.0, 0.0}, 2 * FULL_VIEW, 2.0), inside), place, FRAME_RED);
    canvas.paint(subtract(inside, box({0.0, 0.0}, 2 * (FULL_VIEW - band) - 0.04, 2 * (1.0 - band) - 0.04)), place,
                 INK);
    const std::vector<Vec2> bulbs = bulbPositions(band);
    for (size_t i = 0; i < bulbs.size(); ++i)
        canvas.paint(circle(bulbs[i], 0.04), place, static_cast<int>(i / 2 % 3) == frame ? BULB_ON : BULB_OFF);
    return canvas;
}

template <typename Draw>
std::vector<Canvas> propFrames(int count, Draw draw)
{
    return drawFrames(count, [&](int frame) {
        Canvas canvas(SPRITE_SIZE, SPRITE_SIZE);
        draw(canvas, spriteView(canvas), frame);
        return canvas;
    });
}
}

void writeIntro(ShowFolder& show)
{
    show.oggVorbis("intro/intro1.ogg", introMusic());
    show.negativePictures("intro/statics/title", drawFrames(2, titleFrame));
    show.negativePictures("intro/statics/ryhma", drawFrames(2, groupFrame));
    show.negativePictures("intro/statics/kehys", drawFrames(3, borderFrame));
    show.negativePictures("intro/juo", propFrames(2, drawDrink));
    show.negativePictures("intro/simankaato", propFrames(3, drawSpill));
    show.negativePictures("intro/vasara", propFrames(2, drawHammer));
    show.negativePictures("intro/vene", propFrames(2, drawBoat));
    show.negativePictures("intro/viikset", propFrames(2, drawMoustache));
}
