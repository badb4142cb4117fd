// The owl that narrates every screen: its speech balloon's place and the state of the text it is
// revealing. Only what the Board's tick reads is here so far; the speech itself (Say, the queue,
// the reveal steps and the animation frames) and its drawing come with the owl's own work.
#pragma once

#include <cstdint>
#include <string>

namespace Vel {

class OwlClass {
public:
    OwlClass() = default;
    virtual ~OwlClass() = default;

    // One animation step per Board tick. The reveal, blink, bob and beak steps are not written
    // yet, so for now only the tick is remembered.
    void Update(int tick, bool clicked);
    // Still revealing its text: the moment for voice sounds.
    bool IsTalking() const { return active != 0 && revealed < textLength; }

    std::string text; // already with the player's name put in
    int32_t textLength = 0;
    int32_t revealed = 0;
    int32_t lastUpdateTick = 0;
    std::string greetName;
    // Set when the owl speaks, cleared by every screen builder: only then does the balloon take
    // clicks and the voice sound.
    uint8_t active = 0;
    // Top-left corner of the balloon; (8, 8) on the main menu, (8, 72) elsewhere.
    int32_t x = 8;
    int32_t y = 8;
};

} // namespace Vel
