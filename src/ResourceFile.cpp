#include "ResourceFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "ResourceLoader.h"

ResourceFile::ResourceFile(const std::string& name)
    : name(name), file(ResourceLoader::getInstance()->readResourceFile(name))
{
}

ResourceFile::ResourceFile(const std::string& name, std::string& failure)
    : name(name), file(ResourceLoader::getInstance()->tryReadResourceFile(name, failure))
{
}

ResourceFile::ResourceFile(const std::string& path, std::FILE* file) : name(path), file(file), atPathOnly(true) {}

ResourceFile ResourceFile::atPath(const std::string& path)
{
    return ResourceFile(path, ResourceLoader::openFileAt(path));
}

ResourceFile::~ResourceFile()
{
    if (!file)
        return;
    if (atPathOnly) {
        std::fclose(file);
        return;
    }
    try {
        ResourceLoader::getInstance()->releaseResourceFile(name);
    } catch (const Exception&) {
        // Logged by the resource loader: someone else released the file under this name already.
    }
}

bool ResourceFile::readToEnd(std::vector<uint8_t>& bytes)
{
    // The loader opens files to read unbuffered, so the stream holds nothing that the descriptor
    // has not given yet, and reading the descriptor itself keeps the two in step.
    const int descriptor = fileno(file);
    uint8_t block[65536];
    bool sized = false;
    for (;;) {
        const ssize_t got = read(descriptor, block, sizeof block);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        if (!sized && static_cast<size_t>(got) == sizeof block) {
            // A file of more than a block: room for what the system says is left, so that the
            // blocks are not copied again as bytes grows. Only a hint: reading still goes on to
            // the real end. A smaller file is spared the two system calls.
            sized = true;
            struct stat status;
            const off_t at = lseek(descriptor, 0, SEEK_CUR);
            if (at >= 0 && fstat(descriptor, &status) == 0 && status.st_size > at)
                bytes.reserve(bytes.size() + static_cast<size_t>(got) + static_cast<size_t>(status.st_size - at));
        }
        // Less than was asked is not the end: a network or user-space file system, or a signal,
        // may give a short block in the middle. Only a read that gives nothing is.
        bytes.insert(bytes.end(), block, block + got);
    }
}
