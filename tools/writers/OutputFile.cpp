#include "OutputFile.h"

#include <filesystem>
#include <stdexcept>

void OutputFile::save(const std::string& path, const std::string& bytes)
{
    OutputFile file(path);
    file.write(bytes.data(), bytes.size());
    file.close();
}

OutputFile::OutputFile(const std::string& path) : path(path), file(nullptr)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder);
    file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        throw std::runtime_error("cannot open " + path + " for writing");
}

OutputFile::~OutputFile()
{
    if (file != nullptr)
        std::fclose(file);
}

void OutputFile::write(const void* data, size_t bytes)
{
    if (bytes > 0 && std::fwrite(data, 1, bytes, file) != bytes)
        throw std::runtime_error("cannot write " + path);
}

void OutputFile::close()
{
    const bool failed = std::ferror(file) != 0;
    const bool closeFailed = std::fclose(file) != 0;
    file = nullptr;
    if (failed || closeFailed)
        throw std::runtime_error("cannot write " + path);
}
