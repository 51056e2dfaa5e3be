#include "ResourceFile.h"

#include <sys/stat.h>

#include "ResourceLoader.h"

ResourceFile::ResourceFile(const std::string& name)
    : name(name), file(ResourceLoader::getInstance()->readResourceFile(name))
{
}

ResourceFile::ResourceFile(const std::string& name, std::string& failure)
    : name(name), file(ResourceLoader::getInstance()->tryReadResourceFile(name, failure))
{
}

ResourceFile::~ResourceFile()
{
    if (!file)
        return;
    try {
        ResourceLoader::getInstance()->releaseResourceFile(name);
    } catch (const Exception&) {
        // Logged by the resource loader: someone else released the file under this name already.
    }
}

bool ResourceFile::readToEnd(std::vector<uint8_t>& bytes)
{
    // Room for what the system says is left, so that the blocks are not copied again as bytes
    // grows; only a hint: reading still goes on to the real end.
    struct stat status;
    const long at = std::ftell(file);
    if (at >= 0 && fstat(fileno(file), &status) == 0 && status.st_size > at)
        bytes.reserve(bytes.size() + static_cast<size_t>(status.st_size - at));
    uint8_t block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes.insert(bytes.end(), block, block + got);
    return !std::ferror(file);
}
