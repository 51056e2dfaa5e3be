#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL/SDL.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BlurTrace.h"
#include "GLEnvironment.h"
#include "LineTrace.h"
#include "ParticleManager.h"
#include "ParticleSystem.h"
#include "ParticleVisualisation.h"
#include "PhysicalPathCreation.h"
#include "Pixels.h"
#include "PointEmittor.h"
#include "PointTrace.h"
#include "PointVisualisation.h"
#include "Random.h"

// The traces drawing particle trails on the shared window, in a flat view whose units are
// pixels, and read back from the back buffer.
namespace {
const Pixel BLACK{0, 0, 0};
const Pixel RED{255, 0, 0};
const Pixel GREEN{0, 255, 0};

// A view whose scene units are window pixels: (x + 0.5, y + 0.5) is the centre of pixel (x, y).
void pixelView()
{
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 640.0, 0.0, 480.0, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// A black frame to draw red on: the traces draw with whatever colour is current.
void blankFrame()
{
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1.0f, 0.0f, 0.0f);
}

Particle* addParticle(RingBuffer<Particle>& ring, const Vector& position, const std::vector<Vector>& trail)
{
    std::unique_ptr<Particle> particle(new Particle());
    particle->position = position;
    for (const Vector& point : trail)
        particle->trail.push(std::unique_ptr<Vector>(new Vector(point)));
    Particle* raw = particle.get();
    ring.push(std::move(particle));
    return raw;
}

// Whether any pixel within one of (x, y) is red: where a thin line passes near a point.
bool redNear(int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (closeColour(readPixel(x + dx, y + dy), RED, 10))
                return true;
    return false;
}

// A visualisation that writes down where each renderAt draws its particle.
class PlacesVisualisation : public ParticleVisualisation {
public:
    PlacesVisualisation(const std::string& label, std::vector<std::string>& journal) : label(label), journal(journal) {}

    void renderAt(Particle*, const Vector& v) override
    {
        journal.push_back(label + " " + std::to_string(static_cast<int>(v.x)));
    }
    void renderParticle(Particle*) override { journal.push_back(label + " particle"); }
    void renderAll(RingBuffer<Particle>*) override { journal.push_back(label + " all"); }

private:
    std::string label;
    std::vector<std::string>& journal;
};

// A colour buffer wider than the window, for what is drawn right of x 640. Resolves the
// framebuffer entry points by name; available() is false without them.
class WideTarget {
public:
    WideTarget(int width, int height)
    {
        genFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(SDL_GL_GetProcAddress("glGenFramebuffers"));
        bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBindFramebuffer"));
        deleteFramebuffers =
            reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(SDL_GL_GetProcAddress("glDeleteFramebuffers"));
        genRenderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSPROC>(SDL_GL_GetProcAddress("glGenRenderbuffers"));
        bindRenderbuffer = reinterpret_cast<PFNGLBINDRENDERBUFFERPROC>(SDL_GL_GetProcAddress("glBindRenderbuffer"));
        deleteRenderbuffers =
            reinterpret_cast<PFNGLDELETERENDERBUFFERSPROC>(SDL_GL_GetProcAddress("glDeleteRenderbuffers"));
        renderbufferStorage =
            reinterpret_cast<PFNGLRENDERBUFFERSTORAGEPROC>(SDL_GL_GetProcAddress("glRenderbufferStorage"));
        framebufferRenderbuffer =
            reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFERPROC>(SDL_GL_GetProcAddress("glFramebufferRenderbuffer"));
        checkFramebufferStatus =
            reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(SDL_GL_GetProcAddress("glCheckFramebufferStatus"));
        if (!genFramebuffers || !bindFramebuffer || !deleteFramebuffers || !genRenderbuffers || !bindRenderbuffer ||
            !deleteRenderbuffers || !renderbufferStorage || !framebufferRenderbuffer || !checkFramebufferStatus)
            return;
        genFramebuffers(1, &framebuffer);
        genRenderbuffers(1, &colour);
        bindRenderbuffer(GL_RENDERBUFFER, colour);
        renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        complete = checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    ~WideTarget()
    {
        if (framebuffer != 0) {
            bindFramebuffer(GL_FRAMEBUFFER, 0);
            deleteFramebuffers(1, &framebuffer);
            deleteRenderbuffers(1, &colour);
        }
    }
    WideTarget(const WideTarget&) = delete;
    WideTarget& operator=(const WideTarget&) = delete;

    bool available() const { return complete; }

private:
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    GLuint framebuffer = 0;
    GLuint colour = 0;
    bool complete = false;
};

class TraceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        drainGLErrors();
        pixelView();
        blankFrame();
    }
    void TearDown() override
    {
        glViewport(0, 0, 640, 480);
        glDisable(GL_SCISSOR_TEST);
        glColor3f(1.0f, 1.0f, 1.0f);
        glPointSize(1.0f);
        EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
    }

