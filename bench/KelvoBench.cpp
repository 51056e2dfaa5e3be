// Load times of generated LWO2 and 3D Studio files, and frame times of a skinned and a static
// model against bare OpenGL references drawn the same way, in one SDL OpenGL window. Run it with
// tools/headless.sh build/plain/bench/kelvobench; --smoke runs each benchmark once.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL/SDL.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "3dsLoader.h"
#include "Actor.h"
#include "AllocationCounter.h"
#include "BenchModels.h"
#include "Bone.h"
#include "Environment.h"
#include "Environment2D.h"
#include "EnvironmentController.h"
#include "JpegWriter.h"
#include "KeyframedMesh.h"
#include "Log.h"
#include "Matrix.h"
#include "PictureNames.h"
#include "Program.h"
#include "Quaternion.h"
#include "ResourceLoader.h"
#include "Surface.h"
#include "TestSupport.h"
#include "Timeline.h"
#include "Timer.h"
#include "lwloader/LWLoader.h"

namespace {
const double MEGABYTE = 1024.0 * 1024.0;
// The skinned actor of the frame benchmarks: 100 × 100 quads (20,000 triangles) on 20 bones.
const int ACTOR_CELLS = 100;
const int ACTOR_BONES = 20;
// The static model: 125 × 126 cells, 31,500 triangles.
const int STATIC_WIDTH = 125;
const int STATIC_HEIGHT = 126;

// The folder every generated file lies in, removed at exit.
TempDir& folder()
{
    static TempDir dir;
    return dir;
}

std::size_t fileSize(const std::string& name)
{
    return readFile(folder().file(name)).size();
}

// The bytes of a generated file by its name: "<format>-<bytes>.<ext>" for the grids.
std::string makeFile(const std::string& name)
{
    const std::size_t size = static_cast<std::size_t>(std::atol(name.c_str() + name.find('-') + 1));
    if (name.rfind("lwo-", 0) == 0)
        return lwoGrid(size);
    if (name.rfind("3ds-", 0) == 0)
        return threeDSGrid(size);
    if (name == "actor.lwo")
        return lwoSkinnedActor(ACTOR_CELLS, ACTOR_BONES);
    return threeDSObject(STATIC_WIDTH, STATIC_HEIGHT);
}

// The name of a generated file, written into the folder on first use.
std::string generated(const std::string& name)
{
    static std::map<std::string, bool> written;
    if (!written[name]) {
        writeFile(folder().file(name), makeFile(name));
        written[name] = true;
    }
    return name;
}

// Page faults the process has taken so far that needed no reading from disk: each is a page of
// memory touched for the first time, which costs tens of microseconds on some machines.
long minorFaults()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Milliseconds of one load per megabyte of the file, from the time the loads took in total, and
// the page faults of one load, from the faults they took in total.
void setLoadCounters(benchmark::State& state, std::size_t bytes, double totalMs, long totalFaults)
{
    const double megabytes = static_cast<double>(bytes) / MEGABYTE;
    const double loads = static_cast<double>(state.iterations());
    state.counters["MB"] = megabytes;
    state.counters["ms_per_MB"] = totalMs / loads / megabytes;
    state.counters["faults_per_load"] = static_cast<double>(totalFaults) / loads;
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Times every load of name that load() makes; what it returns is kept to the end of the
// iteration, outside the time, and so is reset(), which puts the scene back between loads.
template <typename Load, typename Reset = std::nullptr_t>
void timeLoads(benchmark::State& state, const std::string& name, Load load, Reset reset = nullptr)
{
    double total = 0.0;
    long faults = 0;
    for (auto _ : state) {
        const long faultsBefore = minorFaults();
        const auto start = std::chrono::steady_clock::now();
        auto loaded = load();
        total += millisecondsSince(start);
        faults += minorFaults() - faultsBefore;
        benchmark::DoNotOptimize(loaded);
        if constexpr (!std::is_null_pointer_v<Reset>) {
            state.PauseTiming();
            reset();
            state.ResumeTiming();
        }
    }
    setLoadCounters(state, fileSize(name), total, faults);
}

// Everything a 3D Studio load put into the scene goes again, so the next load starts alike.
void emptyScene(Environment& scene)
{
    while (scene.getKeyframedMeshes().size() > 0)
        scene.getKeyframedMeshes().erase(scene.getKeyframedMeshes().getComponents().begin()->first);
    while (scene.getSurfaces().size() > 0)
        scene.getSurfaces().erase(scene.getSurfaces().getComponents().begin()->first);
}

std::unique_ptr<Actor> loadActor(Environment& scene, const std::string& name)
{
    std::unique_ptr<Actor> actor(new Actor(&scene));
    actor->setName(name);
    LWLoader loader(actor.get(), &scene);
    loader.loadObject(name);
    loader.fillObject(actor.get());
    return actor;
}

std::string sizeName(const char* prefix, int64_t bytes)
{
    return std::string(prefix) + "-" + std::to_string(bytes);
}

void BM_LoadLWO2Grid(benchmark::State& state)
{
    const std::string name = generated(sizeName("lwo", state.range(0)) + ".lwo");
    Environment scene;
    timeLoads(state, name, [&] { return loadActor(scene, name); });
}

void BM_Load3DSGrid(benchmark::State& state)
{
    const std::string name = generated(sizeName("3ds", state.range(0)) + ".3ds");
    Environment scene;
    timeLoads(
        state, name,
        [&] {
            _3dsLoader loader;
            loader.load(name, &scene);
            return scene.getKeyframedMeshes().size();
        },
        [&] { emptyScene(scene); });
}

void BM_LoadSkinnedActor(benchmark::State& state)
{
    const std::string name = generated("actor.lwo");
    Environment scene;
    timeLoads(state, name, [&] { return loadActor(scene, name); });
}

// The view every frame benchmark draws with: the model 10 units wide fills the window.
void frameView(bool lit)
{
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 640.0 / 480.0, 1.0, 300.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
    if (!lit) {
        glDisable(GL_LIGHTING);
        return;
    }
    glEnable(GL_LIGHTING);
    const GLfloat positions[3][4] = {{10, 10, 10, 1}, {-10, 5, 10, 1}, {0, -10, 5, 1}};
    const GLfloat white[4] = {0.6f, 0.6f, 0.6f, 1.0f};
    for (int i = 0; i < 3; ++i) {
        glEnable(GL_LIGHT0 + i);
        glLightfv(GL_LIGHT0 + i, GL_POSITION, positions[i]);
        glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, white);
    }
}

void finishFrame()
{
    glFinish();
    SDL_GL_SwapBuffers();
}

// Turns every bone a little, differently each frame, as a keyframed actor would.
void poseBones(Actor& actor, int frame)
{
    for (int b = 0; b < actor.getBoneCount(); ++b)
        actor.getBone(b)->setOrientation(Quaternion(0.02f * static_cast<float>((frame + b) % 10), 0.0f, 0.0f, 1.0f));
}

// The skinned actor, loaded and prepared once for the frame benchmarks.
Actor& skinnedActor(Environment& scene)
{
    static std::unique_ptr<Actor> actor;
    if (!actor) {
        actor = loadActor(scene, generated("actor.lwo"));
        frameView(true);
        actor->render(0.0);
    }
    return *actor;
}

void placeActor()
{
    glLoadIdentity();
    glTranslatef(-10.0f, -1.0f, -26.0f);
}

// The engine's frame of one model: per iteration the lit view, prepare (frame number), a clear, place,
// render (frame number) with its heap allocations counted, and the finished frame; the
// allocations per frame become a counter.
template <typename Prepare, typename Render>
void engineFrames(benchmark::State& state, Prepare prepare, void (*place)(), Render render)
{
    int frame = 0;
    long allocations = 0;
    for (auto _ : state) {
        frameView(true);
        prepare(frame);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        place();
        const long before = allocationCount();
        render(frame);
        allocations += allocationCount() - before;
        finishFrame();
        ++frame;
    }
    state.counters["allocs_per_frame"] = benchmark::Counter(static_cast<double>(allocations),
                                                            benchmark::Counter::kAvgIterations);
}

void BM_SkinnedFrame(benchmark::State& state)
{
    static Environment scene;
    Actor& actor = skinnedActor(scene);
    engineFrames(
        state, [&](int frame) { poseBones(actor, frame); }, placeActor,
        [&](int frame) { actor.render((frame + 1) / 25.0); });
    state.counters["triangles"] = actor.getTriangleCount();
    state.counters["skinned"] = actor.getSkinnedMesh().getTriangleCount();
}

// The bare loop the skinned frame is measured against: the same points blended from the same
// bone frames into flat arrays, smoothed normals, and one indexed vertex-array draw of every
// triangle of the actor.
void BM_SkinnedReference(benchmark::State& state)
{
    static Environment scene;
    Actor& actor = skinnedActor(scene);
    // The bone frames of a posed engine frame, then the actor's data as flat arrays.
    frameView(true);
    poseBones(actor, 3);
    placeActor();
    actor.render(0.0);
    std::vector<Matrix> frames;
    std::vector<Vector> pivots;
    std::map<std::string, int> boneIndex;
    for (int b = 0; b < actor.getBoneCount(); ++b) {
        frames.push_back(actor.getBone(b)->getWorldMatrix());
        pivots.push_back(actor.getBone(b)->getPivot());
        boneIndex[actor.getBone(b)->getName()] = b;
    }
    const int pointCount = static_cast<int>(actor.getPoints().size());
    std::vector<float> rest(3 * pointCount);
    std::vector<int> bone(2 * pointCount, 0);
    std::vector<float> weight(2 * pointCount, 0.0f);
    for (const auto& entry : actor.getPoints()) {
        const int p = entry.first;
        rest[3 * p] = entry.second.x;
        rest[3 * p + 1] = entry.second.y;
        rest[3 * p + 2] = entry.second.z;
        const PointBoneWeightMap* weights = actor.getPointWeights().find(p);
        int slot = 0;
        if (weights)
            for (const auto& w : weights->getWeights())
                if (slot < 2) {
                    bone[2 * p + slot] = boneIndex[w.first];
                    weight[2 * p + slot++] = w.second;
                }
    }
    std::vector<GLuint> indices;
    for (const auto& entry : actor.getTriangles())
        for (int c = 0; c < 3; ++c)
            indices.push_back(static_cast<GLuint>(entry.second.getPoint(c)));
    std::vector<float> positions(3 * pointCount), normals(3 * pointCount);
    const GLfloat skin[4] = {0.9f, 0.7f, 0.6f, 1.0f};

    for (auto _ : state) {
        frameView(true);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int p = 0; p < pointCount; ++p) {
            float out[3] = {0, 0, 0};
            for (int s = 0; s < 2; ++s) {
                const float w = weight[2 * p + s];
                if (w == 0.0f)
                    continue;
                const Matrix& m = frames[bone[2 * p + s]];
                const Vector& pivot = pivots[bone[2 * p + s]];
                const float x = rest[3 * p] - pivot.x, y = rest[3 * p + 1] - pivot.y, z = rest[3 * p + 2] - pivot.z;
                for (int r = 0; r < 3; ++r)
                    out[r] += w * (m.get(r) * x + m.get(4 + r) * y + m.get(8 + r) * z + m.get(12 + r));
            }
            std::memcpy(&positions[3 * p], out, sizeof out);
        }
        std::fill(normals.begin(), normals.end(), 0.0f);
        for (std::size_t t = 0; t < indices.size(); t += 3) {
            const float* a = &positions[3 * indices[t]];
            const float* b = &positions[3 * indices[t + 1]];
            const float* c = &positions[3 * indices[t + 2]];
            const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
            const float v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
            const float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
            const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            if (length == 0.0f)
                continue;
            for (int k = 0; k < 3; ++k)
                for (int r = 0; r < 3; ++r)
                    normals[3 * indices[t + k] + r] += n[r] / length;
        }
        glPushMatrix();
        glLoadIdentity();
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, skin);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, positions.data());
        glNormalPointer(GL_FLOAT, 0, normals.data());
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, indices.data());
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        glPopMatrix();
        finishFrame();
    }
    state.counters["triangles"] = static_cast<double>(indices.size() / 3);
}

