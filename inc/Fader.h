#ifndef KELVO_FADER_H
#define KELVO_FADER_H

#include <string>

#include "Action.inl"
#include "CommonObject.h"
#include "Exception.h"

class FaderException : public Exception {
public:
    explicit FaderException(const std::string& message);
};

// Covers the whole window with one colour whose alpha moves linearly from startAlpha at startTime
// to endAlpha at startTime + duration (times as the scene passes them to render), and holds
// endAlpha after that. A finished fade to alpha 0 switches itself off until "enable". Its scene draws it after everything else.
class Fader : public CommonObject, public Action<Fader> {
public:
    Fader(float red, float green, float blue, float startAlpha, float endAlpha, float startTime, float duration);
    ~Fader() override;

    // Draws the quad at time (playback seconds) with the ramp's alpha (endAlpha once the ramp is over), untextured, unlit
    // and without depth test; leaves every matrix, texturing, lighting, the depth test and the
    // blend function as the scene set them, and blending off.
    void render(double time) override;

    void enable();
    void disable();
    void setStartTime(float seconds);
    void setDuration(float seconds);
    void setStartAlpha(float alpha);
    void setEndAlpha(float alpha);
    // "#rrggbb" or "#rrggbbaa"; the text's alpha is ignored. Throws FaderException.
    void setColor(std::string text);
    void setColor(float red, float green, float blue);

    bool isEnabled() const { return enabled; }
    float getRed() const { return red; }
    float getGreen() const { return green; }
    float getBlue() const { return blue; }
    float getStartAlpha() const { return startAlpha; }
    float getEndAlpha() const { return endAlpha; }
    float getStartTime() const { return startTime; }
    float getDuration() const { return duration; }
    float getAlphaSpan() const { return alphaSpan; }
    // The alpha of the last render that drew.
    float getCurrentAlpha() const { return currentAlpha; }

private:
    float red, green, blue;
    float startAlpha;
    float endAlpha;
    float startTime;
    float duration;
    float currentAlpha;
    float alphaSpan;  // endAlpha - startAlpha
    bool enabled;
};

#endif
