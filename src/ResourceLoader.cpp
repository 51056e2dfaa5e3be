#include "ResourceLoader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

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

bool exists(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0;
}

// The entries of folder whose names equal name ignoring case.
std::vector<std::string> matchesIgnoringCase(const std::string& folder, const std::string& name)
{
    std::vector<std::string> matches;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return matches;
    while (const dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0)
            matches.push_back(entry->d_name);
    }
    closedir(dir);
    std::sort(matches.begin(), matches.end());
    return matches;
}

// Files made on systems that ignore case name each other in any case. Each part of the path that
// names nothing is replaced by the one entry of its folder that matches it ignoring case; when
// there is none, or several (then with a warning naming them), the path stays as it was given.
std::string resolveCase(const std::string& path)
{
    if (path.empty() || exists(path))
        return path;
    std::string resolved;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        std::string candidate = resolved + part;
        if (!part.empty() && part != "." && part != ".." && !exists(candidate)) {
            const std::vector<std::string> matches = matchesIgnoringCase(resolved, part);
            if (matches.size() != 1) {
                if (matches.size() > 1) {
                    std::string names;
                    for (const std::string& match : matches)
                        names += (names.empty() ? "\"" : ", \"") + resolved + match + "\"";
                    KELVO_LOG(LogLevel::warning) << "resolveCase() - \"" << path
                                 << "\" does not exist and several files match it ignoring case: " << names
                                 << ". None of them is used." << logEnd;
                }
                return path;
            }
            candidate = resolved + matches.front();
        }
        resolved = candidate;
        if (end == path.size())
            break;
        resolved += '/';
        start = end + 1;
    }
    return resolved;
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
        KELVO_LOG(LogLevel::error) << "Destructor - Freeing resources for \"" << entry.first
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

std::string ResourceLoader::resolvedPath(const std::string& name)
{
    return resolveCase(joinedPath(name));
}

FILE* ResourceLoader::openResourceFile(const std::string& name, const char* mode, const std::string& operation,
                                       std::string* failure)
{
    auto open = resources.find(name);
    if (open != resources.end())
        return open->second;

    // A file written is created under the name given, never over another whose name differs in case.
    std::string path = mode[0] == 'r' ? resolvedPath(name) : joinedPath(name);
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
        KELVO_LOG(LogLevel::error) << message << logEnd;
        if (!failure)
            throw ResourceLoaderException(message);
        *failure = message;
        return nullptr;
    }
    resources[name] = file;
    return file;
}

FILE* ResourceLoader::readResourceFile(const std::string& name)
{
    return openResourceFile(name, "rb", "readResourceFile");
}

FILE* ResourceLoader::tryReadResourceFile(const std::string& name, std::string& failure)
{
    return openResourceFile(name, "rb", "readResourceFile", &failure);
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
        KELVO_LOG(LogLevel::error) << message << logEnd;
        throw ResourceLoaderException(message);
    }
    std::fclose(open->second);
    resources.erase(open);
}

bool ResourceLoader::resourceExists(const std::string& name)
{
    return whyUnreadable(resolvedPath(name)).empty();
}

std::string ResourceLoader::getResourceFilename(const std::string& name)
{
    std::string path = resolvedPath(name);
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
