#include "ResourceLoader.h"

#include <algorithm>
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
    FILE* file = std::fopen(path.c_str(), mode);
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
    FILE* file = std::fopen(joinedPath(name).c_str(), "rb");
    if (!file)
        return false;
    bool regular = isRegularFile(file);
    std::fclose(file);
    return regular;
}

std::string ResourceLoader::getResourceFilename(const std::string& name)
{
    std::string path = joinedPath(name);
    if (!resourceExists(name))
        throw ResourceLoaderException("getResourceFilename() - File \"" + path + "\" is not a valid resource!");
    return path;
}
