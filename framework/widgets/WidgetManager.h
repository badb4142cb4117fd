// The root of the widget tree: turns the window's pointer and keyboard input into widget calls,
// keeps the over, pressed, focus and modal widgets, and runs the update and draw passes.
#pragma once

#include <array>
#include <climits>
#include <vector>

#include "framework/graphics/Rect.h"
#include "framework/widgets/WidgetContainer.h"

namespace Vel {

class Graphics;
class MemoryImage;
class Widget;
class WidgetHost;

class WidgetManager : public WidgetContainer {
public:
    static constexpr int kKeyCount = 255; // key state flags for key numbers 0..254
    // Bits of the held-button masks.
    static constexpr int kButtonLeft = 1;
    static constexpr int kButtonRight = 2;
    static constexpr int kButtonMiddle = 4;

    explicit WidgetManager(WidgetHost* host = nullptr);
    WidgetManager(const WidgetManager&) = delete;
    WidgetManager& operator=(const WidgetManager&) = delete;
    // Detaches (does not delete) every remaining widget.
    ~WidgetManager() override;

    void DisableWidget(Widget* w) override;
    void SetFocus(Widget* w) override;
    // The manager's own count is advanced by RunUpdatePass, not here.
    void Update() override {}

    // The widget that would receive the pointer at (x, y) in screen pixels, or null; the point in
    // that widget's own coordinates goes to localX, localY when they are given.
    Widget* GetWidgetAt(int x, int y, int* localX = nullptr, int* localY = nullptr);
    // The flag set that applies to `w` in a traversal right now (modal state and modifiers included).
    int GetWidgetFlags(const Widget* w);

    // Modal widgets: everything below `w` gets its flags changed by `belowFlags` until
    // RemoveBaseModal(w); nested calls stack.
    void AddBaseModal(Widget* w, const FlagsMod& belowFlags);
    void AddBaseModal(Widget* w);
    void RemoveBaseModal(Widget* w);

    // A pop-up (menu-like) widget, added to the manager and removed (and handed to the host for
    // deletion, or deleted without a host) when a mouse button goes down outside it.
    void SetPopupCommandWidget(Widget* w);
    void RemovePopupCommandWidget();

    // During a draw pass: have w->PaintOverlay(g, priority) called later, lowest priority first.
    void DeferOverlay(Widget* w, int priority);
    // Draws the pending overlays whose priority is below `belowPriority`.
    void FlushDeferredOverlayWidgets(int belowPriority);

    // One update tick over the tree; returns whether anything is dirty.
    bool RunUpdatePass();
    void RunPartialUpdatePass(double fraction);
    // Draws the dirty top-level widgets into the screen image; returns whether anything was drawn.
    bool DrawScreen();
    void SetScreenImage(MemoryImage* image) { m_image = image; }
    MemoryImage* GetScreenImage() const { return m_image; }

    // Pointer coordinates arrive in window pixels and are mapped from `src` onto `dest`.
    void SetMouseRects(const Rect& src, const Rect& dest);

    // Input from the application's message handling.
    void MouseMove(int x, int y);
    // clickCount: 1 left, 2 left double, -1 right, -2 right double, 3 middle.
    void MouseDown(int x, int y, int clickCount);
    // clickCount: 1 left, -1 right, 3 middle.
    void MouseUp(int x, int y, int clickCount);
    // The pointer left the window.
    void MouseExit(int x, int y);
    void MouseWheel(int delta);
    void KeyDown(int key);
    void KeyUp(int key);
    void KeyChar(char c);
    void GotFocus();
    // Also releases every held mouse button, so nothing stays pressed (and nothing clicks).
    void LostFocus();
    // Mouse-ups at the last position for every held button; then none is held.
    void ReleaseAllButtons();
    // Re-evaluates the widget under the pointer after the tree changed.
    void RehupMouse();

    bool IsKeyDown(int key) const { return key >= 0 && key < kKeyCount && m_keyDown[key]; }
    bool IsLeftButtonDown() const { return (m_actualDownButtons & kButtonLeft) != 0; }
    bool IsRightButtonDown() const { return (m_actualDownButtons & kButtonRight) != 0; }
    bool IsMiddleButtonDown() const { return (m_actualDownButtons & kButtonMiddle) != 0; }
    WidgetHost* GetHost() const { return m_host; }
    void SetHost(WidgetHost* host) { m_host = host; }

    // The normal flag set and the one for widgets below the modal widget, as a traversal uses them.
    ModalFlags InitModalFlags() const;

    Widget* m_defaultTab = nullptr; // receives Ctrl+Tab
    Graphics* m_currentG = nullptr; // while drawing
    WidgetHost* m_host = nullptr;
    MemoryImage* m_image = nullptr; // the screen image
    Widget* m_popupCommandWidget = nullptr;
    struct DeferredOverlay {
        Widget* widget = nullptr;
        int priority = 0;
    };
    std::vector<DeferredOverlay> m_deferredOverlayWidgets;
    int m_minDeferredOverlayPriority = INT_MAX;
    bool m_hasFocus = true; // the application has the input focus
    Widget* m_focusWidget = nullptr;
    Widget* m_lastDownWidget = nullptr;
    Widget* m_overWidget = nullptr;
    Widget* m_baseModalWidget = nullptr;
    FlagsMod m_lostFocusFlagsMod;
    FlagsMod m_belowModalFlagsMod;
    FlagsMod m_defaultBelowModalFlagsMod{0, kWidgetAllowMouse | kWidgetAllowFocus};
    struct PreModalInfo {
        Widget* modalFor = nullptr; // compared only, never dereferenced
        Widget* prevBaseModalWidget = nullptr;
        Widget* prevFocusWidget = nullptr;
        FlagsMod prevBelowModalFlagsMod;
    };
    std::vector<PreModalInfo> m_preModalInfoList;
    Rect m_mouseSourceRect{0, 0, 0, 0}; // empty: no mapping
    Rect m_mouseDestRect{0, 0, 0, 0};
    bool m_mouseIn = false;
    int m_lastMouseX = 0;
    int m_lastMouseY = 0;
    int m_downButtons = 0;       // held buttons that belong to m_lastDownWidget
    int m_actualDownButtons = 0; // buttons physically held
    int m_lastInputUpdateCount = 0;
    std::array<bool, kKeyCount> m_keyDown{};
    int m_lastDownButtonId = 0; // 1 left, -1 right, 2 middle
    int m_widgetFlags = kDefaultWidgetFlags;

private:
    void MapMouse(int& x, int& y) const;
    void MousePosition(int x, int y);
    void MouseDrag(int x, int y);
    void EnterWidget(Widget* w);
    void LeaveWidget(Widget* w);
    // Mouse-ups at the last position for each button in `buttons` (left, right, middle), in w's own
    // coordinates.
    void SendMouseUps(Widget* w, int buttons);
    // Everything the manager and its saved modal states remember of a widget leaving the tree.
    void ForgetWidget(Widget* w);
    // Pointer and focus rules treat these as covered by the modal widget; its ancestors are not.
    bool IsBelowModal(const Widget* w) const;
    bool IsInTree(const Widget* w) const;
    void FlushOverlays(bool all, int belowPriority);

    friend class WidgetContainer;
    friend class WidgetContainer;
};

} // namespace Vel
