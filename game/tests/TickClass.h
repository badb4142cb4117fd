// The tick or cross shown after an answer: fades in, holds, fades out, then tells the test it
// may go on.
#pragma once

namespace Vel {

class Graphics;

class TickClass {
public:
    enum Phase { kHidden = 0, kFadingIn = 1, kHolding = 2, kFadingOut = 3 };

    TickClass() = default;
    virtual ~TickClass() = default;

    // cel 0 = tick (right), 1 = cross (wrong), from "IMAGE_TICKS".
    void ShowMark(int cel, int x, int y, int now);
    void Update(int now);
    void Draw(Graphics* g) const;
    bool IsAwaiting() const { return m_awaiting; }
    // True once the mark has gone, taking the end: the next call is false again.
    bool TakeFinished();
    void Clear();

    int m_x = 0;
    int m_y = 0;
    int m_cel = 0;
    int m_lastStepTick = 0;
    int m_alpha = 0;
    int m_phase = kHidden;
    bool m_awaiting = false;
};

} // namespace Vel
