#include "UnreadableFiles.h"

#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>

std::vector<UnreadableFile> makeUnreadableFiles(const std::string& folder)
{
    std::filesystem::create_directories(folder + "folder");
    if (mkfifo((folder + "pipe.xml").c_str(), 0644) != 0)
        throw std::runtime_error("makeUnreadableFiles: no named pipe at " + folder + "pipe.xml");
    std::vector<UnreadableFile> files;
    for (const auto& entry : {std::make_pair("missing.xml", "file not found"),
                              std::make_pair("folder", "not a regular file"),
                              std::make_pair("pipe.xml", "not a regular file")}) {
        const std::string path = folder + entry.first;
        files.push_back({entry.first, path, "File \"" + path + "\": " + entry.second + "."});
    }
    return files;
}
