#include "SoundFile.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include "ResourceFile.h"
#include "ResourceLoader.h"

namespace {
// Chunk ids of a RIFF WAVE file, as the four bytes read in file order.
namespace wavChunk {
const char RIFF[] = "RIFF";
const char WAVE[] = "WAVE";  // the form type after the RIFF size
// sub chunks of the WAVE form
const char FORMAT[] = "fmt ";
const char DATA[] = "data";
const char LIST[] = "LIST";
const char FACT[] = "fact";
}

const uint16_t PCM_FORMAT_TAG = 1;
const uint32_t FORMAT_FIELDS_SIZE = 16;  // bytes: the tag, channels, rate, byte rate, block align, bits
const uint16_t MINIMUM_CHANNELS = 1;
const uint16_t MAXIMUM_CHANNELS = 2;
const uint32_t MINIMUM_RATE = 4000;    // Hz
const uint32_t MAXIMUM_RATE = 192000;  // Hz

// Little-endian reads over the bytes of one file, each checked against what is left; the first
// read that does not fit sets the failure and every later one reads zero.
class WavReader {
public:
    explicit WavReader(const std::vector<uint8_t>& bytes) : bytes(bytes), position(0), failed(false) {}

    uint64_t getPosition() const { return position; }
    uint64_t remaining() const { return bytes.size() - position; }
    bool hasFailed() const { return failed; }

    uint16_t readU2()
    {
        if (!take(2))
            return 0;
        const uint8_t* at = bytes.data() + position - 2;
        return static_cast<uint16_t>(at[0] | at[1] << 8);
    }

    uint32_t readU4()
    {
        const uint32_t low = readU2();
        const uint32_t high = readU2();
        return low | high << 16;
    }

    // The next four bytes as an id; "" when they are not there.
    std::string readId()
    {
        if (!take(4))
            return std::string();
        return std::string(reinterpret_cast<const char*>(bytes.data() + position - 4), 4);
    }

    // Passes count bytes the caller has checked are left.
    void skip(uint64_t count) { position += count; }

private:
    bool take(uint64_t count)
    {
        if (failed || count > remaining()) {
            failed = true;
            return false;
        }
        position += count;
        return true;
    }

    const std::vector<uint8_t>& bytes;
    uint64_t position;  // bytes from the start of the file
    bool failed;
};

bool beginsWith(const std::vector<uint8_t>& bytes, uint64_t offset, const char* id)
{
    return bytes.size() >= offset + 4 && std::memcmp(bytes.data() + offset, id, 4) == 0;
}

std::string number(uint64_t value)
{
    return std::to_string(value);
}

// Why the format chunk's fields, fieldsSize bytes of a chunk the reader is at, are not something
// the mixer converts soundly; "" when they are.
std::string whyFormatRefused(WavReader& reader, uint32_t fieldsSize, uint32_t& frameBytes)
{
    if (fieldsSize < FORMAT_FIELDS_SIZE)
        return "the format chunk holds " + number(fieldsSize) + " bytes, fewer than the " +
               number(FORMAT_FIELDS_SIZE) + " of its fields";
    const uint16_t tag = reader.readU2();
    const uint16_t channels = reader.readU2();
    const uint32_t rate = reader.readU4();
    reader.readU4();  // bytes a second, which the mixer works out itself
    reader.readU2();  // block align, likewise
    const uint16_t bits = reader.readU2();
    if (tag != PCM_FORMAT_TAG)
        return "the format tag is " + number(tag) + ", not " + number(PCM_FORMAT_TAG) + " (PCM)";
    if (channels < MINIMUM_CHANNELS || channels > MAXIMUM_CHANNELS)
        return "the header says " + number(channels) + " channels; " + number(MINIMUM_CHANNELS) + " or " +
               number(MAXIMUM_CHANNELS) + " are played";
    if (rate < MINIMUM_RATE || rate > MAXIMUM_RATE)
        return "the header says " + number(rate) + " Hz; " + number(MINIMUM_RATE) + " to " + number(MAXIMUM_RATE) +
               " Hz are played";
    if (bits != 8 && bits != 16)
        return "the header says " + number(bits) + " bits a sample; 8 or 16 are played";
    frameBytes = static_cast<uint32_t>(channels) * bits / 8;
    return std::string();
}
}

