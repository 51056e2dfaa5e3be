#ifndef KELVO_WINDOWCAPTION_H
#define KELVO_WINDOWCAPTION_H

#include <string>
#include <vector>

// The window's caption during playback: "<title> [fps <rate>] [time <seconds>]", the rate part
// only once a rate is known, numbers with two decimals. Every frame shows its time; the text is
// formatted into a buffer sized when the title is set and handed to SDL only when it differs from
// the caption shown, so a frame allocates nothing and the window system hears of a change only.
class WindowCaption {
public:
    WindowCaption();

    // Allocates; drops the rate. Called at start-up, not per frame.
    void setTitle(const std::string& title);
    // Frames per second, shown from the next show() on.
    void setFrameRate(float rate);
    // Shows the caption with the time in seconds.
    void show(float time);

private:
    std::string title;
    char rate[64];           // " [fps <rate>]" or empty; a float's "%.2f" needs at most 48 chars
    std::vector<char> text;  // the caption being made, title plus room for both numbers
    std::vector<char> shown; // the caption last handed to SDL, as large as text
};

#endif
