#include "Program.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "Camera.h"
#include "Commandline.h"
#include "Environment.h"
#include "EnvironmentController.h"
#include "ExitNowException.h"
#include "FilePath.h"
#include "Log.h"
#include "Random.h"
#include "ResourceLoader.h"
#include "SoundEngine.h"
#include "StringUtil.h"
#include "Timer.h"
#include "XMLTimeline.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
// Built before main runs; its start tick is 0 until the first reset.
Timer playbackTimer;

const char* const CAPTION_TITLE = "Vantor Vemk Kelvo - ";
const char* const NO_TIMELINE_1 = "No Timeline xml file specified. ";
const char* const NO_TIMELINE_2 = "Please give --timeline <xmlfile> ";
const char* const NO_TIMELINE_3 = "as a command line parameter. Aborting... ";

const float FIELD_OF_VIEW = 45.0f;  // degrees, vertical

// The heap prepareHeap grows at start-up: room for the show's pictures as textures, with the
// driver's own start-up allocations.
const size_t STARTUP_HEAP_BYTES = static_cast<size_t>(256) << 20;
// The largest block the allocator takes from the heap rather than from a mapping of its own
// (the most mallopt allows), and the free space at the top it keeps rather than giving back.
const int LARGEST_HEAP_BLOCK = 32 << 20;
const int KEPT_TOP_BYTES = 1 << 30;

const int KEY_TAB = 9;
const int KEY_ESCAPE = 27;

// An error text as a sentence of its own: SDL's texts mostly end without a full stop.
std::string sentence(const std::string& text)
{
    if (text.empty())
        return "No reason was given.";
    const char last = text.back();
    return last == '.' || last == '!' || last == '?' ? text : text + ".";
}
}

Program::Program()
    : environmentController(nullptr), timeline(nullptr), windowWidth(640), windowHeight(480), zNear(1.0f),
      zFar(300.0f), frameStep(0.0f), endTime(0.0f), frameCount(0.0f), lastFpsTime(0.0f), currentTime(0.0f)
{
}

Timer& Program::getPlaybackTimer()
{
    return playbackTimer;
}

void Program::attach(EnvironmentController* controller, Timeline* timeline)
{
    environmentController = controller;
    this->timeline = timeline;
    caption.setTitle(CAPTION_TITLE + timeline->getName());
}

bool Program::prepareHeap(size_t bytes)
{
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer's allocator keeps no heap of the kind marked here.
    static_cast<void>(bytes);
    return false;
#else
    if (mallopt(M_MMAP_THRESHOLD, LARGEST_HEAP_BLOCK) == 0 || mallopt(M_TRIM_THRESHOLD, KEPT_TOP_BYTES) == 0 ||
        mallopt(M_TOP_PAD, static_cast<int>(bytes)) == 0)
        return false;
    // A block larger than the free top makes the allocator grow the heap past it by the pad, so
    // from its page on bytes of heap lie ahead; freed, it returns to that top.
    const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    void* block = std::malloc(static_cast<size_t>(1) << 20);
    if (!block)
        return false;
    const uintptr_t start = reinterpret_cast<uintptr_t>(block) & ~(page - 1);
    const bool advised = madvise(reinterpret_cast<void*>(start), bytes, MADV_HUGEPAGE) == 0;
    std::free(block);
    return advised;
#endif
}

