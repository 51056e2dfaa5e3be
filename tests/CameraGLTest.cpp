#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "Camera.h"
#include "HpbCamera.h"
#include "Keyframer.h"
#include "TrackCamera.h"
#include "GLEnvironment.h"
#include "Log.h"
#include "TestSupport.h"

TEST(CameraPerspective, LoadsTheProjectionAndLeavesItCurrent)
{
    struct Case {
        float fovy, aspect, zNear, zFar;
    } cases[] = {
        {45.0f, 640.0f / 480.0f, 1.0f, 300.0f},
        {60.0f, 1.0f, 0.5f, 20.0f},
        {45.0f, 2.0f, 10.0f, 5.0f},  // far before near is passed on unchecked
    };
    for (const Case& c : cases) {
        // Something else loaded first: the projection is replaced, not multiplied.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glTranslatef(3.0f, 4.0f, 5.0f);
        glMatrixMode(GL_MODELVIEW);

        Camera::setPerspective(c.fovy, c.aspect, c.zNear, c.zFar);

        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_PROJECTION);
        float m[16];
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        double f = 1.0 / std::tan(c.fovy * M_PI / 360.0);
        EXPECT_NEAR(m[0], f / c.aspect, 1e-4);
        EXPECT_NEAR(m[5], f, 1e-4);
        EXPECT_NEAR(m[10], (c.zFar + c.zNear) / (c.zNear - c.zFar), 1e-4);
        EXPECT_NEAR(m[11], -1.0, 1e-6);
        EXPECT_NEAR(m[14], 2.0 * c.zFar * c.zNear / (c.zNear - c.zFar), 1e-3);
        EXPECT_NEAR(m[12], 0.0, 1e-6);
        EXPECT_NEAR(m[15], 0.0, 1e-6);
    }
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

namespace {

const float HALF_PI = 1.57079633f;

// The current modelview matrix applied to a world point: where it lies in eye space.
Vector eyePoint(const Vector& world)
{
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return Vector(m[0] * world.x + m[4] * world.y + m[8] * world.z + m[12],
                  m[1] * world.x + m[5] * world.y + m[9] * world.z + m[13],
                  m[2] * world.x + m[6] * world.y + m[10] * world.z + m[14]);
}

void expectEyePoint(const Vector& world, const Vector& expected, const std::string& what)
{
    const Vector eye = eyePoint(world);
    EXPECT_NEAR(eye.x, expected.x, 1e-4) << what;
    EXPECT_NEAR(eye.y, expected.y, 1e-4) << what;
    EXPECT_NEAR(eye.z, expected.z, 1e-4) << what;
}

// Something else current and loaded, so that render must select and replace the modelview.
void disturbMatrices()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(7.0f, -3.0f, 2.0f);
    glRotatef(33.0f, 1.0f, 1.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
}

// A plain camera placed the way its loaders place one.
class PlacedCamera : public Camera {
public:
    PlacedCamera(const Vector& at, const Quaternion& turn, float rollDegrees)
    {
        position = at;
        orientation = turn;
        roll = rollDegrees;
    }
};

}  // namespace

