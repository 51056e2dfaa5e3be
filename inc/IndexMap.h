#ifndef KELVO_INDEXMAP_H
#define KELVO_INDEXMAP_H

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <map>
#include <stdexcept>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

// Values by int key, visited in ascending key order as in a std::map, for keys that mostly run
// 0, 1, 2, ... as a mesh numbers its points and triangles. Those keys index one vector directly,
// so a look-up costs no search and filling allocates no node per entry. Negative keys, and keys
// so far beyond the number of entries that a vector reaching them would be mostly empty, go to a
// std::map beside it: no key makes the vector larger than about twice the entries.
//
// An entry is a (key, value) pair; its key must not be changed through a reference. References
// and iterators stay valid until the next insertion, as for a vector.
template <typename T>
class IndexMap {
public:
    typedef std::pair<int, T> value_type;  // key, value

private:
    typedef std::map<int, value_type> Sparse;

    // Absent slots of the vector carry this key: no slot's index is negative.
    static constexpr int ABSENT = -1;
    // The vector grows to a new key below 2 × entries + this many: enough that a small mesh
    // numbered with gaps stays in the vector.
    static constexpr std::size_t DENSE_SLACK = 1024;

    template <bool Constant>
    class Iterator {
    public:
        typedef std::forward_iterator_tag iterator_category;
        typedef typename IndexMap::value_type value_type;
        typedef std::ptrdiff_t difference_type;
        typedef typename std::conditional<Constant, const value_type*, value_type*>::type pointer;
        typedef typename std::conditional<Constant, const value_type&, value_type&>::type reference;

        Iterator() = default;
        // A mutable iterator converts to a constant one.
        template <bool Other, typename = typename std::enable_if<Constant && !Other>::type>
        Iterator(const Iterator<Other>& other)
            : owner(other.owner), sparse(other.sparse), slot(other.slot), phase(other.phase)
        {
        }

        reference operator*() const { return phase == DENSE ? owner->slots[slot] : sparse->second; }
        pointer operator->() const { return &**this; }
        Iterator& operator++()
        {
            if (phase == DENSE)
                ++slot;
            else
                ++sparse;
            settle();
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& other) const
        {
            return phase == other.phase && (phase == DENSE ? slot == other.slot : sparse == other.sparse);
        }
        bool operator!=(const Iterator& other) const { return !(*this == other); }

    private:
        friend class IndexMap;
        template <bool>
        friend class Iterator;

        typedef typename std::conditional<Constant, const IndexMap, IndexMap>::type Owner;
        typedef typename std::conditional<Constant, typename Sparse::const_iterator, typename Sparse::iterator>::type
            SparseIterator;
        // The negative keys of the map, then the vector, then the map's keys past the vector.
        enum Phase { LOW, DENSE, HIGH };

        Iterator(Owner* owner, SparseIterator sparse, std::size_t slot, Phase phase)
            : owner(owner), sparse(sparse), slot(slot), phase(phase)
        {
        }

        // Moves on from where the iterator stands to the next entry there is.
        void settle()
        {
            if (phase == LOW) {
                if (sparse != owner->sparse.end() && sparse->first < 0)
                    return;
                phase = DENSE;
                slot = 0;
            }
            if (phase == DENSE) {
                while (slot < owner->slots.size() && !owner->present(slot))
                    ++slot;
                if (slot < owner->slots.size())
                    return;
                phase = HIGH;
                sparse = owner->sparse.lower_bound(0);
            }
        }

        Owner* owner = nullptr;
        SparseIterator sparse{};
        std::size_t slot = 0;
        Phase phase = HIGH;
    };

public:
    typedef Iterator<false> iterator;
    typedef Iterator<true> const_iterator;

    IndexMap() = default;

    iterator begin()
    {
        iterator it(this, sparse.begin(), 0, iterator::LOW);
        it.settle();
        return it;
    }
    const_iterator begin() const
    {
        const_iterator it(this, sparse.begin(), 0, const_iterator::LOW);
        it.settle();
        return it;
    }
    iterator end() { return iterator(this, sparse.end(), 0, iterator::HIGH); }
    const_iterator end() const { return const_iterator(this, sparse.end(), 0, const_iterator::HIGH); }

