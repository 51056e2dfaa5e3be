#include "Fader.h"

#include <GL/gl.h>

#include "GLMatrixScope.h"
#include "RGBA.h"

FaderException::FaderException(const std::string& message)
{
    addSource("FaderException");
    appendMessage(message);
}

Fader::Fader(float red, float green, float blue, float startAlpha, float endAlpha, float startTime, float duration)
    : red(red), green(green), blue(blue), startAlpha(startAlpha), endAlpha(endAlpha), startTime(startTime),
      duration(duration), currentAlpha(startAlpha), alphaSpan(endAlpha - startAlpha), enabled(true)
{
    setClassName("Action<Fader>");
    addAction("enable", &Fader::enable);
    addAction("disable", &Fader::disable);
    addFloatAction("setStartTime", &Fader::setStartTime);
    addFloatAction("setDuration", &Fader::setDuration);
    addFloatAction("setStartAlpha", &Fader::setStartAlpha);
    addFloatAction("setEndAlpha", &Fader::setEndAlpha);
    addStringAction("setColor", static_cast<void (Fader::*)(std::string)>(&Fader::setColor));
}

Fader::~Fader() = default;

void Fader::enable()
{
    enabled = true;
}

void Fader::disable()
{
    enabled = false;
}

void Fader::setStartTime(float seconds)
{
    startTime = seconds;
}

void Fader::setDuration(float seconds)
{
    duration = seconds;
}

void Fader::setStartAlpha(float alpha)
{
    startAlpha = alpha;
    alphaSpan = endAlpha - alpha;
}

void Fader::setEndAlpha(float alpha)
{
    endAlpha = alpha;
    alphaSpan = alpha - startAlpha;
}

void Fader::setColor(std::string text)
{
    try {
        RGBA colour(text);
        setColor(colour.get(0), colour.get(1), colour.get(2));
    } catch (Exception& e) {
        throw FaderException(e.getMessage());
    }
}

void Fader::setColor(float red, float green, float blue)
{
    this->red = red;
    this->green = green;
    this->blue = blue;
}

void Fader::render(double time)
{
    const float endTime = startTime + duration;
    if (time > endTime && endAlpha == 0.0f)
        enabled = false;
    if (time < startTime || !enabled)
        return;

    // After its span (and from the start, for a fade of no length) the fade holds its end alpha
    // instead of ramping on past it: a fade to 0.5 stays half covered.
    if (time >= endTime)
        currentAlpha = endAlpha;
    else
        currentAlpha = static_cast<float>((time - startTime) / duration * alphaSpan + startAlpha);

    // The modelview scope ends last: its mode is the one left selected.
    const GLMatrixScope modelview(GL_MODELVIEW);
    const GLMatrixScope projection(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    // Untextured, whatever texture the scene's last object left bound; unlit and over everything,
    // so that in a lit 3D scene the quad still has the fader's own colour and alpha and no
    // object nearer than the quad's depth shows through. The state is restored.
    const GLboolean texturing = glIsEnabled(GL_TEXTURE_2D);
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    const GLboolean depthTested = glIsEnabled(GL_DEPTH_TEST);
    if (texturing)
        glDisable(GL_TEXTURE_2D);
    if (lit)
        glDisable(GL_LIGHTING);
    if (depthTested)
        glDisable(GL_DEPTH_TEST);

    glColor4f(red, green, blue, currentAlpha);
    glBegin(GL_QUADS);
    glVertex3f(-1.0f, 1.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glEnd();

    if (texturing)
        glEnable(GL_TEXTURE_2D);
    if (lit)
        glEnable(GL_LIGHTING);
    if (depthTested)
        glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}
