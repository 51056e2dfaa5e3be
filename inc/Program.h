#ifndef KELVO_PROGRAM_H
#define KELVO_PROGRAM_H

#include <cstddef>
#include <string>

#include <SDL/SDL.h>

#include "WindowCaption.h"

class EnvironmentController;
class Timeline;
class Timer;

// The playback program: start-up from the command line, the SDL window, the frame loop and the
// one shutdown routine every way out after the log has started goes through.
class Program {
public:
    // Exit statuses of sdlExit.
    static const int EXIT_ORDERLY = 0;
    static const int EXIT_FATAL = 1;

    Program();

    // Start-up and frame loop. Returns -1 after the help text; otherwise ends the process.
    int main(int argumentCount, char** arguments);

    // One warning for each argument the program does not know and each option value that is not
    // a number where one is read; nothing else changes, the show plays as the options say.
    void warnAboutArguments(int argumentCount, char** arguments);
    // The playback options: "--loglevel", "--debugframedraw", "--endtime", "--znear", "--zfar".
    void applyCommandline(int argumentCount, char** arguments);

    static std::string printHelp();
    void sdlInitializeVideo(bool fullscreen);
    void initOGL();
    // Deletes the controller, closes the log, quits SDL and exits with status.
    [[noreturn]] void sdlExit(int status);
    void drawFrame();
    int handleEvents();  // always 0
    void keyboardCallback(const SDL_KeyboardEvent& event);
    void windowResize(int width, int height);  // a value of 0 or less keeps the current one

    // The objects start-up builds, for a frame loop driven by someone other than main (tests).
    // Both stay owned by the caller, except that sdlExit deletes the controller.
    void attach(EnvironmentController* controller, Timeline* timeline);

    // The process-wide playback clock, reachable from the timeline as "timer".
    static Timer& getPlaybackTimer();

    // Makes the allocator serve blocks of up to 32 MB from one heap grown by at least bytes at
    // once and never trimmed, and asks the kernel to back that heap with huge pages. Start-up
    // allocates tens of MB (decoded pictures, the driver's textures and compiled shaders), and
    // on machines where a first touch of a page is dear, 4 KB pages cost more than the work.
    // True when the heap grew and was so marked; false (and nothing marked) under an allocator
    // that does not grow the heap, such as a sanitizer's.
    static bool prepareHeap(size_t bytes);

private:
    void logStartupFailure(const std::string& reason, const std::string& message);

    EnvironmentController* environmentController;  // owned; deleted by sdlExit
    Timeline* timeline;                             // owned; never deleted
    int windowWidth;   // pixels
    int windowHeight;  // pixels
    float zNear;       // clipping distances of the perspective projection
    float zFar;
    float frameStep;  // seconds per frame of the fixed-step clock; 0 selects the real-time clock
    float endTime;    // seconds; 0 or less means no end
    WindowCaption caption;  // the title with the frame rate and time of the real-time clock
    float frameCount;   // frames since lastFpsTime
    float lastFpsTime;  // seconds
    float currentTime;  // seconds: clock of the current frame
};

#endif
