#ifndef KELVO_RESOURCEFILE_H
#define KELVO_RESOURCEFILE_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// One data file opened for reading through the resource loader and held while the object lives:
// released again on every way out of the reader's scope, exceptions included, so the same file
// loads again from its start.
class ResourceFile {
public:
    // Opens name through ResourceLoader::readResourceFile; its ResourceLoaderException passes on.
    explicit ResourceFile(const std::string& name);
    // The same without the exception for a file that cannot be opened: then not open, and
    // failure holds the message readResourceFile would throw.
    ResourceFile(const std::string& name, std::string& failure);
    // The file at path as it stands (not joined to the resource folder, not kept in the loader),
    // opened by the loader's one checked open and closed again by this object: not open when
    // path names no regular file that can be read; errno then says why (EINVAL: not a regular file).
    static ResourceFile atPath(const std::string& path);
    // Releases the file through the resource loader, or closes a file opened at a path.
    ~ResourceFile();
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;

    // Appends everything from the file's current position to its end to bytes, which grow with
    // what is actually read, never with a size taken from the file's contents. False when
    // reading fails; errno then says why.
    bool readToEnd(std::vector<uint8_t>& bytes);
    bool isOpen() const { return file != nullptr; }

private:
    ResourceFile(const std::string& path, std::FILE* file);

    std::string name;  // as given to the resource loader, which owns the open file
    std::FILE* file;   // null when opening failed
    bool atPathOnly = false;  // opened by atPath: owned here, not by the resource loader
};

#endif
