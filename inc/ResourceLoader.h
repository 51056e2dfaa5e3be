#ifndef KELVO_RESOURCELOADER_H
#define KELVO_RESOURCELOADER_H

#include <cstdio>
#include <map>
#include <string>

#include "Exception.h"

class ResourceLoaderException : public Exception {
public:
    explicit ResourceLoaderException(const std::string& message);
};

// Opens, tests and names data files relative to the one base folder (the timeline's folder).
class ResourceLoader {
public:
    // Created on the first call, never deleted during the run.
    static ResourceLoader* getInstance();

    // The base folder; names are appended to it as they are, so it ends with '/' unless empty.
    static void setResourcePath(const std::string& path);

    // The open file stays in the loader, keyed by name as given, until releaseResourceFile(name).
    // A name that is already open gives the same file, wherever earlier reading left it.
    FILE* readResourceFile(const std::string& name);
    // The same without the exception for a file that cannot be opened: null, with the message
    // readResourceFile would throw in failure (the same line is logged).
    FILE* tryReadResourceFile(const std::string& name, std::string& failure);
    FILE* writeResourceFile(const std::string& name);
    void releaseResourceFile(const std::string& name);

    // Reading, testing and naming take the exact name first; when it names nothing, the one file
    // whose name matches it ignoring case (several such files: none, with a warning). Reading or
    // naming a file found so logs one info line with the path asked for and the file used.

    // True when the joined path names a regular file that can be opened for reading.
    static bool resourceExists(const std::string& name);
    // The joined path of an existing file, for readers that open files themselves; otherwise
    // throws, naming the path and the reason.
    static std::string getResourceFilename(const std::string& name);
    // The path a name is looked up at.
    static std::string joinedPath(const std::string& name);

    // The one checked open of every data file read: the regular file at path (taken as it is, not
    // joined, not kept in the loader) opened for reading without blocking, so that a named pipe or
    // a device is refused at once; null otherwise, errno then says why (EINVAL: not a regular
    // file). Unbuffered. The caller owns the file and fcloses it.
    static FILE* openFileAt(const std::string& path);

    // Why the file at path (taken as it is, not joined) cannot be read as a data file: "file not
    // found", "not a regular file" (a folder, a named pipe, a device), "permission denied", or the
    // system's own words for anything rarer; "" when it can. Never blocks: what is asked is opened
    // only through openRegularFile.
    static std::string whyUnreadable(const std::string& path);
    // "File \"<path>\": <reason>." for the readers' messages about a file they cannot read; "" when
    // they can.
    static std::string describeUnreadable(const std::string& path);

    virtual ~ResourceLoader();

private:
    ResourceLoader();
    ResourceLoader(const ResourceLoader&) = delete;
    ResourceLoader& operator=(const ResourceLoader&) = delete;

    // Throws ResourceLoaderException for a file that cannot be opened, or, given failure, stores
    // its message there and returns null.
    FILE* openResourceFile(const std::string& name, const char* mode, const std::string& operation,
                           std::string* failure = nullptr);
    // The joined path, its parts that name nothing matched to existing entries ignoring case.
    static std::string resolvedPath(const std::string& name);

    static ResourceLoader* instance;
    static std::string resourcePath;

    std::map<std::string, FILE*> resources;  // open files by the name the caller gave; owned
};

#endif
