#ifndef KELVO_RESOURCELOADER_H
#define KELVO_RESOURCELOADER_H

#include <string>

#include "Exception.h"
#include "ResourceFile.h"
#include "Result.h"

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

    // The file name names, opened for reading and owned by the ResourceFile returned; every call
    // opens it anew. A file that cannot be opened is logged as an error and fails with the message
    // of the ResourceLoaderException that ResourceFile(name) throws for it.
    static Result<ResourceFile> readResourceFile(const std::string& name);

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
    // joined) opened for reading without blocking, so that a named pipe or a device is refused at
    // once: its descriptor, which the caller owns and closes; -1 otherwise, errno then says why
    // (EINVAL: not a regular file).
    static int openFileAt(const std::string& path);

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

    // The joined path, its parts that name nothing matched to existing entries ignoring case.
    static std::string resolvedPath(const std::string& name);

    static ResourceLoader* instance;
    static std::string resourcePath;
};

#endif
