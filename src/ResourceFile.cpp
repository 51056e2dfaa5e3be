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
    uint8_t block[65536];
    size_t got;
    bool sized = false;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        if (!sized && got == sizeof block) {
            // A file of more than a block: room for what the system says is left, so that the
            // blocks are not copied again as bytes grows. Only a hint: reading still goes on to
            // the real end. A smaller file is spared the two system calls.
            sized = true;
            struct stat status;
            const long at = std::ftell(file);
            if (at >= 0 && fstat(fileno(file), &status) == 0 && status.st_size > at)
                bytes.reserve(bytes.size() + got + static_cast<size_t>(status.st_size - at));
        }
        bytes.insert(bytes.end(), block, block + got);
        // A short block that met the end: asking again would only hear the end once more.
        if (got < sizeof block && std::feof(file))
            break;
    }
    return !std::ferror(file);
}