// The static model, loaded once into its own lit scene.
KeyframedMesh& staticMesh(Environment& scene)
{
    static KeyframedMesh* mesh = nullptr;
    if (!mesh) {
        _3dsLoader loader;
        loader.load(generated("static.3ds"), &scene);
        mesh = scene.getKeyframedMeshes().getComponents().begin()->second.get();
        scene.setLightingEnabled(true);
        // Its display list is compiled by the first render, not by a measured frame.
        frameView(true);
        mesh->render(0.0);
    }
    return *mesh;
}

void placeStatic()
{
    glLoadIdentity();
    glTranslatef(-62.0f, -60.0f, -160.0f);
}

void BM_StaticFrame(benchmark::State& state)
{
    static Environment scene;
    KeyframedMesh& mesh = staticMesh(scene);
    engineFrames(
        state, [](int) {}, placeStatic, [&](int) { mesh.render(0.0); });
    state.counters["triangles"] = mesh.getTriangleCount();
}

// The same triangles, normals and material in one bare display list.
void BM_StaticReference(benchmark::State& state)
{
    static Environment scene;
    KeyframedMesh& mesh = staticMesh(scene);
    frameView(true);
    mesh.render(0.0);
    const GLuint list = glGenLists(1);
    const GLfloat grey[4] = {0.63f, 0.63f, 0.63f, 1.0f};
    glNewList(list, GL_COMPILE);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, grey);
    glBegin(GL_TRIANGLES);
    for (const auto& entry : mesh.getTriangles()) {
        const PointNormalMap* normals = mesh.findTrianglePointNormals(entry.first);
        for (int c = 0; c < 3; ++c) {
            const int p = entry.second.getPoint(c);
            const Vector n = normals ? normals->getNormal(p) : entry.second.getNormal();
            const Point& at = mesh.getPoints().find(p)->second;
            glNormal3f(n.x, n.y, n.z);
            glVertex3f(at.x, at.y, at.z);
        }
    }
    glEnd();
    glEndList();
    for (auto _ : state) {
        frameView(true);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        placeStatic();
        glCallList(list);
        finishFrame();
    }
    glDeleteLists(list, 1);
    state.counters["triangles"] = mesh.getTriangleCount();
}

