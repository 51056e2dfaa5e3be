#ifndef KELVO_UNREADABLEFILES_H
#define KELVO_UNREADABLEFILES_H

#include <string>
#include <vector>

// Names under a folder that a reader must refuse without reading anything: a missing file, a
// folder and a named pipe (opening a pipe waits for a writer that never comes), each with the
// reason the readers' messages give for it.
struct UnreadableFile {
    std::string name;    // relative to the folder, as a data file names it
    std::string path;    // folder + name, as the readers' messages show it
    std::string reason;  // "File \"<path>\": <reason>."
};

// Makes the folder and the pipe under folder (relative to the working directory, ending in '/'
// unless empty) and gives the three names.
std::vector<UnreadableFile> makeUnreadableFiles(const std::string& folder);

#endif
