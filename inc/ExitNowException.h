#ifndef KELVO_EXITNOWEXCEPTION_H
#define KELVO_EXITNOWEXCEPTION_H

#include <string>

#include "Exception.h"

// The request to end the show in order, raised by the "exit" action. Everything between the action
// and the frame loop passes it on unchanged; catch it before Exception wherever both are caught.
class ExitNowException : public Exception {
public:
    explicit ExitNowException(const std::string& message);
};

#endif