// One frame of the program's real-time loop over an empty 2D scene: the timeline, the scene's
// clear, the window caption with the frame's time and the swap; what the program itself adds to
// every frame of a show.
void BM_ProgramFrame(benchmark::State& state)
{
    std::unique_ptr<EnvironmentController> controller(new EnvironmentController());
    controller->initialize();
    auto scene = std::make_unique<Environment2D>();
    Environment2D* actions = scene.get();
    controller->registerEnvironment("plain", std::move(scene), actions);
    controller->activateEnvironment("plain");
    Timeline timeline;
    timeline.setRoot(controller.get());
    timeline.setName("bench.xml");
    Program program;
    program.attach(controller.get(), &timeline);
    Program::getPlaybackTimer().reset();
    long allocations = 0;
    for (auto _ : state) {
        const long before = allocationCount();
        program.drawFrame();
        allocations += allocationCount() - before;
    }
    state.counters["allocs_per_frame"] = benchmark::Counter(static_cast<double>(allocations),
                                                            benchmark::Counter::kAvgIterations);
}

void registerBenchmarks()
{
    for (auto* load : {benchmark::RegisterBenchmark("LoadLWO2Grid", BM_LoadLWO2Grid),
                       benchmark::RegisterBenchmark("Load3DSGrid", BM_Load3DSGrid)})
        load->Arg(10 << 10)->Arg(100 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LoadSkinnedActor", BM_LoadSkinnedActor)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ProgramFrame", BM_ProgramFrame)->Unit(benchmark::kMicrosecond);
    for (auto* frame : {benchmark::RegisterBenchmark("SkinnedFrame", BM_SkinnedFrame),
                        benchmark::RegisterBenchmark("SkinnedReference", BM_SkinnedReference),
                        benchmark::RegisterBenchmark("StaticFrame", BM_StaticFrame),
                        benchmark::RegisterBenchmark("StaticReference", BM_StaticReference)})
        frame->Unit(benchmark::kMillisecond);
}

