#ifndef KELVO_STRINGUTIL_H
#define KELVO_STRINGUTIL_H

#include <string>

// The text of "%i".
std::string toString(int value);
// The text of "%.2f", whole for any double.
std::string toString(double value);

#endif