    ParticleManager manager{nullptr};
    ParticleSystem system{&manager};
};
}

TEST_F(TraceTest, PointTracesDrawTheTrailPointsAndLineTracesAStripEndingAtTheParticle)
{
    // Three trail points along y 100, the particle further on.
    const std::vector<Vector> trail = {Vector(100.5f, 100.5f, 0), Vector(150.5f, 100.5f, 0), Vector(200.5f, 100.5f, 0)};
    const Vector here(300.5f, 100.5f, 0);
    struct Case {
        const char* what;
        std::unique_ptr<Trace> trace;
        std::vector<Vector> trail;
        std::vector<Probe> probes;
    };
    Case cases[] = {
        {"points",
         std::unique_ptr<Trace>(new PointTrace(&system)),
         trail,
         {{100, 100, RED}, {150, 100, RED}, {200, 100, RED}, {125, 100, BLACK}, {250, 100, BLACK}, {300, 100, BLACK}}},
        {"a line",
         std::unique_ptr<Trace>(new LineTrace(&system)),
         trail,
         {{100, 100, RED}, {125, 100, RED}, {175, 100, RED}, {250, 100, RED}, {295, 100, RED}, {90, 100, BLACK},
          {310, 100, BLACK}, {200, 110, BLACK}}},
        // One vertex, the particle's position, makes no line.
        {"a line without trail points", std::unique_ptr<Trace>(new LineTrace(&system)), {}, {{300, 100, BLACK}}},
        {"points without trail points", std::unique_ptr<Trace>(new PointTrace(&system)), {}, {{300, 100, BLACK}}},
    };
    for (Case& c : cases) {
        blankFrame();
        RingBuffer<Particle> ring(2);
        addParticle(ring, here, c.trail);
        c.trace->renderAll(&ring);
        expectProbes(c.probes, c.what);
    }
}

TEST_F(TraceTest, ALineTraceOverAFullTrailDrawsItsTenPointsAndTheParticle)
{
    // Twelve samples along y 300 at x 20, 40, ..., 240: the trail keeps the newest ten, from 60 on.
    std::vector<Vector> samples;
    for (int i = 1; i <= 12; ++i)
        samples.push_back(Vector(20.0f * i + 0.5f, 300.5f, 0));
    RingBuffer<Particle> ring(2);
    Particle* particle = addParticle(ring, Vector(400.5f, 300.5f, 0), samples);
    ASSERT_EQ(particle->trail.size(), 10);

    LineTrace trace(&system);
    trace.renderAll(&ring);
    expectProbes({{30, 300, BLACK}, {50, 300, BLACK}, {70, 300, RED}, {150, 300, RED}, {320, 300, RED},
                  {395, 300, RED}, {410, 300, BLACK}},
                 "the strip");
}