int Program::main(int argumentCount, char** arguments)
{
    prepareHeap(STARTUP_HEAP_BYTES);
    Random::seed(static_cast<unsigned int>(Timer::getSystemTime()));

    try {
        Commandline commandline(arguments, argumentCount);
        std::string value;
        if (commandline.findOption("--nologfile", value))
            Log::getInstance()->setFileOutput(false);
        Log::getInstance()->initialize();
        KELVO_LOG(LogLevel::info) << "main() - This is an Vantor Studios Vemk KelvoEngine project, built "
              << __DATE__ << ". Starting.." << logEnd;

        if (commandline.findOption("--help", value) || commandline.findOption("-h", value) ||
            commandline.findOption("-?", value) || argumentCount < 2) {
            std::string help = printHelp();
            KELVO_LOG(LogLevel::info) << "main() - Printing Command Line Help.\n" << help << logEnd;
            KELVO_LOG(LogLevel::error) << "main() - " << NO_TIMELINE_1 << NO_TIMELINE_2 << NO_TIMELINE_3
                  << logEnd;
            return -1;
        }

        warnAboutArguments(argumentCount, arguments);
        applyCommandline(argumentCount, arguments);
        sdlInitializeVideo(commandline.findOption("--fullscreen", value));
        initOGL();

        environmentController = new EnvironmentController();
        environmentController->initialize();
        // The 3D scenes set this projection again at every render.
        environmentController->setPerspective(FIELD_OF_VIEW,
                                              static_cast<float>(windowWidth) / static_cast<float>(windowHeight),
                                              zNear, zFar);
        environmentController->addChildAction(&playbackTimer, "timer");
        XMLTimeline* xmlTimeline = new XMLTimeline();
        timeline = xmlTimeline;
        timeline->setRoot(environmentController);

        std::string timelinePath;
        if (!commandline.findOption("--timeline", timelinePath)) {
            KELVO_LOG(LogLevel::error) << "main() - Error! " << NO_TIMELINE_1 << NO_TIMELINE_2
                  << NO_TIMELINE_3 << logEnd;
            sdlExit(EXIT_FATAL);
        }
        FilePath file(timelinePath);
        ResourceLoader::setResourcePath(file.getDirectory());
        xmlTimeline->load(file.getFileName());

        timeline->update(0.0f);
        playbackTimer.reset();
    } catch (ExitNowException& e) {
        // "exit" among the start actions: logged as the guard logs every start-up failure, but
        // the end of the show it asks for is an orderly one.
        logStartupFailure("main() - Initialization terminated because ", e.getMessage());
        sdlExit(EXIT_ORDERLY);
    } catch (Exception& e) {
        logStartupFailure("main() - Initialization terminated because ", e.getMessage());
        sdlExit(EXIT_FATAL);
    } catch (...) {
        KELVO_LOG(LogLevel::error) << "main() - Initialization terminated because "
              << "of an unknown exception." << logEnd;
        sdlExit(EXIT_FATAL);
    }

    caption.setTitle(CAPTION_TITLE + timeline->getName());
    KELVO_LOG(LogLevel::info) << "main() - Entering frame drawing loop.. Hit [ESC] to exit." << logEnd;
    windowResize(-1, -1);

    try {
        while (handleEvents() == 0)
            drawFrame();
    } catch (Exception& e) {
        logStartupFailure("main() - Main loop terminated because ", e.getMessage());
        sdlExit(EXIT_FATAL);
    } catch (...) {
        KELVO_LOG(LogLevel::error) << "main() - Main loop terminated because "
              << "of an unknown exception." << logEnd;
        sdlExit(EXIT_FATAL);
    }
    sdlExit(EXIT_ORDERLY);
}

void Program::logStartupFailure(const std::string& reason, const std::string& message)
{
    KELVO_LOG(LogLevel::error) << reason << "of an exception. Exception message follows. " << message
          << logEnd;
}

void Program::warnAboutArguments(int argumentCount, char** arguments)
{
    using Takes = Commandline::Takes;
    static const std::vector<Commandline::Option> OPTIONS = {
        {"--timeline", Takes::text},          {"--fullscreen", Takes::nothing}, {"--nologfile", Takes::nothing},
        {"--loglevel", Takes::wholeNumber},   {"--debugframedraw", Takes::number}, {"--endtime", Takes::number},
        {"--znear", Takes::number},           {"--zfar", Takes::number},        {"--help", Takes::nothing},
        {"-h", Takes::nothing},               {"-?", Takes::nothing},
    };
    for (const std::string& warning : Commandline(arguments, argumentCount).argumentWarnings(OPTIONS))
        KELVO_LOG(LogLevel::warning) << "main() - " << warning << logEnd;
}

void Program::applyCommandline(int argumentCount, char** arguments)
{
    Commandline commandline(arguments, argumentCount);
    std::string value;
    if (commandline.findOption("--loglevel", value)) {
        int level = commandline.getValue("--loglevel", "Logging level value (0 - errors only, 1 - warnings, 2 - "
                                                       "informative, 3 - debug, 4 - debug frame drawing)");
        if (level >= static_cast<int>(LogLevel::error) && level <= static_cast<int>(LogLevel::frame)) {
            Log::getInstance()->setLevel(static_cast<LogLevel>(level));
        } else {
            KELVO_LOG(LogLevel::warning)
                  << "main() - Unknown logging level specified. Using informative level (2)." << logEnd;
            Log::getInstance()->setLevel(LogLevel::info);
        }
    }
    if (commandline.findOption("--debugframedraw", value)) {
        // Whole seconds only: a step below 1 leaves the real-time clock selected.
        frameStep = std::trunc(
            commandline.getFloat("--debugframedraw", "Enable frame draw debugging (The parameter specifies fps)"));
        if (frameStep < 0.0f)
            frameStep = 0.0f;
    }
    if (commandline.findOption("--endtime", value))
        endTime = commandline.getFloat("--endtime", "End time for playback in secods.");
    if (commandline.findOption("--znear", value))
        zNear = commandline.getFloat("--znear", "Near clipping plane distance.");
    if (commandline.findOption("--zfar", value))
        zFar = commandline.getFloat("--zfar", "Far clipping plane distance.");
}

