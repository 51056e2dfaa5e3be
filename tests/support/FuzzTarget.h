#ifndef KELVO_FUZZTARGET_H
#define KELVO_FUZZTARGET_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One reader run on one input, as the fuzz harnesses and the corpus replay do it: the bytes are
// written to a file in a private folder, the reader reads it into a scene made for this input
// alone, a scene that loads is drawn once (its first frame, in the current OpenGL context), and
// the scene and all it holds are freed afterwards.
struct FuzzOutcome {
    bool loaded = false;   // the reader accepted the file
    std::string refusal;   // the reader's own exception message when it did not
    bool released = true;  // no file descriptor was left open by the read
    bool drawn = false;    // the scene it loaded into drew its first frame (lwo, 3ds, scene, fontset)
};

// The targets: "lwo", "3ds", "jpeg", "timeline", "scene", "fontset", "wav".
const std::vector<std::string>& fuzzTargets();
// The extension an input of the target is written with (".lwo", ".xml", ...).
std::string fuzzExtension(const std::string& target);

// Any exception other than the reader's own passes through: for a harness that is a finding.
// Throws std::invalid_argument for an unknown target.
FuzzOutcome runFuzzTarget(const std::string& target, const uint8_t* data, size_t size);

// The file descriptors this process holds open, counted from /proc/self/fd.
int openDescriptors();

#endif