TEST_F(TraceTest, EveryParticleOfTheRingIsTracedAliveOrNot)
{
    RingBuffer<Particle> ring(3);
    addParticle(ring, Vector(100.5f, 50.5f, 0), {Vector(20.5f, 50.5f, 0)});
    addParticle(ring, Vector(100.5f, 150.5f, 0), {Vector(20.5f, 150.5f, 0)})->alive = false;
    addParticle(ring, Vector(100.5f, 250.5f, 0), {Vector(20.5f, 250.5f, 0)});
    LineTrace trace(&system);
    trace.renderAll(&ring);
    expectProbes({{60, 50, RED}, {60, 150, RED}, {60, 250, RED}, {60, 200, BLACK}}, "three lines");
}

TEST_F(TraceTest, TheSystemsLineTraceFollowsItsParticlesFromTheirTrailsToWhereTheyAre)
{
    // Scene units of 20 pixels from the origin at window pixel (320, 100): a particle flies up some
    // 200 pixels a second, leaving a trail point every step of 0.05 seconds.
    const auto view = [] {
        pixelView();
        glTranslatef(320.0f, 100.0f, 0.0f);
        // Depth unscaled, so the sideways push along z stays between the clipping planes.
        glScalef(20.0f, 20.0f, 1.0f);
    };
    system.stringAction("createPointEmittor", "jet");
    system.stringAction("createLineTrace", "streaks");
    PointEmittor* jet = dynamic_cast<PointEmittor*>(system.find("jet"));
    ASSERT_NE(jet, nullptr);
    jet->setPosition(Vector(0, 0, 0));
    jet->setInterval(100.0f);  // one particle, at the first call
    system.stringAction("jet.enableEmitting", "true");
    ASSERT_NE(dynamic_cast<LineTrace*>(system.getTrace()), nullptr);
    EXPECT_EQ(system.getTrace()->getName(), "streaks");

    Random::seed(3);
    for (int step = 0; step <= 6; ++step) {
        view();
        blankFrame();
        system.update(0.05 * step);
    }
    RingBuffer<Particle>* ring = jet->getParticles();
    ASSERT_EQ(ring->size(), 1);
    const Particle& p = *(*ring)[0];
    ASSERT_EQ(p.trail.size(), 6);

    // The middle of every segment, from the oldest trail point to the particle, is drawn.
    std::vector<Vector> vertices;
    for (int i = 0; i < p.trail.size(); ++i)
        vertices.push_back(*p.trail[i]);
    vertices.push_back(p.position);
    for (size_t i = 0; i + 1 < vertices.size(); ++i) {
        const Vector middle = (vertices[i] + vertices[i + 1]) * 0.5f;
        const int x = static_cast<int>(std::floor(320.0f + 20.0f * middle.x));
        const int y = static_cast<int>(std::floor(100.0f + 20.0f * middle.y));
        EXPECT_TRUE(redNear(x, y)) << "segment " << i << " at (" << x << ", " << y << ")";
    }
    expectProbes({{20, 460, BLACK}, {620, 20, BLACK}}, "away from the jet");

    // A second trace takes the place and the child name of the first.
    system.stringAction("createLineTrace", "trails");
    EXPECT_EQ(system.getTrace()->getName(), "trails");
    EXPECT_EQ(system.getChildAction("streaks"), nullptr);
    EXPECT_EQ(system.getChildAction("trails"), system.getTrace());
}

TEST_F(TraceTest, ABlurTraceRedrawsTheOldestParticleAtEachTrailPointThroughEveryVisualisation)
{
    std::vector<std::string> journal;
    PlacesVisualisation glow("glow", journal);
    PlacesVisualisation dots("dots", journal);
    system.addVisualisation(&glow);
    system.addVisualisation(&dots);
    RingBuffer<Particle> ring(3);
    addParticle(ring, Vector(9, 0, 0), {Vector(1, 0, 0), Vector(2, 0, 0), Vector(3, 0, 0)});
    addParticle(ring, Vector(9, 1, 0), {Vector(7, 0, 0)});

    BlurTrace blur(&system);
    blur.renderAll(&ring);
    EXPECT_EQ(journal, (std::vector<std::string>{"glow 1", "dots 1", "glow 2", "dots 2", "glow 3", "dots 3"}));
}

