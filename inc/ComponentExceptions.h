#ifndef KELVO_COMPONENTEXCEPTIONS_H
#define KELVO_COMPONENTEXCEPTIONS_H

#include <string>

#include "Exception.h"

// Failures of a named registry; source is the registry's name, so the class part reads
// "<factory name>Exception".
class ComponentNotFoundException : public Exception {
public:
    ComponentNotFoundException(const std::string& source, const std::string& message);
};

class ComponentAlreadyExistsException : public Exception {
public:
    ComponentAlreadyExistsException(const std::string& source, const std::string& message);
};

#endif
