// The right/wrong mark: six fade steps in, a hold of 25 ticks, six steps out (about 61 ticks).
#include "game/tests/TickClass.h"

#include "framework/graphics/Graphics.h"
#include "game/shell/ResourceIds.h"

namespace Vel {
namespace {
constexpr int kAlphaStep = 48;
constexpr int kFadeTicks = 2; // a fade step needs more than this many ticks
constexpr int kHoldTicks = 24;
} // namespace

void TickClass::ShowMark(int cel, int x, int y, int now)
{
    m_cel = cel;
    m_x = x;
    m_y = y;
    m_lastStepTick = now;
    m_alpha = 0;
    m_phase = kFadingIn;
    m_awaiting = true;
}

void TickClass::Update(int now)
{
    const int d = now - m_lastStepTick;
    switch (m_phase) {
    case kFadingIn:
        if (d > kFadeTicks) {
            m_alpha += kAlphaStep;
            m_lastStepTick = now;
            if (m_alpha >= 255) {
                m_alpha = 255;
                m_phase = kHolding;
            }
        }
        break;
    case kHolding:
        if (d > kHoldTicks) {
            m_lastStepTick = now;
            m_phase = kFadingOut;
        }
        break;
    case kFadingOut:
        if (d > kFadeTicks) {
            m_alpha -= kAlphaStep;
            m_lastStepTick = now;
            if (m_alpha <= 0) {
                m_alpha = 0;
                m_phase = kHidden;
            }
        }
        break;
    default:
        break;
    }
}

void TickClass::Draw(Graphics* g) const
{
    if (m_phase == kHidden || !IMAGE_TICKS)
        return;
    g->PushState();
    g->SetColor(Color(255, 255, 255, m_alpha));
    g->SetImageTint(true);
    g->DrawCel(IMAGE_TICKS, m_x, m_y, m_cel);
    g->PopState();
}

bool TickClass::TakeFinished()
{
    if (m_phase != kHidden)
        return false;
    m_awaiting = false;
    return true;
}

void TickClass::Clear()
{
    m_phase = kHidden;
    m_awaiting = false;
}

} // namespace Vel
