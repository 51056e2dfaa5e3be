#include "FuzzTarget.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "3dsLoader.h"
#include "3dsLoaderException.h"
#include "Actor.h"
#include "Camera.h"
#include "ComponentExceptions.h"
#include "DOMTreeErrorReporter.h"
#include "Environment.h"
#include "FontSet.h"
#include "GLErrors.h"
#include "JPEGLoader.h"
#include "KeyframedActor.h"
#include "Log.h"
#include "ResourceLoader.h"
#include "SampleBank.h"
#include "SoundEngine.h"
#include "XMLSceneLoader.h"
#include "XMLTimeline.h"
#include "lwloader/LWLoader.h"
#include "lwloader/LWLoaderException.h"

namespace {
// The folder every input is written to, made once per process and the resource folder while a
// target runs.
const std::string& inputFolder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/kelvo-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made)
            throw std::runtime_error("runFuzzTarget: no folder for the inputs");
        return std::string(made) + "/";
    }();
    return folder;
}

// The scene one input is read into, freed with everything it holds when the input is done.
class ThrowawayScene {
public:
    ThrowawayScene() : scene(new Environment()) { scene->setName("fuzz"); }
    ThrowawayScene(const ThrowawayScene&) = delete;
    ThrowawayScene& operator=(const ThrowawayScene&) = delete;

    Environment& operator*() const { return *scene; }
    Environment* operator->() const { return scene.get(); }
    Environment* get() const { return scene.get(); }

    // The first frame of the scene, as the program draws it when the scene becomes active:
    // initialise, set the view, render at time 0. Vertex normals are computed when a mesh's display
    // list compiles and keyframers place their objects at the first render, so a slow or faulty
    // path there shows here and not at the load. A scene that names no camera is seen through its
    // first one, and one without cameras through an HPB camera made here (at the origin, looking
    // down -z). GL errors the frame leaves are taken, so the next input starts clean.
    void drawFirstFrame(FuzzOutcome& outcome)
    {
        CameraController& cameras = scene->getCameraController();
        if (!cameras.exists(cameras.getCurrentCameraName())) {
            if (cameras.size() == 0)
                cameras.createHpbCamera("fuzz");
            cameras.setNextCamera();
        }
        scene->initialize();
        scene->setViewState();
        scene->render(0.0);
        clearPendingGLErrors();
        outcome.drawn = true;
    }

private:
    std::unique_ptr<Environment> scene;
};

void writeInput(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("runFuzzTarget: cannot write " + path);
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written)
        throw std::runtime_error("runFuzzTarget: cannot write " + path);
}

// The reader's own exceptions end in a refusal; every other passes through.
template <typename Read> bool refuseOwn(FuzzOutcome& outcome, Read read)
{
    try {
        read();
        outcome.loaded = true;
    } catch (const LWLoaderException& e) {
        outcome.refusal = e.getMessage();
    } catch (const _3dsLoaderException& e) {
        outcome.refusal = e.getMessage();
    } catch (const JPEGLoaderException& e) {
        outcome.refusal = e.getMessage();
    } catch (const XMLParserException& e) {
        outcome.refusal = e.getMessage();
    } catch (const ComponentAlreadyExistsException& e) {
        // A scene file may name two objects alike; the factory refuses the second.
        outcome.refusal = e.getMessage();
    }
    return outcome.loaded;
}

// The object is read into an actor of the scene, as the scene's "loadLWO" does, and put on stage
// unkeyed, as a scene file's object node does, so that the frame draws it.
void readLwo(FuzzOutcome& outcome, const std::string& file)
{
    ThrowawayScene scene;
    Actor* actor = scene->getActors().create(file, scene.get());
    if (!refuseOwn(outcome, [&] {
            LWLoader loader(actor, scene.get());
            loader.loadObject(file);
            loader.fillObject(actor);
        }))
        return;
    auto keyed = std::make_unique<KeyframedActor>();
    keyed->setName("Keyframed " + file);
    keyed->setActor(actor);
    const std::string name = keyed->getName();
    scene->getKeyframedActors().store(name, std::move(keyed));
    scene.drawFirstFrame(outcome);
}

