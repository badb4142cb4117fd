// The one-item-a-line lists (names, shopping items, four-letter words, credits); the first byte
// picks the list so one corpus covers the shared reader and each list's own rules.
#include "game/text/WordLists.h"
#include "tests/fuzz/FuzzSupport.h"

#include <memory>

namespace {
template <typename List>
void CheckCount(const List& list)
{
    if (list.count < 0 || list.count > List::kCapacity)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string path = Fuzz::WriteScratch(data + 1, size - 1, "list.txt");
    switch (data[0] % 4) {
    case 0: {
        auto names = std::make_unique<Vel::NameLists>();
        (void)Vel::LoadNames(*names, path);
        break;
    }
    case 1: {
        auto list = std::make_unique<Vel::ShoppingList>();
        (void)Vel::LoadShoppingList(*list, path);
        CheckCount(*list);
        break;
    }
    case 2: {
        auto list = std::make_unique<Vel::Alpha4List>();
        if (Vel::LoadAlpha4List(*list, path).ok)
            for (int i = 0; i < list->count; ++i)
                if (list->items[size_t(i)].size() < size_t(Vel::kMinAlpha4Length))
                    __builtin_trap();
        CheckCount(*list);
        break;
    }
    default: {
        auto list = std::make_unique<Vel::CreditLines>();
        (void)Vel::LoadCredits(*list, path);
        CheckCount(*list);
        break;
    }
    }
    return 0;
}
