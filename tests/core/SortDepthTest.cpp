#include "list/modFunctions.h"

#include <gtest/gtest.h>
#include <pthread.h>

namespace partwright::modFunctions {
namespace {

// A sorted list is the pivot's worst case. Plain recursion would go one level deeper per entry;
// on a small stack the sort must still finish.
TEST(QuickSort, SortedInputDoesNotExhaustASmallStack)
{
    struct Work {
        std::vector<std::string> items;
        bool sorted = false;
    } work;
    for (int i = 0; i < 6000; ++i)
        work.items.push_back("DISC." + std::to_string(i % 30000));

    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, std::size_t{64} * 1024);
    pthread_t thread;
    const auto run = [](void* data) -> void* {
        auto* w = static_cast<Work*>(data);
        const auto expected = w->items;
        QuickSort(w->items, 0, static_cast<std::ptrdiff_t>(w->items.size()) - 1);
        w->sorted = w->items == expected;
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, &work), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_TRUE(work.sorted);
}

} // namespace
} // namespace partwright::modFunctions
