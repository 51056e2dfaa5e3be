#ifndef KELVO_LWBLOKHEADERSUBCHUNK_H
#define KELVO_LWBLOKHEADERSUBCHUNK_H

#include <cstdint>
#include <string>

#include "lwloader/LWAxisSubChunk.h"
#include "lwloader/LWChanSubChunk.h"
#include "lwloader/LWOpacSubChunk.h"
#include "lwloader/LWSubChunk.h"
#include "lwloader/LWUnsignedShortSubChunk.h"

// The header that opens a texture block: the block's ordinal string (its place among the blocks
// of the surface) and its channel, enable flag, opacity and axis. Read and kept; the loader uses
// none of them. Subclasses decide what becomes of the sub-chunks a header does not list.
class LWBlokHeaderSubChunk : public LWSubChunk {
public:
    explicit LWBlokHeaderSubChunk(int id);
    ~LWBlokHeaderSubChunk() override;

    int64_t readData(LWReader& reader) override;
    // Skips the sub-chunks after the first consumed bytes of the body: the bytes skipped, or
    // READ_FAILED.
    virtual int64_t skipRemaining(int64_t consumed, LWReader& reader) = 0;
    // Reads or skips one sub-chunk whose identifier (number) has been read: its byte count after
    // the identifier, or READ_FAILED.
    virtual int64_t readUnknown(int number, LWReader& reader) = 0;

    const std::string& getOrdinal() const { return ordinal; }
    const LWChanSubChunk& getChannel() const { return channel; }
    const LWUnsignedShortSubChunk& getEnable() const { return enable; }
    const LWOpacSubChunk& getOpacity() const { return opacity; }
    const LWAxisSubChunk& getAxis() const { return axis; }

private:
    std::string ordinal;  // kept whole, however long
    LWChanSubChunk channel;
    LWUnsignedShortSubChunk enable;
    LWOpacSubChunk opacity;
    LWAxisSubChunk axis;
};

#endif
