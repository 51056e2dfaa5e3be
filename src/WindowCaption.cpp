#include "WindowCaption.h"

#include <SDL/SDL.h>

#include <cstdio>
#include <cstring>

namespace {
// Room for the rate and time parts: " [fps " and " [time " with "]", and a float's "%.2f" (at
// most 48 characters with its sign) twice.
const std::size_t NUMBER_PARTS = 128;
}

WindowCaption::WindowCaption() : rate{}
{
    setTitle("");
}

void WindowCaption::setTitle(const std::string& title)
{
    this->title = title;
    rate[0] = '\0';
    text.assign(title.size() + NUMBER_PARTS, '\0');
    shown.assign(text.size(), '\0');
}

void WindowCaption::setFrameRate(float rate)
{
    std::snprintf(this->rate, sizeof this->rate, " [fps %.2f]", static_cast<double>(rate));
}

void WindowCaption::show(float time)
{
    std::snprintf(text.data(), text.size(), "%s%s [time %.2f]", title.c_str(), rate, static_cast<double>(time));
    if (std::strcmp(text.data(), shown.data()) == 0)
        return;
    std::memcpy(shown.data(), text.data(), text.size());
    SDL_WM_SetCaption(text.data(), nullptr);
}
