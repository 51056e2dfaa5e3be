#include "ResourceLoader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "Log.h"
#include "ResourceFile.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

ResourceLoader* ResourceLoader::instance = nullptr;
std::string ResourceLoader::resourcePath;

namespace {
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

// The entries of folder whose names equal name ignoring case, sorted; false when the folder cannot
// be read.
bool matchesIgnoringCase(const std::string& folder, const std::string& name, std::vector<std::string>& matches)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    while (const dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0)
            matches.push_back(entry->d_name);
    }
    closedir(dir);
    std::sort(matches.begin(), matches.end());
    return true;
}

// The one entry of folder that matches name ignoring case; "" when there is none, or several (then
// with a warning naming them, for the path asked for). folderRead tells whether folder could be
// read at all.
std::string onlyMatchIgnoringCase(const std::string& folder, const std::string& name, const std::string& path,
                                  bool* folderRead = nullptr)
{
    std::vector<std::string> matches;
    const bool read = matchesIgnoringCase(folder, name, matches);
    if (folderRead)
        *folderRead = read;
    if (matches.size() > 1) {
        std::string names;
        for (const std::string& match : matches)
            names += (names.empty() ? "\"" : ", \"") + folder + match + "\"";
        KELVO_LOG(LogLevel::warning) << "resolveCase() - \"" << path
                                     << "\" does not exist and several files match it ignoring case: " << names
                                     << ". None of them is used." << logEnd;
    }
    return matches.size() == 1 ? matches.front() : std::string();
}

// Files made on systems that ignore case name each other in any case. Each part of a path that
// names nothing (the caller found that the path itself does not exist) is replaced by the one entry
// of its folder that matches it ignoring case; when there is none, or several, the path stays as it
// was given.
std::string resolveMissingCase(const std::string& path)
{
    // Mostly only the file is missing from a folder that exists: one look through that folder.
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string leaf = path.substr(folder.size());
    if (!leaf.empty() && leaf != "." && leaf != "..") {
        bool folderRead = false;
        const std::string match = onlyMatchIgnoringCase(folder, leaf, path, &folderRead);
        if (folderRead)
            return match.empty() ? path : folder + match;
    }
    std::string resolved;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        std::string candidate = resolved + part;
        if (!part.empty() && part != "." && part != ".." && !exists(candidate)) {
            const std::string match = onlyMatchIgnoringCase(resolved, part, path);
            if (match.empty())
                return path;
            candidate = resolved + match;
        }
        resolved = candidate;
        if (end == path.size())
            break;
        resolved += '/';
        start = end + 1;
    }
    return resolved;
}

std::string resolveCase(const std::string& path)
{
    return path.empty() || exists(path) ? path : resolveMissingCase(path);
}

// Tells which file stands for a path that names nothing, when the one matching it ignoring case
// is used. Only where a file is used: a probe for a file says nothing.
void noteCaseMatch(const std::string& operation, const std::string& asked, const std::string& used)
{
    if (used != asked)
        KELVO_LOG(LogLevel::info) << operation << "() - \"" << asked << "\" does not exist; \"" << used
                                  << "\", whose name matches it ignoring case, is used instead." << logEnd;
}

// The path of a file to read, and whether it names a regular file: the exact path when anything is
// there, else its match ignoring case. One stat for a file that exists, as every data file is
// opened this way.
std::string findForReading(const std::string& path, bool& regular)
{
    struct stat status;
    if (path.empty()) {
        regular = false;
        return path;
    }
    if (stat(path.c_str(), &status) == 0) {
        regular = S_ISREG(status.st_mode);
        return path;
    }
    const std::string resolved = resolveMissingCase(path);
    regular = resolved != path && stat(resolved.c_str(), &status) == 0 && S_ISREG(status.st_mode);
    return resolved;
}

// The descriptor of the regular file at path opened for reading, or -1. Not blocking, so that a
// named pipe put there after it was asked does not wait for a writer; the type is checked again
// once it is open. The readers take whole files in large blocks straight from the descriptor.
int openRegularFile(const std::string& path)
{
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return -1;
    struct stat status;
    if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode))
        return descriptor;
    close(descriptor);
    // Tells the callers that something other than a regular file is there.
    errno = EINVAL;
    return -1;
}
}

ResourceLoaderException::ResourceLoaderException(const std::string& message)
{
    addSource("ResourceLoaderException");
    appendMessage(message);
}

ResourceLoader::ResourceLoader() = default;

ResourceLoader::~ResourceLoader() = default;

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

Result<ResourceFile> ResourceLoader::readResourceFile(const std::string& name)
{
    const std::string asked = joinedPath(name);
    bool regular = false;
    const std::string path = findForReading(asked, regular);
    const int descriptor = regular ? openRegularFile(path) : -1;
    if (descriptor < 0) {
        std::string message = "readResourceFile() - Can't open file \"" + path + "\". Failed to access the file.";
        KELVO_LOG(LogLevel::error) << message << logEnd;
        return Failure{std::move(message)};
    }
    noteCaseMatch("readResourceFile", asked, path);
    return ResourceFile(descriptor);
}

int ResourceLoader::openFileAt(const std::string& path)
{
    return openRegularFile(path);
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
    noteCaseMatch("getResourceFilename", joinedPath(name), path);
    return path;
}

std::string ResourceLoader::whyUnreadable(const std::string& path)
{
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        return reasonOf(errno);
    if (!S_ISREG(status.st_mode))
        return "not a regular file";
    // Opened the one checked way, so that a pipe put there since the stat is not waited on.
    const int descriptor = openRegularFile(path);
    if (descriptor < 0)
        // EINVAL: replaced by something other than a regular file since it was asked.
        return errno == EINVAL ? "not a regular file" : reasonOf(errno);
    close(descriptor);
    return std::string();
}

std::string ResourceLoader::describeUnreadable(const std::string& path)
{
    const std::string reason = whyUnreadable(path);
    return reason.empty() ? reason : "File \"" + path + "\": " + reason + ".";
}