std::string SoundFile::read(const std::string& name, std::vector<uint8_t>& bytes)
{
    Result<ResourceFile> input = ResourceLoader::readResourceFile(name);
    if (!input)
        return "the file cannot be opened as a regular file";
    if (!input->readToEnd(bytes))
        return std::string("reading the file failed: ") + std::strerror(errno);
    // The mixer's memory streams are sized in int.
    if (bytes.size() > static_cast<size_t>(INT_MAX))
        return "the file is larger than " + number(INT_MAX) + " bytes";
    return std::string();
}

std::string SoundFile::whyRefused(std::vector<uint8_t>& bytes, std::string& shortened)
{
    shortened.clear();
    // The mixer gives every file that begins with "RIFF" or "WAVE" to SDL's WAVE reader, which also
    // takes a file whose "WAVE" follows the first four bytes at once (no RIFF size) and then reads
    // its chunks from byte 8, allocating what each declares; such a file is judged the same way.
    const bool riff = beginsWith(bytes, 0, wavChunk::RIFF);
    if (!riff && !beginsWith(bytes, 0, wavChunk::WAVE))
        return std::string();
    uint64_t chunksStart;  // bytes
    if (beginsWith(bytes, 4, wavChunk::WAVE))
        chunksStart = 8;
    else if (bytes.size() < 12)
        return riff ? "the RIFF header is cut short at " + number(bytes.size()) + " bytes" : std::string();
    else if (riff && beginsWith(bytes, 8, wavChunk::WAVE))
        chunksStart = 12;  // after the RIFF size, which the chunks do not need: the file bounds them
    else
        return std::string();  // another form (MIDI, say), which SDL's WAVE reader refuses at once
    WavReader reader(bytes);
    reader.skip(chunksStart);

    // The chunks follow one another without the pad byte after an odd size, the way the mixer
    // walks them, so that it reads exactly the chunk headers checked here.
    bool formatSeen = false;
    uint32_t frameBytes = 1;  // bytes of one sample of every channel, from the format chunk
    for (;;) {
        const uint64_t at = reader.getPosition();
        if (reader.remaining() == 0)
            return formatSeen ? "there is no data chunk" : "there is no format chunk";
        const std::string id = reader.readId();
        const uint32_t size = reader.readU4();
        if (reader.hasFailed())
            return "the chunk header at byte " + number(at) + " is cut short";
        if (id == wavChunk::DATA && formatSeen && size > reader.remaining()) {
            // A file cut short in its samples: the mixer is told of the whole frames there are, so
            // it plays them and allocates no more than the file holds.
            const uint64_t present = reader.remaining() / frameBytes * frameBytes;
            shortened = "the data chunk declares " + number(size) + " bytes, but only " +
                        number(reader.remaining()) + " follow; the first " + number(present) + " are played";
            for (int i = 0; i < 4; ++i)
                bytes[at + 4 + i] = static_cast<uint8_t>(present >> (8 * i));
            return std::string();
        }
        if (size > reader.remaining())
            return "the \"" + id + "\" chunk at byte " + number(at) + " declares " + number(size) +
                   " bytes, but only " + number(reader.remaining()) + " follow";
        if (id == wavChunk::DATA) {
            if (!formatSeen)
                return "the data chunk comes before any format chunk";
            return std::string();
        }
        // Both of SDL's WAVE readers pass over these alone on their way to the format chunk; for
        // any other the sample reader gives up, and the music reader frees its buffer twice.
        if (!formatSeen && id != wavChunk::FORMAT && id != wavChunk::LIST && id != wavChunk::FACT)
            return "the \"" + id + "\" chunk at byte " + number(at) +
                   " comes before the format chunk, where only \"LIST\" and \"fact\" chunks are read";
        if (id == wavChunk::FORMAT && !formatSeen) {
            const uint64_t end = reader.getPosition() + size;
            const std::string refusal = whyFormatRefused(reader, size, frameBytes);
            if (!refusal.empty())
                return refusal;
            formatSeen = true;
            reader.skip(end - reader.getPosition());
        } else {
            reader.skip(size);
        }
    }
}
