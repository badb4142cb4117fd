// The player file loader. A file of any other size is refused before anything is read, so the
// input is mostly a list of edits to a good file: a selector byte, then 4-byte offset and 1-byte
// value pairs. What decodes must save back to a file that decodes to the same store, and every
// operation the screens call must stay within the arrays.
#include "game/players/PlayerFile.h"
#include "game/players/Players.h"
#include "tests/fuzz/FuzzSupport.h"

#include <memory>

namespace {

Vel::BrokenDownTime FixedNow() { return Vel::MakeLocalTime(2026, 11, 10, 9, 30, 0); }

const std::vector<uint8_t>& GoodFile()
{
    static const std::vector<uint8_t> bytes = [] {
        Vel::SetLocalTimeSource(&FixedNow);
        auto players = std::make_unique<Vel::Players>();
        for (int slot = 0; slot < Vel::kPlayerSlots; ++slot)
            Vel::ResetProfile(*players, slot, "");
        Vel::ResetProfile(*players, 0, "Ada");
        players->players[0].empty = 0;
        players->players[0].history[0] = {2, 10, 11, 126, 12, 3, 80};
        players->players[0].historyCount = 1;
        return Vel::EncodePlayerFile(*players);
    }();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Reused: a fresh 5 MB store per input would spend the time in the allocator.
    static const auto players = std::make_unique<Vel::Players>();
    static const auto again = std::make_unique<Vel::Players>();
    static std::vector<uint8_t> file;
    std::string problem;
    if (size > 0 && data[0] == 0) {
        // The raw bytes as a whole file: only the size check can answer.
        if (Vel::DecodePlayerFile(data, size, *players, problem))
            __builtin_trap();
        return 0;
    }
    file = GoodFile();
    for (size_t i = 1; i + 5 <= size; i += 5) {
        uint32_t offset = 0;
        for (int b = 0; b < 4; ++b)
            offset |= uint32_t(data[i + size_t(b)]) << (8 * b);
        // Most fields the checks look at lie in the first slot's head; aim half the edits there.
        const size_t at = (offset & 1) ? (offset >> 1) % 600 : (offset >> 1) % file.size();
        file[at] = data[i + 4];
    }
    if (!Vel::DecodePlayerFile(file.data(), file.size(), *players, problem)) {
        if (problem.empty())
            __builtin_trap(); // a refusal always says why
        return 0;
    }
    // The save-and-reload check costs four times the decode, so only some inputs pay for it.
    if (size % 8 == 1) {
        const std::vector<uint8_t> saved = Vel::EncodePlayerFile(*players);
        if (!Vel::DecodePlayerFile(saved.data(), saved.size(), *again, problem) || Vel::EncodePlayerFile(*again) != saved)
            __builtin_trap();
    }

    Vel::RefreshPlayedToday(*players);
    for (int t = -1; t <= Vel::kTestIdCount; ++t) {
        (void)Vel::LastGrade(*players, t);
        (void)Vel::PlayedToday(*players, t);
    }
    (void)Vel::CountProfiles(*players);
    (void)Vel::FirstFreeProfile(*players);
    (void)Vel::NameOf(Vel::CurrentProfile(*players));
    Vel::DeleteProfile(*players, players->currentPlayer);
    return 0;
}
