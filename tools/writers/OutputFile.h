#ifndef KELVO_OUTPUTFILE_H
#define KELVO_OUTPUTFILE_H

#include <cstddef>
#include <cstdio>
#include <string>

// A binary file opened for writing, its folders created first. close() reports a failed write;
// the destructor closes a file that is still open. Failures throw std::runtime_error.
class OutputFile {
public:
    // Writes bytes to path in one go.
    static void save(const std::string& path, const std::string& bytes);

    explicit OutputFile(const std::string& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::FILE* stream() const { return file; }
    void write(const void* data, size_t bytes);
    void close();

private:
    std::string path;
    std::FILE* file;
};

#endif
