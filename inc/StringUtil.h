#ifndef KELVO_STRINGUTIL_H
#define KELVO_STRINGUTIL_H

#include <cstddef>
#include <string>

// The text of "%i".
std::string toString(int value);
// The text of "%.2f", whole for any double.
std::string toString(double value);

// A value taken from a file (a parameter, an action name, a file name), for a log line or an
// exception message, so that a huge attribute costs a line no more than a short one: in double
// quotes, whole when it has at most QUOTED_LENGTH characters, else its first QUOTED_LENGTH
// characters and "..." and then how long the whole was: "abc..." (52428800 characters).
const std::size_t QUOTED_LENGTH = 200;
std::string quoted(const std::string& value);
// The same without the quotes, for the lines that show a value bare: abc... (52428800 characters).
std::string clipped(const std::string& value);

#endif
