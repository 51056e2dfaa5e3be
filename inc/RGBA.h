#ifndef KELVO_RGBA_H
#define KELVO_RGBA_H

#include <string>

#include "Exception.h"

class InvalidColorFormatException : public Exception {
public:
    explicit InvalidColorFormatException(const std::string& message);
};

// A colour as OpenGL takes it: four consecutive floats, usually 0..1, never clamped.
class RGBA {
public:
    RGBA();
    RGBA(float r, float g, float b, float a);
    explicit RGBA(const std::string& text);  // "#rrggbb" or "#rrggbbaa"

    float get(int i) const;
    void set(float r, float g, float b, float a);
    RGBA& assign(float r, float g, float b, float a);
    void setRGB(float r, float g, float b);
    void set(int i, float value);
    void parseColorString(const std::string& text);

    const float* data() const { return &r; }

    float r, g, b, a;
};

#endif
