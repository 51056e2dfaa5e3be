#include "ResourceLoader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

ResourceLoader* ResourceLoader::instance = nullptr;
std::string ResourceLoader::resourcePath;

namespace {
// fopen happily opens a folder for reading here, so the type of the opened file is checked too.
bool isRegularFile(FILE* file)
{
    struct stat status;
    return fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode);
}

// Asked before anything is opened: opening a named pipe waits for a writer that may never come.
bool namesRegularFile(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string reasonOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "file not found";
    case EACCES:
        return "permission denied";
    default:
        return std::strerror(error);
    }
}
}

ResourceLoaderException::ResourceLoaderException(const std::string& message)
{
    addSource("ResourceLoaderException");
    appendMessage(message);
}

ResourceLoader::ResourceLoader() = default;

ResourceLoader::~ResourceLoader()
{
    for (auto& entry : resources) {
        if (entry.first.empty() || !entry.second)
            continue;
        KELVO_LOG(0) << "Destructor - Freeing resources for \"" << entry.first
                     << "\". This shouldn't be done here!" << logEnd;
        std::fclose(entry.second);
    }
}

ResourceLoader* ResourceLoader::getInstance()
{
    if (!instance)
        instance = new ResourceLoader();
    return instance;
}

void ResourceLoader::setResourcePath(const std::string& path)
{
    resourcePath = path;
}

// Data files written on other systems name folders with '\'; here it is '/'.
std::string ResourceLoader::joinedPath(const std::string& name)
{
    std::string path = resourcePath + name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

FILE* ResourceLoader::openResourceFile(const std::string& name, const char* mode, const std::string& operation)
{
    auto open = resources.find(name);
    if (open != resources.end())
        return open->second;

    std::string path = joinedPath(name);
    // A file to be written may not exist yet; whatever exists must be a regular file.
    struct stat status;
    const bool creatable = mode[0] == 'w' && stat(path.c_str(), &status) != 0 && errno == ENOENT;
    FILE* file = creatable || namesRegularFile(path) ? std::fopen(path.c_str(), mode) : nullptr;
    if (file && !isRegularFile(file)) {
        std::fclose(file);
        file = nullptr;
    }
    if (!file) {
        std::string message = operation + "() - Can't open file \"" + path + "\". Failed to access the file.";
        KELVO_LOG(0) << message << logEnd;
        throw ResourceLoaderException(message);
    }
    resources[name] = file;
    return file;
}

FILE* ResourceLoader::readResourceFile(const std::string& name)
{
    return openResourceFile(name, "rb", "readResourceFile");
}

FILE* ResourceLoader::writeResourceFile(const std::string& name)
{
    return openResourceFile(name, "wb", "writeResourceFile");
}

void ResourceLoader::releaseResourceFile(const std::string& name)
{
    auto open = resources.find(name);
    if (open == resources.end()) {
        std::string message =
            "releaseResourceFile() - No such allocated resource \"" + name + "\". Unable to release the resource.";
        KELVO_LOG(0) << message << logEnd;
        throw ResourceLoaderException(message);
    }
    std::fclose(open->second);
    resources.erase(open);
}

bool ResourceLoader::resourceExists(const std::string& name)
{
    return whyUnreadable(joinedPath(name)).empty();
}

std::string ResourceLoader::getResourceFilename(const std::string& name)
{
    std::string path = joinedPath(name);
    const std::string reason = whyUnreadable(path);
    if (!reason.empty())
        throw ResourceLoaderException("getResourceFilename() - File \"" + path + "\" is not a valid resource! Reason: " +
                                      reason + ".");
    return path;
}

std::string ResourceLoader::whyUnreadable(const std::string& path)
{
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        return reasonOf(errno);
    if (!S_ISREG(status.st_mode))
        return "not a regular file";
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return reasonOf(errno);
    const bool regular = isRegularFile(file);
    std::fclose(file);
    // Replaced by something else since it was asked.
    return regular ? std::string() : "not a regular file";
}

std::string ResourceLoader::describeUnreadable(const std::string& path)
{
    const std::string reason = whyUnreadable(path);
    return reason.empty() ? reason : "File \"" + path + "\": " + reason + ".";
}