std::string Program::printHelp()
{
    return "Available command line options:\n\n"
           "  --timeline <path_to/timeline.xml>\n"
           "                        Engine playback XML timeline. Mandatory.\n"
           "  --fullscreen\n"
           "                        Full screen mode. Default is windowed.\n"
           "  --nologfile\n"
           "                        Disables message output to a log file.\n"
           "  --loglevel <level>\n"
           "                        Set log output level. 0 = errors, 1 = warnings,\n"
           "                        2 = info (default), 3 = debug, 4 = debug frame draw.\n"
           "  --debugframedraw <interval time>\n"
           "                        Enables non-realtime frame drawing mode. Renders fixed\n"
           "                        time frames. First frame is 0.0 secs. The interval\n"
           "                        parameter defines the increment for the next frames.\n"
           "  --endtime <time>\n"
           "                        Set end time for playback. The frame drawing loop exits\n"
           "                        when the end time is reached.\n"
           "  --znear <dist>\n"
           "  --zfar <dist>\n"
           "                        Set clipping plane distances for near and far planes.\n"
           "                        Provides possibility to optimize z-buffer functionality.\n"
           "                        Defaults: znear 1.0, zfar 300.0.\n";
}

void Program::sdlInitializeVideo(bool fullscreen)
{
    // Video first and audio on its own, so that each failure quotes its own subsystem's error.
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        KELVO_LOG(LogLevel::error) << "sdlInitializeVideo() - SDL Video initialization failed. "
                                   << sentence(SDL_GetError()) << logEnd;
        sdlExit(EXIT_FATAL);
    }
    // SDL starts its audio part without complaint when no driver opens; it then names none.
    char driverName[32];
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0 || !SDL_AudioDriverName(driverName, sizeof driverName)) {
        // Without an audio device the show still plays, silently.
        KELVO_LOG(LogLevel::warning) << "sdlInitializeVideo() - Audio initialization failed. "
                                     << sentence(SDL_GetError()) << " Playing without sound." << logEnd;
    }
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (!info) {
        KELVO_LOG(LogLevel::error) << "sdlInitializeVideo() - Video query failed. " << SDL_GetError()
              << logEnd;
        sdlExit(EXIT_FATAL);
    }
    int depth = info->vfmt->BitsPerPixel;
    int colourSize;
    int alphaSize;
    if (depth >= 24) {
        colourSize = 8;
        alphaSize = 8;
    } else if (depth >= 15) {
        colourSize = 5;
        alphaSize = 0;
    } else {
        KELVO_LOG(LogLevel::error)
              << "sdlInitializeVideo() - True color video mode  is not available. Please use a video mode with "
                 "equal or more than "
              << " 16 bits/pixel. Terminating.." << logEnd;
        sdlExit(EXIT_FATAL);
    }
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, colourSize);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, colourSize);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, colourSize);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, colourSize);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, colourSize);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, colourSize);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, alphaSize);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, alphaSize);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    Uint32 flags = SDL_OPENGL;
    if (fullscreen) {
        flags |= SDL_FULLSCREEN;
        SDL_ShowCursor(0);
    }
    if (!SDL_SetVideoMode(windowWidth, windowHeight, depth, flags)) {
        KELVO_LOG(LogLevel::error) << "sdlInitializeVideo() - Video mode set failed. " << SDL_GetError()
              << logEnd;
        sdlExit(EXIT_FATAL);
    }

    int red = 0, green = 0, blue = 0, alpha = 0, depthSize = 0;
    SDL_GL_GetAttribute(SDL_GL_RED_SIZE, &red);
    SDL_GL_GetAttribute(SDL_GL_GREEN_SIZE, &green);
    SDL_GL_GetAttribute(SDL_GL_BLUE_SIZE, &blue);
    SDL_GL_GetAttribute(SDL_GL_ALPHA_SIZE, &alpha);
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depthSize);
    KELVO_LOG(LogLevel::info) << "sdlInitializeVideo() - Frame buffer is " << toString(windowWidth) << "x"
          << toString(windowHeight) << "x" << toString(red + green + blue + alpha) << ", with "
          << toString(depthSize) << " bit depth buffer." << logEnd;
}

void Program::initOGL()
{
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_DITHER);
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_STENCIL_TEST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glFlush();
    GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        KELVO_LOG(LogLevel::error) << "initOGL() - OpenGL init failed. OpenGL error message: "
              << reinterpret_cast<const char*>(gluErrorString(error)) << ". Aborting.." << logEnd;
        sdlExit(EXIT_FATAL);
    }
}

