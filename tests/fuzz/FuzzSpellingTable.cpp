// The spelling table (a correct spelling and its misspellings per line).
#include "game/text/SpellingTable.h"
#include "tests/fuzz/FuzzSupport.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto table = std::make_unique<Vel::SpellingTable>();
    if (!Vel::LoadSpellingTable(*table, Fuzz::WriteScratch(data, size, "spelling.txt")).ok)
        return 0;
    if (table->count < 0 || table->count > Vel::kMaxSpellingEntries)
        __builtin_trap();
    for (int length = 0; length <= Vel::kMaxWordLength + 1; ++length)
        (void)Vel::EntriesOfLength(*table, length);
    return 0;
}