TEST_F(TraceTest, ABlurTraceOverAnEmptyRingChangesNothing)
{
    glViewport(10, 20, 300, 200);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    RingBuffer<Particle> ring(2);
    BlurTrace blur(&system);
    blur.renderAll(&ring);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{10, 20, 300, 200}));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    expectProbes({{320, 240, BLACK}}, "the frame");
}

TEST_F(TraceTest, TheBlurredCopyLandsRightOfTheWindowAndLeavesTheFrameAlone)
{
    WideTarget target(1300, 480);
    if (!target.available())
        GTEST_SKIP() << "no framebuffer objects: nothing to draw right of the window into";
    PointVisualisation points;
    system.addVisualisation(&points);
    RingBuffer<Particle> ring(2);
    addParticle(ring, Vector(400.5f, 400.5f, 0), {Vector(100.5f, 200.5f, 0), Vector(300.5f, 100.5f, 0)});
    addParticle(ring, Vector(500.5f, 50.5f, 0), {Vector(50.5f, 50.5f, 0)});

    glViewport(0, 0, 1300, 480);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);  // green everywhere
    glViewport(0, 0, 640, 480);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glColor3f(1.0f, 0.0f, 0.0f);
    glPointSize(3.0f);
    BlurTrace blur(&system);
    blur.renderAll(&ring);

    // The region from x 641 on is cleared and shows the oldest particle at its two trail points;
    // the frame, and the column between, keep their green.
    expectProbes({{641 + 100, 200, RED}, {641 + 300, 100, RED}, {641 + 400, 400, BLACK}, {641 + 50, 50, BLACK},
                  {641 + 200, 300, BLACK}, {100, 200, GREEN}, {300, 100, GREEN}, {320, 240, GREEN}, {640, 240, GREEN}},
                 "the wide target");
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 640, 480}));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST_F(TraceTest, TheScreenRectangleOfATrailPointSpansItsCubesProjectedCorners)
{
    Particle p;
    p.size = 2.0f;
    p.trail.push(std::unique_ptr<Vector>(new Vector(100.0f, 200.0f, 0.0f)));
    p.trail.push(std::unique_ptr<Vector>(new Vector(300.0f, 50.0f, 1.0f)));

    struct Case {
        const char* what;
        int index;
        std::function<void()> view;
        Vector lower, upper;
    } cases[] = {
        {"pixels, first point", 0, [] {}, Vector(98, 198, 7), Vector(102, 202, 7)},
        {"pixels, second point", 1, [] {}, Vector(298, 48, 7), Vector(302, 52, 7)},
        {"moved and doubled", 0,
         [] {
             glTranslatef(10.0f, 20.0f, 0.0f);
             glScalef(2.0f, 0.5f, 1.0f);
         },
         Vector(206, 119, 7), Vector(214, 121, 7)},
        {"in the right half of the viewport", 1, [] { glViewport(320, 0, 320, 240); }, Vector(469, 24, 7),
         Vector(471, 26, 7)},
    };
    for (const Case& c : cases) {
        pixelView();
        c.view();
        Vector lower(0, 0, 7), upper(0, 0, 7);  // z is not written
        ASSERT_TRUE(BlurTrace::trailScreenRect(p, c.index, lower, upper)) << c.what;
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(lower[axis], c.lower[axis], 1e-3f) << c.what << ", lower " << axis;
            EXPECT_NEAR(upper[axis], c.upper[axis], 1e-3f) << c.what << ", upper " << axis;
        }
    }
    Vector lower(1, 2, 3), upper(4, 5, 6);
    EXPECT_FALSE(BlurTrace::trailScreenRect(p, 2, lower, upper));
    EXPECT_EQ(lower.x, 1.0f);
    EXPECT_EQ(upper.y, 5.0f);
    pixelView();
}