void Program::sdlExit(int status)
{
    try {
        delete environmentController;
    } catch (...) {
        KELVO_LOG(LogLevel::warning) << "sdlExit() - Warning! Unsuccessful cleanup. Ignoring.." << logEnd;
    }
    environmentController = nullptr;
    KELVO_LOG(LogLevel::info) << Log::getInstance()->getInfo() << logEnd;
    // Created here when the show never made one, so the audio device is opened and closed.
    delete SoundEngine::getInstance();
    Log::deleteInstance();
    SDL_Quit();
    std::exit(status);
}

void Program::drawFrame()
{
    try {
        if (frameStep == 0.0f) {
            float t = playbackTimer.getTime();
            currentTime = t;
            KELVO_LOG(LogLevel::frame) << "drawFrame() - Drawing frame at " << static_cast<double>(t)
                  << " seconds." << logEnd;
            timeline->update(t);
            environmentController->render(t);

            frameCount += 1.0f;
            float d = t - lastFpsTime;
            if (d > 5.0f) {
                float rate = frameCount / d;
                lastFpsTime = t;
                frameCount = 0.0f;
                caption.setFrameRate(rate);
            }
            caption.show(t);

            if (t >= endTime && endTime > 0.0f) {
                KELVO_LOG(LogLevel::info) << "drawFrame() - End of Playback reached at "
                      << static_cast<double>(endTime) << " seconds. Exiting.." << logEnd;
                sdlExit(EXIT_ORDERLY);
            }
        } else {
            KELVO_LOG(LogLevel::frame) << "drawFrame() - Drawing frame at "
                  << static_cast<double>(currentTime) << " seconds." << logEnd;
            timeline->update(currentTime);
            environmentController->render(currentTime);
            if (currentTime >= endTime && endTime > 0.0f) {
                KELVO_LOG(LogLevel::info) << "drawFrame() - End of Playback reached at "
                      << static_cast<double>(endTime) << " seconds. Exiting.." << logEnd;
                sdlExit(EXIT_ORDERLY);
            }
            currentTime += frameStep;
        }
        SDL_GL_SwapBuffers();
    } catch (ExitNowException&) {
        KELVO_LOG(LogLevel::info) << "drawFrame() - Exit requested. Terminating.." << logEnd;
        sdlExit(EXIT_ORDERLY);
    } catch (Exception& e) {
        KELVO_LOG(LogLevel::error)
              << "drawFrame() - Exception occurred while drawing  frame. Exception message follows. "
              << e.getMessage() << logEnd;
        KELVO_LOG(LogLevel::info) << "drawFrame() - Terminating.." << logEnd;
        sdlExit(EXIT_FATAL);
    }
}

int Program::handleEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYDOWN)
            keyboardCallback(event.key);
        else if (event.type == SDL_QUIT)
            sdlExit(EXIT_ORDERLY);
    }
    return 0;
}

void Program::keyboardCallback(const SDL_KeyboardEvent& event)
{
    KELVO_LOG(LogLevel::debug) << "keyboardCallback() - Key press detected." << logEnd;
    int key = event.keysym.sym;
    if (key == KEY_ESCAPE) {
        KELVO_LOG(LogLevel::info) << "keyboardCallback() - Keyboard exit. Terminating." << logEnd;
        sdlExit(EXIT_ORDERLY);
    }
    if (key == KEY_TAB) {
        KELVO_LOG(LogLevel::debug) << "animatedCameraKeyboard() - Switching camera." << logEnd;
        try {
            Environment* scene = dynamic_cast<Environment*>(environmentController->getActiveEnvironment());
            if (scene)
                scene->getCameraController().setNextCamera();
            else
                KELVO_LOG(LogLevel::warning)
                      << "keyboardCallback() - Current environment is not camera controllable." << logEnd;
        } catch (Exception& e) {
            KELVO_LOG(LogLevel::error) << "keyboardCallback() - Unable to switch camera. " << e.what()
                  << logEnd;
        }
    }
}

void Program::windowResize(int width, int height)
{
    if (width > 0)
        windowWidth = width;
    if (height > 0)
        windowHeight = height;
    glViewport(0, 0, windowWidth, windowHeight);
    try {
        const float aspect = static_cast<float>(windowWidth) / static_cast<float>(windowHeight);
        Camera::setPerspective(FIELD_OF_VIEW, aspect, zNear, zFar);
        if (environmentController)
            environmentController->setPerspective(FIELD_OF_VIEW, aspect, zNear, zFar);
    } catch (Exception& e) {
        KELVO_LOG(LogLevel::error) << "windowResize() - Failed to resize window! "
              << "Exception message follows. " << e.getMessage() << logEnd;
        sdlExit(EXIT_FATAL);
    }
}