// Triangles of every mesh a 3D Studio load put into the scene.
long sceneTriangles(Environment& scene)
{
    long count = 0;
    for (const auto& entry : scene.getKeyframedMeshes().getComponents())
        count += entry.second->getTriangleCount();
    return count;
}

// The .lwo and .3ds files under dir, by their paths relative to it, sorted.
std::vector<std::string> modelFiles(const std::string& dir)
{
    std::vector<std::string> names;
    FILE* list = popen(("cd '" + dir + "' && find . -type f \\( -iname '*.lwo' -o -iname '*.3ds' \\) | sort").c_str(), "r");
    if (!list)
        return names;
    char line[4096];
    while (std::fgets(line, sizeof line, list)) {
        std::string name(line);
        name.erase(name.find_last_not_of("\r\n") + 1);
        names.push_back(name.substr(2));
    }
    pclose(list);
    return names;
}

bool isLightWave(const std::string& name)
{
    return name.size() > 4 && (name.compare(name.size() - 4, 4, ".lwo") == 0 || name.compare(name.size() - 4, 4, ".LWO") == 0);
}

// Loads (five unless asked) of every .lwo and .3ds file in dir, or of only the one named (each by
// its path relative to dir), each load into a fresh scene, one line per file:
//   "<file>\t<warm ms>\t<cold ms>\t<triangles>", or "<file>\tfailed\t<the exception's message>"
// cold is the file's first load in this process, warm the median of the loads after it (the first
// when there is only one), triangles what the first load made.
int loadFiles(const std::string& dir, int loads, const std::string& only)
{
    ResourceLoader::setResourcePath(dir + "/");
    // Silent, as the peers' loggers are: a sample that names a missing picture logs an error, and
    // writing lines out is not loading.
    Log::getInstance()->setLevel(LogLevel::none);
    for (const std::string& name : modelFiles(dir)) {
        if (!only.empty() && name != only)
            continue;
        std::vector<double> times;
        std::string failure;
        long triangles = 0;
        for (int run = 0; run < loads && failure.empty(); ++run) {
            Environment scene;
            // Freed after the clock stops, as the peers free what they loaded after theirs.
            std::unique_ptr<Actor> actor;
            const auto start = std::chrono::steady_clock::now();
            try {
                if (isLightWave(name)) {
                    actor = loadActor(scene, name);
                } else {
                    _3dsLoader loader;
                    loader.load(name, &scene);
                }
            } catch (const std::exception& e) {
                // On one line: the cause of a refusal comes at the end of a long chain.
                failure = e.what();
                std::replace_if(failure.begin(), failure.end(), [](char c) { return c == '\n' || c == '\t'; }, ' ');
            }
            times.push_back(millisecondsSince(start));
            if (run == 0 && failure.empty())
                triangles = actor ? actor->getTriangleCount() : sceneTriangles(scene);
            emptyScene(scene);
        }
        if (!failure.empty()) {
            std::printf("%s\tfailed\t%s\n", name.c_str(), failure.c_str());
            continue;
        }
        const double cold = times.front();
        if (times.size() > 1)
            times.erase(times.begin());
        std::sort(times.begin(), times.end());
        std::printf("%s\t%.4f\t%.4f\t%ld\n", name.c_str(), times[times.size() / 2], cold, triangles);
    }
    return 0;
}

