#ifndef KELVO_FILEPATH_H
#define KELVO_FILEPATH_H

#include <string>

// A '/'-separated path split into its folder part and its file part.
class FilePath {
public:
    explicit FilePath(const std::string& path);
    explicit FilePath(const char* path);

    std::string getFileName() const;   // after the last '/', or the whole path
    std::string getDirectory() const;  // up to and including the last '/', or ""

private:
    std::string path;
};

#endif
