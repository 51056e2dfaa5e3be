#include "TriangleIndex.h"

#include <algorithm>

void TriangleIndex::remove(int key, int triangle)
{
    settle();
    std::vector<int>* list = lists.findValue(key);
    if (!list)
        return;
    const std::vector<int>::iterator at = std::lower_bound(list->begin(), list->end(), triangle);
    if (at != list->end() && *at == triangle)
        list->erase(at);
    if (list->empty())
        lists.erase(key);
}

const std::vector<int>& TriangleIndex::find(int key) const
{
    static const std::vector<int> none;
    settle();
    const std::vector<int>* list = lists.findValue(key);
    return list ? *list : none;
}

void TriangleIndex::settle() const
{
    for (const std::uint64_t entry : pending)
        insertAscending(lists[keyOf(entry)], triangleOf(entry));
    pending.clear();
}

void TriangleIndex::insertAscending(std::vector<int>& list, int triangle)
{
    // Triangles are mostly added in ascending order: then the index goes at the end.
    if (list.empty() || list.back() < triangle) {
        list.push_back(triangle);
        return;
    }
    const std::vector<int>::iterator at = std::lower_bound(list.begin(), list.end(), triangle);
    if (at == list.end() || *at != triangle)
        list.insert(at, triangle);
}
