#ifndef KELVO_3DSLOADEREXCEPTION_H
#define KELVO_3DSLOADEREXCEPTION_H

#include <string>

#include "Exception.h"

// Failure of a 3D Studio scene load: "KelvoEngineException::" "::3dsLoaderException::" <text>.
class _3dsLoaderException : public Exception {
public:
    explicit _3dsLoaderException(const std::string& message);
    ~_3dsLoaderException() override;
};

#endif