bool openWindow()
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return false;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    return SDL_SetVideoMode(640, 480, 0, SDL_OPENGL) != nullptr;
}
}

int main(int argc, char** argv)
{
    // --smoke: every benchmark once, so that the program cannot rot; timings mean nothing then.
    std::vector<char*> arguments(argv, argv + argc);
    static char once[] = "--benchmark_min_time=0";
    for (char*& argument : arguments)
        if (std::strcmp(argument, "--smoke") == 0)
            argument = once;
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    const bool writeMode = count == 3 && std::strcmp(arguments[1], "--write") == 0;
    const bool filesMode = count >= 3 && count <= 5 && std::strcmp(arguments[1], "--files") == 0;
    // --pictures <folder>: "<model>\t<picture>" for every picture name a model file under the
    // folder holds, as stored; the peer comparison stages those pictures.
    if (count == 3 && std::strcmp(arguments[1], "--pictures") == 0) {
        const std::string dir = arguments[2];
        for (const std::string& name : modelFiles(dir))
            for (const std::string& picture : pictureNames(readFile(dir + "/" + name), isLightWave(name)))
                std::printf("%s\t%s\n", name.c_str(), picture.c_str());
        return 0;
    }
    // --jpeg <file>: a small grey JPEG there, for a picture a model names that is not at hand.
    if (count == 3 && std::strcmp(arguments[1], "--jpeg") == 0) {
        writeJpeg(arguments[2], 8, 8, 3, solidPixels(8, 8, {200, 200, 200}));
        return 0;
    }
    const bool ownMode = writeMode || filesMode;
    if (!ownMode && benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return 1;
    if (!openWindow()) {
        std::fprintf(stderr, "kelvobench: no OpenGL window: %s\n", SDL_GetError());
        return 1;
    }
    Log::getInstance()->setFileOutput(false);
    Log::getInstance()->setLevel(LogLevel::error);
    ResourceLoader::setResourcePath(folder().path() + "/");
    writeJpeg(folder().file("grid.jpg"), 8, 8, 3, solidPixels(8, 8, {200, 200, 200}));
    // --write <folder>: the generated 100 KB, 1 MB and 10 MB grids of both formats, for the peer
    // comparison.
    if (writeMode) {
        for (const char* name : {"lwo-102400.lwo", "lwo-1048576.lwo", "lwo-10485760.lwo", "3ds-102400.3ds",
                                 "3ds-1048576.3ds", "3ds-10485760.3ds"})
            writeFile(std::string(arguments[2]) + "/" + name, makeFile(name));
        // The LWO2 grids name this picture; the engine refuses an object whose image is missing.
        writeJpeg(std::string(arguments[2]) + "/grid.jpg", 8, 8, 3, solidPixels(8, 8, {200, 200, 200}));
        SDL_Quit();
        return 0;
    }
    // --files <folder> [loads [file]]: the peer comparison's engine side instead of the benchmarks;
    // many loads of one file make a profile of its load.
    if (filesMode) {
        const int loads = count >= 4 ? std::max(1, std::atoi(arguments[3])) : 5;
        const int status = loadFiles(arguments[2], loads, count == 5 ? arguments[4] : "");
        SDL_Quit();
        return status;
    }
    registerBenchmarks();
    try {
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kelvobench: %s\n", e.what());
        SDL_Quit();
        return 1;
    }
    benchmark::Shutdown();
    SDL_Quit();
    return 0;
}