TEST(Camera, RenderLoadsTheViewOfItsPositionOrientationAndRoll)
{
    const Quaternion none;
    const Quaternion left(HALF_PI, 0, 1, 0);  // a quarter turn about +y: looks down -x
    struct Case {
        const char* what;
        Vector position;
        Quaternion orientation;
        float roll;
        Vector world, eye;
    } cases[] = {
        {"at the origin", Vector(), none, 0, Vector(0, 0, -5), Vector(0, 0, -5)},
        {"moved back", Vector(1, 2, 3), none, 0, Vector(1, 2, -2), Vector(0, 0, -5)},
        {"turned left", Vector(), left, 0, Vector(-5, 0, 0), Vector(0, 0, -5)},
        {"turned left, point on its right", Vector(), left, 0, Vector(-5, 0, -1), Vector(1, 0, -5)},
        {"turned left from elsewhere", Vector(1, 0, 4), left, 0, Vector(-4, 0, 4), Vector(0, 0, -5)},
        // Roll turns the picture about the viewing axis, after the orientation.
        {"rolled", Vector(), none, 90, Vector(1, 0, -5), Vector(0, 1, -5)},
        {"rolled and turned", Vector(), left, 90, Vector(-5, 0, -1), Vector(0, 1, -5)},
    };
    for (const Case& c : cases) {
        PlacedCamera camera(c.position, c.orientation, c.roll);
        disturbMatrices();
        camera.render(12.5);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW) << c.what;
        expectEyePoint(c.world, c.eye, c.what);
    }
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(Camera, PerFrameLinesOnlyAtTheFrameDrawingLevel)
{
    PlacedCamera camera(Vector(1, 2.5f, -3), Quaternion(HALF_PI, 0, 0, 1), 0);
    camera.setName("eye");
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::debug);
    camera.render(0);
    EXPECT_EQ(log.text(), "");
    Log::getInstance()->setLevel(LogLevel::frame);
    camera.render(0);
    EXPECT_EQ(log.text(), "[debug_fdraw] camera::render(\"eye\") - position x: 1, y: 2.5, z: -3\n"
                          "[debug_fdraw] camera::render(\"eye\") - orientation r: 0, p: -0, y: 90\n");
}

namespace {

// 4×4 products in doubles, column-major as OpenGL keeps them: the expected views built
// independently of GL.
struct Mat {
    double m[16];
};

Mat rotation(double degrees, int axis)
{
    const double r = degrees * M_PI / 180.0, c = std::cos(r), s = std::sin(r);
    Mat a = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    const int i = (axis + 1) % 3, j = (axis + 2) % 3;
    a.m[4 * i + i] = c;
    a.m[4 * j + j] = c;
    a.m[4 * i + j] = s;  // column i, row j
    a.m[4 * j + i] = -s;
    return a;
}

Mat operator*(const Mat& a, const Mat& b)
{
    Mat r;
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            r.m[4 * c + row] = 0;
            for (int k = 0; k < 4; ++k)
                r.m[4 * c + row] += a.m[4 * k + row] * b.m[4 * c + k];
        }
    return r;
}

Mat translation(const Vector& t)
{
    Mat a = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, t.x, t.y, t.z, 1}};
    return a;
}

void expectModelview(const Mat& expected, const std::string& what)
{
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m[i], expected.m[i], 1e-5) << what << ", element " << i;
}

}  // namespace

