#include "StringUtil.h"

#include <cstdio>

std::string toString(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%i", value);
    return buffer;
}

std::string toString(double value)
{
    char buffer[32];
    int length = std::snprintf(buffer, sizeof buffer, "%.2f", value);
    if (length >= 0 && static_cast<size_t>(length) < sizeof buffer)
        return buffer;
    // Magnitudes from 1e27 on need more room than the everyday buffer; format them whole.
    std::string text(static_cast<size_t>(length), '\0');
    std::snprintf(&text[0], text.size() + 1, "%.2f", value);
    return text;
}

namespace {
std::string lengthNote(const std::string& value)
{
    return " (" + std::to_string(value.size()) + " characters)";
}
}

std::string quoted(const std::string& value)
{
    if (value.size() <= QUOTED_LENGTH)
        return "\"" + value + "\"";
    return "\"" + value.substr(0, QUOTED_LENGTH) + "...\"" + lengthNote(value);
}

std::string clipped(const std::string& value)
{
    if (value.size() <= QUOTED_LENGTH)
        return value;
    return value.substr(0, QUOTED_LENGTH) + "..." + lengthNote(value);
}
