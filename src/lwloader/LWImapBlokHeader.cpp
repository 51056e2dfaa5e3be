#include "lwloader/LWImapBlokHeader.h"

#include <string>

#include "lwloader/LWNullSubChunk.h"
#include "lwloader/LWReader.h"

LWImapBlokHeader::LWImapBlokHeader() : LWBlokHeaderSubChunk(ID_IMAP)
{
}

LWImapBlokHeader::~LWImapBlokHeader() = default;

int64_t LWImapBlokHeader::skipRemaining(int64_t consumed, LWReader& reader)
{
    int64_t skipped = 0;
    while (consumed + skipped < getSize()) {
        int number;
        std::string text;
        if (readChunkId(reader, number, text) != 4)
            return READ_FAILED;
        int64_t bytes = readUnknown(number, reader);
        if (bytes < 0)
            return READ_FAILED;
        skipped += 4 + bytes;
    }
    return skipped;
}

int64_t LWImapBlokHeader::readUnknown(int, LWReader& reader)
{
    LWNullSubChunk skipped;
    return skipped.read(reader);
}
