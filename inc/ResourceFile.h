#ifndef KELVO_RESOURCEFILE_H
#define KELVO_RESOURCEFILE_H

#include <cstdint>
#include <string>
#include <vector>

// One data file opened for reading, its descriptor owned by this object alone and closed when it
// goes, on every way out of the reader's scope, exceptions included. Two objects for one name are
// two descriptors: each reads the file from its start, and neither closes the other's.
class ResourceFile {
public:
    // Opens name through ResourceLoader::readResourceFile; throws its ResourceLoaderException.
    explicit ResourceFile(const std::string& name);
    // Takes descriptor (an open file, or -1 for none) to close.
    explicit ResourceFile(int descriptor) : descriptor(descriptor) {}
    // The file at path as it stands (not joined to the resource folder), opened by the loader's
    // one checked open: not open when path names no regular file that can be read; errno then says
    // why (EINVAL: not a regular file).
    static ResourceFile atPath(const std::string& path);
    ~ResourceFile();
    ResourceFile(ResourceFile&& other) noexcept;
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;
    ResourceFile& operator=(ResourceFile&&) = delete;

    // Appends everything from the file's current position to its end to bytes, which grow with
    // what is actually read, never with a size taken from the file's contents. False when
    // reading fails; errno then says why.
    bool readToEnd(std::vector<uint8_t>& bytes);
    bool isOpen() const { return descriptor >= 0; }

private:
    int descriptor;  // -1 when none was opened, or after a move
};

#endif
