#ifndef KELVO_LWLOADEREXCEPTION_H
#define KELVO_LWLOADEREXCEPTION_H

#include <string>

#include "Exception.h"

// Failure of an LWO2 object load. The message names the given source in the place of a class
// name: "KelvoEngineException::" "::" <source> "::" <text>.
class LWLoaderException : public Exception {
public:
    // The codes the loader throws with, and the texts they stand for.
    static constexpr int noError = -5;             // "NO ERROR!?"
    static constexpr int fileNotFound = -4;        // "File not found."
    static constexpr int unknownFileFormat = -3;   // "Unknown file format."
    static constexpr int corruptedFile = -2;       // "Corrupted file."

    LWLoaderException(const std::string& source, int code);  // any other code: "INVALID MESSAGE!"
    LWLoaderException(const std::string& source, const std::string& message);
    ~LWLoaderException() override;
};

#endif
