#ifndef KELVO_LWCLIPCHUNK_H
#define KELVO_LWCLIPCHUNK_H

#include <cstdint>
#include <memory>
#include <vector>

#include "lwloader/LWChunk.h"
#include "lwloader/LWStilSubChunk.h"

// CLIP: an image the texture blocks refer to by its index. Only still images (STIL) are read;
// other kinds of clip have no image here.
class LWClipChunk : public LWChunk {
public:
    LWClipChunk();
    ~LWClipChunk() override;

    // Reads every sub-chunk of the body, keeping the stills.
    int64_t readData(LWReader& reader) override;
    // Nothing: the blocks look clips up.
    void fillObject(Actor* actor, LWLoader* loader) override;

    uint32_t getClipIndex() const { return clipIndex; }
    int getItemCount() const { return static_cast<int>(items.size()); }
    const LWStilSubChunk& getItem(int i) const { return *items[i]; }

private:
    std::vector<std::unique_ptr<LWStilSubChunk>> items;  // the stills, in file order
    uint32_t clipIndex;
};

#endif
