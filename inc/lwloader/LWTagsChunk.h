#ifndef KELVO_LWTAGSCHUNK_H
#define KELVO_LWTAGSCHUNK_H

#include <cstdint>
#include <string>
#include <vector>

#include "lwloader/LWChunk.h"

// TAGS: the object's tag strings (surface names, bone names, part names); a tag number of the
// polygon tags that follow is a position in this list.
class LWTagsChunk : public LWChunk {
public:
    LWTagsChunk();
    ~LWTagsChunk() override;

    int64_t readData(LWReader& reader) override;
    // Nothing: the polygon tags read it.
    void fillObject(Actor* actor, LWLoader* loader) override;

    int getTagCount() const { return static_cast<int>(tags.size()); }
    const std::string& getTag(int i) const { return tags[i]; }

private:
    std::vector<std::string> tags;  // kept whole, however long
};

#endif
