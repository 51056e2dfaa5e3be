#ifndef KELVO_SAMPLEBANKREGISTRY_H
#define KELVO_SAMPLEBANKREGISTRY_H

#include <string>

class SoundEngine;

// The sound engine keeps its banks by name for the whole process, so a scene that creates banks
// under fixed names loads once per process. Tests that each need a fresh scene of that kind remove
// the banks in between: every channel is halted (a playing clip must not be freed), then the bank
// named name, if there is one, is deleted and its name freed.
void removeSampleBank(SoundEngine* engine, const std::string& name);

#endif
