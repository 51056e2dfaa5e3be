#include "FilePath.h"

FilePath::FilePath(const std::string& path) : path(path)
{
}

FilePath::FilePath(const char* path) : path(path)
{
}

std::string FilePath::getFileName() const
{
    std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FilePath::getDirectory() const
{
    std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