    iterator find(int key)
    {
        if (inVector(key))
            return present(slotOf(key)) ? iterator(this, sparse.end(), slotOf(key), iterator::DENSE) : end();
        const typename Sparse::iterator it = sparse.find(key);
        return it == sparse.end() ? end() : iterator(this, it, 0, key < 0 ? iterator::LOW : iterator::HIGH);
    }
    const_iterator find(int key) const
    {
        if (inVector(key))
            return present(slotOf(key)) ? const_iterator(this, sparse.end(), slotOf(key), const_iterator::DENSE)
                                        : end();
        const typename Sparse::const_iterator it = sparse.find(key);
        return it == sparse.end() ? end()
                                  : const_iterator(this, it, 0, key < 0 ? const_iterator::LOW : const_iterator::HIGH);
    }
    // The value of key, or null.
    T* findValue(int key)
    {
        if (inVector(key))
            return present(slotOf(key)) ? &slots[slotOf(key)].second : nullptr;
        const typename Sparse::iterator it = sparse.find(key);
        return it == sparse.end() ? nullptr : &it->second.second;
    }
    const T* findValue(int key) const { return const_cast<IndexMap*>(this)->findValue(key); }
    std::size_t count(int key) const { return findValue(key) ? 1 : 0; }
    bool contains(int key) const { return findValue(key) != nullptr; }
    // Throws std::out_of_range for a key that holds nothing, as std::map::at does.
    const T& at(int key) const
    {
        const T* value = findValue(key);
        if (!value)
            throw std::out_of_range("IndexMap::at");
        return *value;
    }

    // The value of key, inserted as T() when absent.
    T& operator[](int key)
    {
        if (T* value = findValue(key))
            return *value;
        return insert(key, T());
    }

    // Stores value under key, inserting or replacing it.
    T& assign(int key, T value)
    {
        if (T* stored = findValue(key)) {
            *stored = std::move(value);
            return *stored;
        }
        return insert(key, std::move(value));
    }

    // Stores value under a key that holds nothing yet (the caller has checked), without looking
    // for it again; moved into its place when it can be.
    T& insertAbsent(int key, T&& value) { return insert(key, std::move(value)); }
    T& insertAbsent(int key, const T& value) { return insert(key, value); }
    // The same with the value made in its place from arguments, for the next key in order of a map
    // that is being filled; otherwise made first and moved in.
    template <typename... Arguments>
    T& emplaceAbsent(int key, Arguments&&... arguments)
    {
        if (key >= 0 && slotOf(key) == slots.size()) {
            slots.emplace_back(std::piecewise_construct, std::forward_as_tuple(key),
                               std::forward_as_tuple(std::forward<Arguments>(arguments)...));
            ++vectorCount;
            return slots.back().second;
        }
        return insert(key, T(std::forward<Arguments>(arguments)...));
    }

    // Removes key's entry; nothing for a key that holds none.
    void erase(int key)
    {
        if (!inVector(key)) {
            sparse.erase(key);
            return;
        }
        if (!present(slotOf(key)))
            return;
        slots[slotOf(key)] = value_type(ABSENT, T());
        --vectorCount;
    }

    // Room in the vector for count more keys after its last, for a caller that knows how many
    // come. It still grows at least twofold, so that many small calls cost no more than growing.
    void reserveMore(std::size_t count)
    {
        if (slots.size() + count > slots.capacity())
            slots.reserve(std::max(slots.size() + count, 2 * slots.capacity()));
    }

    std::size_t size() const { return vectorCount + sparse.size(); }
    bool empty() const { return size() == 0; }
    // Keeps the vector's capacity, for a map filled again to about the same size.
    void clear()
    {
        slots.clear();
        sparse.clear();
        vectorCount = 0;
    }

private:
    bool inVector(int key) const { return key >= 0 && static_cast<std::size_t>(key) < slots.size(); }
    static std::size_t slotOf(int key) { return static_cast<std::size_t>(key); }
    bool present(std::size_t slot) const { return slots[slot].first == static_cast<int>(slot); }

    template <typename Value>
    T& insert(int key, Value&& value)
    {
        if (!inVector(key) && (key < 0 || slotOf(key) >= 2 * size() + DENSE_SLACK)) {
            value_type& entry = sparse.emplace(key, value_type(key, std::forward<Value>(value))).first->second;
            return entry.second;
        }
        if (slotOf(key) == slots.size()) {
            // The next key in order: no key of the map lies below it beyond the vector.
            slots.emplace_back(key, std::forward<Value>(value));
            ++vectorCount;
            return slots.back().second;
        }
        if (!inVector(key)) {
            // Taken before the vector grows, which would move a value that lies in it.
            value_type entry(key, std::forward<Value>(value));
            // The map's keys the vector now reaches move into it, so that no key is in both.
            const std::size_t oldSize = slots.size();
            slots.resize(slotOf(key) + 1, value_type(ABSENT, T()));
            typename Sparse::iterator moving = sparse.lower_bound(static_cast<int>(oldSize));
            while (moving != sparse.end() && moving->first <= key) {
                slots[slotOf(moving->first)] = std::move(moving->second);
                moving = sparse.erase(moving);
                ++vectorCount;
            }
            slots[slotOf(key)] = std::move(entry);
            ++vectorCount;
            return slots[slotOf(key)].second;
        }
        slots[slotOf(key)] = value_type(key, std::forward<Value>(value));
        ++vectorCount;
        return slots[slotOf(key)].second;
    }

    std::vector<value_type> slots;  // by key; an absent one's key is ABSENT
    Sparse sparse;                  // the keys outside the vector
    std::size_t vectorCount = 0;    // the present slots
};

#endif
