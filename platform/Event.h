// What a back end reports from the operating system, already in the framework's terms: logical
// 800 x 600 coordinates, Windows key numbers, characters as Latin-1 code points.
#pragma once

#include <cstdint>

namespace Plat {

enum class EventType {
    CloseRequest,   // close box, Alt+F4, window manager
    Activated,      // the window got the input focus
    Deactivated,
    Minimized,
    Restored,
    Maximized,
    Moved,          // x, y: the window's position on the desktop
    Exposed,        // the window needs a full repaint
    DisplayChanged,
    PointerLeft,
    KeyDown,        // key; repeat set for auto-repeat
    KeyUp,
    Char,           // ch
    MouseMove,      // x, y
    MouseDown,      // x, y, button, clicks
    MouseUp,        // x, y, button
    MouseWheel,     // wheel: notches, positive away from the user
};

enum class MouseButton { Left, Right, Middle };

struct Event {
    EventType type = EventType::CloseRequest;
    int x = 0;
    int y = 0;
    int key = 0;
    bool repeat = false;
    uint32_t ch = 0;
    MouseButton button = MouseButton::Left;
    int clicks = 1;
    int wheel = 0;
};

} // namespace Plat
