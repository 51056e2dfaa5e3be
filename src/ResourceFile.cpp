#include "ResourceFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "ResourceLoader.h"

ResourceFile::ResourceFile(const std::string& name)
    : ResourceFile(ResourceLoader::readResourceFile(name).orThrow<ResourceLoaderException>())
{
}

ResourceFile ResourceFile::atPath(const std::string& path)
{
    return ResourceFile(ResourceLoader::openFileAt(path));
}

ResourceFile::ResourceFile(ResourceFile&& other) noexcept : descriptor(other.descriptor)
{
    other.descriptor = -1;
}

ResourceFile::~ResourceFile()
{
    if (descriptor >= 0)
        close(descriptor);
}

bool ResourceFile::readToEnd(std::vector<uint8_t>& bytes)
{
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
