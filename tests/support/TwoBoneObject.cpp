#include "TwoBoneObject.h"

#include <gtest/gtest.h>

#include "Environment.h"
#include "LwoWriter.h"
#include "Pixels.h"

std::string twoBoneObject()
{
    LwoWriter w;
    w.chunk("TAGS").s0("Green").s0("Red").s0("upper").s0("lower").end();
    w.chunk("LAYR").u2(1).u2(0).vec12(0, 0, 0).s0("mesh").end();
    w.chunk("PNTS");
    for (float x0 : {-0.8f, 0.4f})
        w.vec12(x0, -0.2f, 0).vec12(x0 + 0.4f, -0.2f, 0).vec12(x0 + 0.4f, 0.2f, 0).vec12(x0, 0.2f, 0);
    w.end();
    w.chunk("VMAP").id("WGHT").u2(1).s0("upper").vx(0).f4(1).vx(1).f4(1).vx(2).f4(1).vx(3).f4(1).end();
    w.chunk("VMAP").id("WGHT").u2(1).s0("lower").vx(4).f4(1).vx(5).f4(1).vx(6).f4(1).vx(7).f4(1).end();
    w.chunk("POLS").id("FACE").u2(4).vx(0).vx(1).vx(2).vx(3).u2(4).vx(4).vx(5).vx(6).vx(7).end();
    w.chunk("PTAG").id("SURF").vx(0).u2(0).vx(1).u2(1).end();
    w.chunk("LAYR").u2(2).u2(0).vec12(0, 0, 0).s0("skeleton").end();
    w.chunk("PNTS").vec12(-1, 0, 0).vec12(0, 0, 0).vec12(1, 0, 0).end();
    w.chunk("POLS").id("BONE").u2(2).vx(1).vx(2).u2(2).vx(0).vx(1).end();
    w.chunk("PTAG").id("BNWT").vx(0).u2(3).vx(1).u2(2).end();
    w.chunk("SURF").s0("Green").s0("").subChunk("COLR").vec12(0, 1, 0).vx(0).end().end();
    w.chunk("SURF").s0("Red").s0("").subChunk("COLR").vec12(1, 0, 0).vx(0).end().end();
    return w.file();
}

void expectTwoBoneFrames(Environment& scene)
{
    auto at = [](float x, float y) { return readPixel(320 + static_cast<int>(x * 116), 240 + static_cast<int>(y * 116)); };
    scene.setViewState();
    scene.render(0.0);
    EXPECT_TRUE(closeColour(at(-0.6f, 0.1f), {0, 255, 0}, 0)) << describe(at(-0.6f, 0.1f));
    EXPECT_TRUE(closeColour(at(0.6f, 0.1f), {255, 0, 0}, 0)) << describe(at(0.6f, 0.1f));
    EXPECT_TRUE(closeColour(at(0.1f, 0.6f), {0, 0, 0}, 0)) << describe(at(0.1f, 0.6f));

    scene.setViewState();
    scene.render(1.0);
    EXPECT_TRUE(closeColour(at(-0.6f, 0.1f), {0, 255, 0}, 0)) << describe(at(-0.6f, 0.1f));
    EXPECT_TRUE(closeColour(at(0.1f, 0.6f), {255, 0, 0}, 0)) << describe(at(0.1f, 0.6f));
    EXPECT_TRUE(closeColour(at(0.6f, 0.1f), {0, 0, 0}, 0)) << describe(at(0.6f, 0.1f));
}
