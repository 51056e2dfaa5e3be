#ifndef KELVO_TRANSCODEDSTRING_H
#define KELVO_TRANSCODEDSTRING_H

#include <string>

#include <xercesc/util/XercesDefs.hpp>

// A parser string (UTF-16) as ISO-8859-1 text, one byte a character, whatever the process locale.
// Characters outside ISO-8859-1 become '?'; a null string gives the empty text.
class TranscodedString {
public:
    explicit TranscodedString(const XMLCh* text);
    TranscodedString(const TranscodedString&) = delete;
    TranscodedString& operator=(const TranscodedString&) = delete;

    const char* c_str() const { return text.c_str(); }

private:
    std::string text;
};

#endif
