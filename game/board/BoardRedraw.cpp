// Whether the Board's picture changed since it was last drawn. Repainting every tick would make
// a menu that sits still cost a full 800 x 600 frame and its present sixty times a second, so
// the tick compares a digest of everything the screens draw from with the digest of the last
// drawn frame. Screens whose drawing reads more than the digest covers (the tests with their
// clocks, the scrolling credits, anything not listed below) are repainted every tick as before.
#include "game/board/Board.h"

#include <algorithm>

namespace Vel {
namespace {

// FNV-1a over the fields, in a fixed order.
class Digest {
public:
    void Add(const void* data, size_t size)
    {
        const auto* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i)
            m_value = (m_value ^ p[i]) * 1099511628211ull;
    }
    void Add(int64_t v) { Add(&v, sizeof v); }
    void Add(const std::string& s)
    {
        Add(int64_t(s.size()));
        Add(s.data(), s.size());
    }
    void Add(const LayoutItem& item)
    {
        for (int v : {item.textX, item.textY, item.font, item.left, item.top, item.right, item.bottom, item.style,
                      item.red, item.green, item.blue})
            Add(int64_t(v));
        Add(item.text);
    }
    uint64_t Value() const { return m_value; }

private:
    uint64_t m_value = 14695981039346656037ull;
};

// Screens drawn only from the fields the digest holds.
bool DrawnFromDigestedFields(BoardState state)
{
    switch (state) {
    case BoardState::MainMenu:
    case BoardState::Options:
    case BoardState::ProfileSelect:
    case BoardState::ProfileNew:
    case BoardState::GameMenu:
    case BoardState::Unused18:
    case BoardState::Unused23:
    case BoardState::Unused31:
        return true;
    default:
        return false;
    }
}

} // namespace

uint64_t Board::FrameDigest() const
{
    Digest d;
    const BoardState state = State();
    bool covered = DrawnFromDigestedFields(state);
    if (state == BoardState::Dialog) {
        // A dialog shows the screen below it (or the plain background).
        const int below = PeekBoardState();
        covered = !IsBoardState(below) || below == int(BoardState::Dialog)
               || DrawnFromDigestedFields(BoardState(below));
    }
    if (!covered) {
        // Changes every tick: the screen is repainted every tick.
        d.Add(int64_t(m_updateCount));
        d.Add(int64_t(m_inputTicks));
    }
    d.Add(int64_t(state));
    d.Add(int64_t(m_pauseCount > 0));
    d.Add(int64_t(m_optionsOrigin));
    d.Add(int64_t(CurrentProfile(m_players).empty));
    d.Add(m_playerName);
    d.Add(int64_t(m_currentLayout));
    d.Add(int64_t(m_stateStackCount));
    for (int i = 0; i < m_stateStackCount && i < kStackEntries; ++i)
        d.Add(int64_t(m_stateStack[size_t(i)]));
    d.Add(int64_t(m_dialogKind));
    d.Add(m_dialogHeader);
    d.Add(m_dialogText);
    for (size_t layout = 0; layout < size_t(kLayoutCount); ++layout) {
        const int buttons = std::min(m_buttonCount[layout], kButtonsPerLayout);
        const int labels = std::min(m_labelCount[layout], kLabelsPerLayout);
        d.Add(int64_t(buttons));
        d.Add(int64_t(labels));
        d.Add(int64_t(m_hoveredButton[layout]));
        for (int i = 0; i < buttons; ++i)
            d.Add(m_buttons[layout][size_t(i)]);
        for (int i = 0; i < labels; ++i)
            d.Add(m_labels[layout][size_t(i)]);
    }
    d.Add(int64_t(m_textFieldCount));
    d.Add(int64_t(m_currentTextField));
    d.Add(int64_t(m_caretBlink));
    for (int i = 0; i < m_textFieldCount && i < kTextFieldCount; ++i) {
        const TextField& f = m_textFields[size_t(i)];
        d.Add(f.text);
        for (int v : {f.x, f.y, f.width, f.font})
            d.Add(int64_t(v));
    }
    d.Add(int64_t(m_owl.active));
    d.Add(m_owl.text);
    for (int v : {m_owl.textLength, m_owl.revealed, m_owl.x, m_owl.y})
        d.Add(int64_t(v));
    for (int v : {m_tick.m_x, m_tick.m_y, m_tick.m_cel, m_tick.m_alpha, m_tick.m_phase})
        d.Add(int64_t(v));
    return d.Value();
}

void Board::MarkDirtyIfChanged()
{
    const uint64_t digest = FrameDigest();
    if (m_drawnDigestValid && digest == m_drawnDigest)
        return;
    m_drawnDigest = digest;
    m_drawnDigestValid = true;
    MarkDirtyFull();
}

} // namespace Vel
