// The dictionary word list and its lookups by length and by word.
#include "game/text/Dictionary.h"
#include "tests/fuzz/FuzzSupport.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto dictionary = std::make_unique<Vel::Dictionary>();
    if (!Vel::LoadDictionary(*dictionary, Fuzz::WriteScratch(data, size, "dictionary.txt")).ok)
        return 0;
    // Every loaded word is found again (an empty line loads but is never a word).
    for (int i = 0; i < dictionary->count; ++i)
        if (!Vel::WordAt(*dictionary, i).empty() && !Vel::IsWord(*dictionary, Vel::WordAt(*dictionary, i)))
            __builtin_trap();
    for (int length = 0; length <= Vel::kMaxWordLength + 1; ++length)
        (void)Vel::WordsOfLength(*dictionary, length);
    return 0;
}
