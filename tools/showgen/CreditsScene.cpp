#include "Scenes.h"

#include <cmath>
#include <string>
#include <vector>

#include "BlockFont.h"
#include "Characters.h"
#include "Drawing.h"
#include "Pi.h"
#include "ShowFolder.h"

// Each credits page fills the window for three seconds, drawn as it is, over the whole 4:3 view.
namespace {

// Text with a drop shadow below and to the right.
void caption(Canvas& canvas, const Place& place, const std::string& text, Vec2 centre, double cell, Color colour)
{
    drawText(canvas, place, text, centre + Vec2{cell * 0.35, -cell * 0.35}, cell, SHADOW);
    drawText(canvas, place, text, centre, cell, colour);
}

struct Page {
    Canvas canvas;
    Place place;
};

// A page with a soft background, a coloured border and nothing else yet.
Page page(Color background, Color border)
{
    Canvas canvas(FULL_SIZE, FULL_SIZE);
    const Place place = canvas.view(FULL_VIEW);
    canvas.gradient(background, WHITE);
    canvas.paint(subtract(box({0.0, 0.0}, 2 * FULL_VIEW, 2.0), box({0.0, 0.0}, 2 * FULL_VIEW - 0.12, 1.88)), place,
                 border);
    return {canvas, place};
}

Canvas titlePage()
{
    Page p = page(hex(0xfff0c8), ORANGE);
    Canvas& canvas = p.canvas;
    const Place& place = p.place;
    for (int i = 0; i < 5; ++i)
        for (double y : {0.78, -0.78})
            canvas.paint(star({-1.0 + 0.5 * i, y}, i % 2 == 0 ? 0.09 : 0.06, 0.035, 5), place, hex(0xf7c948));
    caption(canvas, place, "TOVO", {0.0, 0.25}, 0.09, PINK);
    caption(canvas, place, "A KELVO SHOW", {0.0, -0.35}, 0.032, BLUE);
    return p.canvas;
}

Canvas castPage()
{
    Page p = page(hex(0xdcecff), BLUE);
    Canvas& canvas = p.canvas;
    const Place& place = p.place;
    caption(canvas, place, "STARRING", {0.0, 0.7}, 0.045, ORANGE);
    Pose pose;
    pose.look = 1.0;
    drawKi(canvas, standing(place, {-0.65, -0.6}, 0.42), pose);
    pose.look = -1.0;
    drawRo(canvas, standing(place, {0.65, -0.6}, 0.42), pose);
    caption(canvas, place, "KI", {-0.65, -0.8}, 0.04, KI_COLOURS.body);
    caption(canvas, place, "RO", {0.65, -0.8}, 0.04, RO_COLOURS.body);
    return p.canvas;
}

Canvas makersPage()
{
    Page p = page(hex(0xe2f5dc), GREEN);
    Canvas& canvas = p.canvas;
    const Place& place = p.place;
    caption(canvas, place, "MADE WITH", {0.0, 0.62}, 0.04, GREEN);
    caption(canvas, place, "CIRCLES, BLOCKS", {0.0, 0.12}, 0.028, PINK);
    caption(canvas, place, "AND SINE WAVES", {0.0, -0.18}, 0.028, BLUE);
    for (int i = 0; i < 10; ++i) {
        const Vec2 at{-0.99 + 0.22 * i, -0.58};
        canvas.paint(i % 2 == 0 ? circle(at, 0.07) : box(at, 0.12, 0.12), place,
                     i % 2 == 0 ? ORANGE : KI_COLOURS.body);
    }
    std::vector<Vec2> wave;
    for (double x = -1.1; x <= 1.1; x += 0.02)
        wave.push_back({x, -0.83 + 0.05 * std::sin(x * 2.0 * PI / 0.5)});
    for (size_t i = 1; i < wave.size(); ++i)
        canvas.paint(capsule(wave[i - 1], wave[i], 0.018), place, BLUE);
    return p.canvas;
}

Canvas endPage()
{
    Page p = page(hex(0xfde0ea), PINK);
    Canvas& canvas = p.canvas;
    const Place& place = p.place;
    caption(canvas, place, "THE END", {0.0, 0.58}, 0.054, PINK);
    caption(canvas, place, "THANKS FOR WATCHING!", {0.0, 0.12}, 0.02, SHADOW);
    Pose pose;
    pose.armsUp = true;
    pose.mouth = Mouth::Wide;
    drawKi(canvas, standing(place, {-0.6, -0.82}, 0.36), pose);
    drawRo(canvas, standing(place, {0.6, -0.82}, 0.36), pose);
    return p.canvas;
}
}

void writeCredits(ShowFolder& show)
{
    show.pictures("outro/endcredits", {titlePage(), castPage(), makersPage(), endPage()});
}
