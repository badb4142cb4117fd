// The one main window: an 800 x 600 logical screen shown in a window or letterboxed full screen,
// presented from a 32-bit ARGB buffer drawn in software.
#pragma once

#include <cstdint>
#include <string>

namespace Plat {

// System cursor kinds, in the framework's numbering (0 arrow ... 10 wait, 11 and 12 none).
enum CursorKind : int {
    kCursorArrow = 0,
    kCursorHand = 1,
    kCursorDragging = 2,
    kCursorText = 3,
    kCursorNoEntry = 4,
    kCursorSizeAll = 5,
    kCursorSizeNeSw = 6,
    kCursorSizeNS = 7,
    kCursorSizeNwSe = 8,
    kCursorSizeWE = 9,
    kCursorWait = 10,
    kCursorNone = 11,
    kCursorNoneToo = 12,
    kCursorKindCount = 13,
};

struct WindowOptions {
    std::string title;
    int width = 800;
    int height = 600;
    bool fullScreen = false;
    int x = -1; // -1: let the window be placed (centred)
    int y = -1;
};

class Window {
public:
    virtual ~Window() = default;

    // Creates the window, or re-creates it in another mode. On failure `error` says why and the
    // previous window, if any, is kept.
    virtual bool Open(const WindowOptions& options, std::string& error) = 0;
    virtual bool IsFullScreen() const = 0;
    // Restores the window if minimised and brings it to the front.
    virtual void Raise() = 0;
    // Takes the window off the screen while the program winds down.
    virtual void Hide() = 0;
    // Shows `width` x `height` ARGB pixels (`pitch` pixels a row). False when the display is lost.
    virtual bool Present(const uint32_t* argb, int pitch) = 0;
    // The display's refresh rate in Hz, or 0 when unknown.
    virtual int RefreshRate() = 0;
    // The normal window's position on the desktop; false in full screen.
    virtual bool GetPosition(int& x, int& y) = 0;
    virtual void GetDesktopSize(int& width, int& height) = 0;
    virtual bool PointerInside() = 0;
    // While captured, the pointer keeps reporting outside the window (a drag off the window).
    virtual void CapturePointer(bool capture) = 0;

    // Kinds outside 0..12 are ignored.
    virtual void SetSystemCursor(int kind) = 0;
    // An image drawn over every presented frame at the pointer instead of the system cursor;
    // `argb` null switches it off. The pixels are copied.
    virtual void SetCursorImage(const uint32_t* argb, int width, int height, int hotX, int hotY) = 0;
};

} // namespace Plat
