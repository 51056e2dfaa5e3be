#ifndef KELVO_RINGBUFFER_H
#define KELVO_RINGBUFFER_H

#include <memory>
#include <utility>
#include <vector>

// A fixed-capacity ring that owns its elements: pushing onto a full ring deletes the oldest
// element, so the ring never grows. Element 0 is the oldest, element size() - 1 the newest.
//
// A capacity of 0 or less makes a ring that holds nothing: every push deletes what it is given.
template <typename T> class RingBuffer {
public:
    explicit RingBuffer(int capacity)
        : items(capacity > 0 ? capacity : 0), capacity(capacity > 0 ? capacity : 0), count(0), start(0), end(0)
    {
    }
    virtual ~RingBuffer() = default;
    RingBuffer(const RingBuffer&) = delete;
    RingBuffer& operator=(const RingBuffer&) = delete;

    // i must lie in [0, size()); element 0 is the oldest.
    T* operator[](int i) const { return items[(start + i) % capacity].get(); }

    // Takes ownership; on a full ring the oldest element is deleted first.
    void push(std::unique_ptr<T> item)
    {
        if (capacity == 0)
            return;
        if (count == capacity)
            popFront();
        items[end] = std::move(item);
        end = (end + 1) % capacity;
        ++count;
    }

    // Deletes the oldest element; nothing happens on an empty ring.
    void popFront()
    {
        if (count == 0)
            return;
        items[start].reset();
        start = (start + 1) % capacity;
        --count;
    }

    // Deletes element i; the newer elements move one place towards the oldest, keeping their order.
    void erase(int i)
    {
        if (i < 0 || i >= count)
            return;
        for (int k = i; k < count - 1; ++k)
            items[(start + k) % capacity] = std::move(items[(start + k + 1) % capacity]);
        end = (end + capacity - 1) % capacity;
        items[end].reset();
        --count;
    }

    int size() const { return count; }
    int getCapacity() const { return capacity; }
    bool isFull() const { return count >= capacity; }

private:
    std::vector<std::unique_ptr<T>> items;  // capacity slots; empty slots are null
    int capacity;
    int count;  // live elements
    int start;  // slot of the oldest element
    int end;    // slot the next push fills
};

#endif
