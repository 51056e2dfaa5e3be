#ifndef KELVO_LWIMAPBLOKHEADER_H
#define KELVO_LWIMAPBLOKHEADER_H

#include "lwloader/LWBlokHeaderSubChunk.h"

// IMAP: the header of an image-map block. Sub-chunks it does not list are skipped.
class LWImapBlokHeader : public LWBlokHeaderSubChunk {
public:
    LWImapBlokHeader();
    ~LWImapBlokHeader() override;

    int64_t skipRemaining(int64_t consumed, LWReader& reader) override;
    int64_t readUnknown(int number, LWReader& reader) override;
};

#endif
