#include "ResourceFile.h"

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
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes.insert(bytes.end(), block, block + got);
    return !std::ferror(file);
}
