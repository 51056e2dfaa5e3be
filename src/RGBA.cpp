#include "RGBA.h"

#include <cctype>

InvalidColorFormatException::InvalidColorFormatException(const std::string& message)
{
    addSource("InvalidColorFormatException");
    appendMessage(message);
}

RGBA::RGBA() : r(0.0f), g(0.0f), b(0.0f), a(1.0f)
{
}

RGBA::RGBA(float r, float g, float b, float a) : r(r), g(g), b(b), a(a)
{
}

RGBA::RGBA(const std::string& text) : RGBA()
{
    parseColorString(text);
}

float RGBA::get(int i) const
{
    switch (i) {
    case 0: return r;
    case 1: return g;
    case 2: return b;
    default: return a;
    }
}

void RGBA::set(float r, float g, float b, float a)
{
    this->r = r;
    this->g = g;
    this->b = b;
    this->a = a;
}

RGBA& RGBA::assign(float r, float g, float b, float a)
{
    set(r, g, b, a);
    return *this;
}

void RGBA::setRGB(float r, float g, float b)
{
    this->r = r;
    this->g = g;
    this->b = b;
}

void RGBA::set(int i, float value)
{
    switch (i) {
    case 0: r = value; break;
    case 1: g = value; break;
    case 2: b = value; break;
    default: a = value; break;
    }
}

namespace {
int hexDigit(char c)
{
    char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower >= '0' && lower <= '9')
        return lower - '0';
    if (lower >= 'a' && lower <= 'f')
        return lower - 'a' + 10;
    return -1;
}

// The value of the two hexadecimal digits at text[at], or -1.
int hexPair(const std::string& text, size_t at)
{
    int high = hexDigit(text[at]);
    int low = hexDigit(text[at + 1]);
    return (high < 0 || low < 0) ? -1 : high * 16 + low;
}
}

void RGBA::parseColorString(const std::string& text)
{
    if (text.size() != 7 && text.size() != 9)
        throw InvalidColorFormatException(
            "RGBA::parseColorString() - Invalid inputColor format. String too long. Use format \"#rrggbb(aa)\".");
    if (text[0] != '#')
        throw InvalidColorFormatException(
            "RGBA::parseColorString() - Invalid color format. '#' expected. Use format \"#rrggbb(aa)\".");
    static const char* const names[3] = {"red", "green", "blue"};
    int values[4] = {0, 0, 0, 255};
    for (int i = 0; i < 3; ++i) {
        values[i] = hexPair(text, 1 + 2 * i);
        if (values[i] < 0)
            throw InvalidColorFormatException(std::string("RGBA::parseColorString() - Invalid ") + names[i] +
                                              " color format. Hexadecimal numbers expected. Use format \"#rrggbb\".");
    }
    if (text.size() == 9) {
        values[3] = hexPair(text, 7);
        if (values[3] < 0)
            throw InvalidColorFormatException("RGBA::parseColorString() - Invalid alpha format. Hexadecimal numbers "
                                              "expected. Use format \"#rrggbbaa\".");
    }
    const float scale = 1.0f / 255.0f;
    set(values[0] * scale, values[1] * scale, values[2] * scale, text.size() == 9 ? values[3] * scale : 1.0f);
}