void read3ds(FuzzOutcome& outcome, const std::string& file)
{
    ThrowawayScene scene;
    if (refuseOwn(outcome, [&] {
            _3dsLoader loader;
            loader.load(file, scene.get());
        }))
        scene.drawFirstFrame(outcome);
}

// A picture decoded as a texture's colour and as an alpha companion's grey.
void readJpeg(FuzzOutcome& outcome, const std::string& file)
{
    FuzzOutcome colour, alpha;
    refuseOwn(colour, [&] { JPEGLoader loader(file, false); });
    refuseOwn(alpha, [&] { JPEGLoader loader(file, true); });
    outcome.loaded = colour.loaded && alpha.loaded;
    outcome.refusal = colour.refusal.empty() ? alpha.refusal : colour.refusal;
}

void readTimeline(FuzzOutcome& outcome, const std::string& file)
{
    refuseOwn(outcome, [&] {
        XMLTimeline timeline;
        timeline.load(file);
    });
}

void readScene(FuzzOutcome& outcome, const std::string& file)
{
    ThrowawayScene scene;
    if (refuseOwn(outcome, [&] {
            XMLSceneLoader loader(scene.get());
            loader.load(file);
        }))
        scene.drawFirstFrame(outcome);
}

// A sound file read as a bank's voice sample and as music. Neither reader throws for a file it
// cannot take: each logs an error naming the file and why, which is the refusal here. The log's
// capture stream is borrowed for the read (no test captures around a fuzz target's run).
void readWav(FuzzOutcome& outcome, const std::string& folder, const std::string& file, const uint8_t* data,
             size_t size)
{
    writeInput(folder + "input1.wav", data, size);
    std::ostringstream lines;
    Log* log = Log::getInstance();
    const int errors = Log::getErrorCount();
    log->setCaptureStream(&lines);
    SoundEngine* engine = SoundEngine::getInstance();
    {
        SampleBank bank(engine);
        bank.loadSamples("input", "wav");
    }
    engine->load(file);
    log->setCaptureStream(nullptr);
    outcome.loaded = Log::getErrorCount() == errors;
    if (!outcome.loaded)
        outcome.refusal = lines.str();
}

// A font set is drawn only through the 3D texts that use its glyph pictures, which an input cannot
// carry: the frame is that of the scene holding the font set.
void readFontSet(FuzzOutcome& outcome, const std::string& path)
{
    ThrowawayScene scene;
    FontSet set(scene.get());
    if (refuseOwn(outcome, [&] { set.load(path); }))
        scene.drawFirstFrame(outcome);
}
}

const std::vector<std::string>& fuzzTargets()
{
    static const std::vector<std::string> targets = {"lwo", "3ds", "jpeg", "timeline", "scene", "fontset", "wav"};
    return targets;
}

std::string fuzzExtension(const std::string& target)
{
    if (target == "lwo" || target == "3ds")
        return "." + target;
    if (target == "jpeg")
        return ".jpg";
    if (target == "wav")
        return ".wav";
    return ".xml";
}

int openDescriptors()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir))
            ++count;
        closedir(dir);
    }
    return count;
}

FuzzOutcome runFuzzTarget(const std::string& target, const uint8_t* data, size_t size)
{
    const std::string folder = inputFolder();
    const std::string file = "input" + fuzzExtension(target);
    writeInput(folder + file, data, size);
    ResourceLoader::setResourcePath(folder);
    const int descriptors = openDescriptors();

    FuzzOutcome outcome;
    if (target == "lwo")
        readLwo(outcome, file);
    else if (target == "3ds")
        read3ds(outcome, file);
    else if (target == "jpeg")
        readJpeg(outcome, file);
    else if (target == "timeline")
        readTimeline(outcome, file);
    else if (target == "scene")
        readScene(outcome, file);
    else if (target == "wav")
        readWav(outcome, folder, file, data, size);
    else if (target == "fontset")
        readFontSet(outcome, folder + file);  // font sets are named from the working folder
    else
        throw std::invalid_argument("runFuzzTarget: no target \"" + target + "\"");

    outcome.released = openDescriptors() == descriptors;
    ResourceLoader::setResourcePath("");
    return outcome;
}
