// The keyed text table: line splitting, numbers, the line cap and every key looked up again.
#include "game/text/TextTable.h"
#include "tests/fuzz/FuzzSupport.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto table = std::make_unique<Vel::TextTable>();
    const Vel::DataLoadResult result = Vel::LoadTextTable(*table, Fuzz::WriteScratch(data, size, "resource.txt"));
    if (table->count < 0 || table->count > Vel::kMaxTextEntries)
        __builtin_trap();
    for (int i = 0; i < table->count; ++i)
        if (Vel::FindText(*table, table->entries[size_t(i)].key) > i)
            __builtin_trap(); // an earlier line shadows, a later one never does
    (void)result;
    return 0;
}