TEST(HpbCamera, WithoutAKeyframerLooksDownNegativeZFromItsPosition)
{
    HpbCamera camera;
    LogCapture log;
    disturbMatrices();
    camera.render(3.0);
    EXPECT_TRUE(log.contains("[info] hpbcamera::render() - Not initialized. Initializing..\n"));
    expectEyePoint(Vector(0, 0, -5), Vector(0, 0, -5), "at the origin");
    log.clear();
    camera.setPosition(Vector(1, 2, 3));
    disturbMatrices();
    camera.render(4.0);
    EXPECT_EQ(log.text(), "") << "initialised once";
    expectEyePoint(Vector(1, 2, -2), Vector(0, 0, -5), "moved");
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(HpbCamera, KeyframedAnglesTurnByBankThenPitchThenHeading)
{
    struct Case {
        float h, p, b;  // radians
        Vector position;
    } cases[] = {
        {1.0f, 0, 0, Vector()},
        {0, 0.5f, 0, Vector(0, 0, 4)},
        {0.5f, 0.3f, -0.2f, Vector(1, 2, 3)},
    };
    for (const Case& c : cases) {
        Keyframer keyframer(nullptr);
        keyframer.addPositionKey(0, c.position, 0, 0, 0);
        keyframer.addHpbKey(0, c.h, c.p, c.b, 0, 0, 0);
        HpbCamera camera;
        camera.setKeyframer(&keyframer);
        disturbMatrices();
        camera.render(2.0);
        const double toDegrees = 57.29577890375322;
        const Mat expected = rotation(c.b * toDegrees, 2) * rotation(c.p * toDegrees, 0) *
                             rotation(c.h * toDegrees, 1) * translation(c.position * -1.0f);
        expectModelview(expected, "h " + std::to_string(c.h) + " p " + std::to_string(c.p));
        EXPECT_EQ(camera.getPosition().z, c.position.z) << "the keyframed position is kept";
    }
    // A heading of one radian turns the view by about 57.3 degrees about y.
    Keyframer keyframer(nullptr);
    keyframer.addHpbKey(0, 1.0f, 0, 0, 0, 0, 0);
    HpbCamera camera;
    camera.setKeyframer(&keyframer);
    camera.render(0);
    expectEyePoint(Vector(0, 0, -1), Vector(-std::sin(1.0f), 0, -std::cos(1.0f)), "one radian");
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(TrackCamera, LooksAtItsTargetFromItsKeyframedPosition)
{
    struct Case {
        Vector from, target;
    } cases[] = {
        {Vector(0, 0, 0), Vector(0, 0, -10)},
        {Vector(0, 0, 0), Vector(10, 0, 0)},
        {Vector(1, 1, 1), Vector(-2, 1, 5)},
        {Vector(1, 1, 1), Vector(1, 6, -4)},  // pitched up by 45 degrees
        {Vector(2, -1, 0), Vector(-1, -5, 3)},
    };
    for (const Case& c : cases) {
        Keyframer from(nullptr), target(nullptr);
        from.addPositionKey(0, c.from, 0, 0, 0);
        target.addPositionKey(0, c.target, 0, 0, 0);
        TrackCamera camera;
        camera.setPositionKeyframer(&from);
        camera.setTargetKeyframer(&target);
        disturbMatrices();
        camera.render(1.0);
        const std::string what = "target " + c.target.toString();
        // The target lies straight ahead, at its distance.
        expectEyePoint(c.target, Vector(0, 0, -(c.target - c.from).length()), what);
        expectEyePoint(c.from, Vector(0, 0, 0), what);
    }
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(TrackCamera, WithoutATargetTakesRotationAndRollFromItsKeyframer)
{
    Keyframer from(nullptr);
    from.addPositionKey(0, Vector(1, 0, 4), 0, 0, 0);
    from.setRotationKey(0, Quaternion(HALF_PI, 0, 1, 0), 0, 0, 0);  // looks down -x
    TrackCamera camera;
    camera.setPositionKeyframer(&from);
    camera.render(0);
    expectEyePoint(Vector(-4, 0, 4), Vector(0, 0, -5), "turned");
    expectEyePoint(Vector(-4, 0, 3), Vector(1, 0, -5), "turned, point on its right");
    from.addRollKey(0, 90, 0, 0, 0);  // degrees
    camera.render(0);
    expectEyePoint(Vector(-4, 0, 3), Vector(0, 1, -5), "rolled");
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(TrackCamera, WithOnlyATargetAimsFromItsOwnPosition)
{
    Keyframer target(nullptr);
    target.addPositionKey(0, Vector(5, 0, -10), 0, 0, 0);
    TrackCamera camera;
    camera.setPosition(Vector(5, 0, 0));
    camera.setTargetKeyframer(&target);
    camera.render(0);
    expectEyePoint(Vector(5, 0, -10), Vector(0, 0, -10), "ahead");
    // A target on the camera itself gives no direction, but a finite view all the same.
    Keyframer onCamera(nullptr);
    onCamera.addPositionKey(0, Vector(5, 0, 0), 0, 0, 0);
    camera.setTargetKeyframer(&onCamera);
    camera.render(0);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (float element : m)
        EXPECT_TRUE(std::isfinite(element));
    EXPECT_EQ(drainGLErrors(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST(TrackCamera, LogsItsTargetOnlyAtTheFrameDrawingLevel)
{
    Keyframer target(nullptr);
    target.addPositionKey(0, Vector(0, 1.5f, -10), 0, 0, 0);
    TrackCamera camera;
    camera.setName("dolly");
    camera.setTargetKeyframer(&target);
    camera.render(0);  // initialises
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::debug);
    camera.render(0);
    EXPECT_EQ(log.text(), "");
    Log::getInstance()->setLevel(LogLevel::frame);
    camera.render(0);
    EXPECT_TRUE(log.contains("[debug_fdraw] trackcamera::render(\"dolly\") - target x: 0, y: 1.5, z: -10\n"))
        << log.text();
}
