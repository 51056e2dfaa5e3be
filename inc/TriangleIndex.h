#ifndef KELVO_TRIANGLEINDEX_H
#define KELVO_TRIANGLEINDEX_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "IndexMap.h"

// Ascending lists of triangle indices by key: a mesh's triangles by the points they use or by the
// polygon they were cut from. Entries are noted as they come and sorted into the lists at the
// first look-up after them, so filling a mesh costs one number per entry instead of a list per key,
// and a mesh nobody asks pays nothing more; the lists come out the same in any order of entries.
class TriangleIndex {
public:
    // Enters triangle under key; nothing when it is there already.
    void add(int key, int triangle) { pending.push_back(pack(key, triangle)); }
    // Room for count more entries to be noted, growing at least twofold.
    void reserveMore(size_t count)
    {
        if (pending.size() + count > pending.capacity())
            pending.reserve(std::max(pending.size() + count, 2 * pending.capacity()));
    }
    // Takes triangle from key's list; a key left without triangles goes.
    void remove(int key, int triangle);
    // key's triangles, ascending; empty for a key that has none. Valid until the next change.
    const std::vector<int>& find(int key) const;

private:
    // Sorts the entries noted since the last look-up into the lists.
    void settle() const;
    // Puts triangle into an ascending list that does not hold it yet.
    static void insertAscending(std::vector<int>& list, int triangle);

    // An entry as one number, key in the high half: built in a register and stored whole, which a
    // mesh does three times for every triangle it is given.
    static std::uint64_t pack(int key, int triangle)
    {
        return static_cast<std::uint64_t>(static_cast<std::uint32_t>(key)) << 32 | static_cast<std::uint32_t>(triangle);
    }
    static int keyOf(std::uint64_t entry) { return static_cast<int>(static_cast<std::uint32_t>(entry >> 32)); }
    static int triangleOf(std::uint64_t entry) { return static_cast<int>(static_cast<std::uint32_t>(entry)); }

    // The entries in the order they came, not yet in lists; cleared by settle.
    mutable std::vector<std::uint64_t> pending;
    mutable IndexMap<std::vector<int>> lists;  // key -> its triangles, ascending
};

#endif
