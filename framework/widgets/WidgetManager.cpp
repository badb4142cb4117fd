// Pointer and keyboard dispatch, focus and capture, modal widgets, and the update and draw passes.
#include "framework/widgets/WidgetManager.h"

#include <algorithm>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetHost.h"
#include "platform/Keys.h"

namespace Vel {

namespace {

constexpr int kButtonBits[] = {WidgetManager::kButtonLeft, WidgetManager::kButtonRight,
                               WidgetManager::kButtonMiddle};
// The click count a release of each button carries, matching how presses arrive.
constexpr int kReleaseCounts[] = {1, -1, 3};

int ButtonBitForCount(int clickCount)
{
    if (clickCount < 0)
        return WidgetManager::kButtonRight;
    if (clickCount == 3)
        return WidgetManager::kButtonMiddle;
    return WidgetManager::kButtonLeft;
}

int ButtonIdForCount(int clickCount)
{
    if (clickCount < 0)
        return -1;
    if (clickCount == 3)
        return 2;
    return 1;
}

bool IsAncestorOrSelf(const WidgetContainer* ancestor, const WidgetContainer* w)
{
    for (const WidgetContainer* c = w; c != nullptr; c = c->m_parent)
        if (c == ancestor)
            return true;
    return false;
}

} // namespace

WidgetManager::WidgetManager(WidgetHost* host) : m_host(host)
{
    m_widgetManager = this;
    m_belowModalFlagsMod = m_defaultBelowModalFlagsMod;
}

WidgetManager::~WidgetManager()
{
    RemoveAllWidgets(false, false);
}

ModalFlags WidgetManager::InitModalFlags() const
{
    ModalFlags flags;
    flags.overFlags = m_hasFocus ? m_widgetFlags : m_lostFocusFlagsMod.Apply(m_widgetFlags);
    flags.underFlags = m_belowModalFlagsMod.Apply(flags.overFlags);
    flags.isOver = m_baseModalWidget == nullptr;
    return flags;
}

bool WidgetManager::IsInTree(const Widget* w) const
{
    if (w == nullptr)
        return false;
    // Compares pointers only, so a stale pointer is never followed.
    auto walk = [w](auto& self, const WidgetContainer& c) -> bool {
        for (const Widget* child : c.m_widgets)
            if (child == w || self(self, *child))
                return true;
        return false;
    };
    return walk(walk, *this);
}

bool WidgetManager::IsBelowModal(const Widget* w) const
{
    if (m_baseModalWidget == nullptr || w == nullptr || w == m_baseModalWidget)
        return false;
    if (IsAncestorOrSelf(w, m_baseModalWidget))
        return false;
    return IsBelow(w, m_baseModalWidget);
}

int WidgetManager::GetWidgetFlags(const Widget* w)
{
    ModalFlags flags = InitModalFlags();
    flags.isOver = !IsBelowModal(w);
    std::vector<const WidgetContainer*> path;
    for (const WidgetContainer* c = w; c != nullptr; c = c->m_parent)
        path.push_back(c);
    for (auto it = path.rbegin(); it != path.rend(); ++it)
        flags.Modify((*it)->m_widgetFlagsMod);
    return flags.GetFlags();
}

Widget* WidgetManager::GetWidgetAt(int x, int y, int* localX, int* localY)
{
    ModalFlags flags = InitModalFlags();
    flags.isOver = true; // searched front to back: the modal widget comes before what it covers
    flags.Modify(m_widgetFlagsMod);
    int lx = 0;
    int ly = 0;
    Widget* hit = FindWidgetAt(flags, x, y, &lx, &ly);
    if (hit != nullptr && hit->m_disabled)
        hit = nullptr;
    if (localX != nullptr)
        *localX = hit != nullptr ? lx : 0;
    if (localY != nullptr)
        *localY = hit != nullptr ? ly : 0;
    return hit;
}

void WidgetManager::SendMouseUps(Widget* w, int buttons)
{
    for (int i = 0; i < 3; ++i) {
        if ((buttons & kButtonBits[i]) == 0)
            continue;
        const WidgetPoint abs = w->GetAbsPos();
        w->MouseUp(m_lastMouseX - abs.x, m_lastMouseY - abs.y, kReleaseCounts[i]);
    }
}

void WidgetManager::DisableWidget(Widget* w)
{
    if (w == nullptr)
        return;
    if (w == m_overWidget) {
        m_overWidget = nullptr;
        LeaveWidget(w);
    }
    if (w == m_lastDownWidget) {
        const int buttons = m_downButtons;
        m_lastDownWidget = nullptr;
        m_downButtons = 0;
        w->m_isDown = false;
        SendMouseUps(w, buttons);
    }
    if (w == m_focusWidget) {
        m_focusWidget = nullptr;
        w->m_hasFocus = false;
        w->OnFocusLost();
    }
    if (w == m_baseModalWidget)
        m_baseModalWidget = nullptr;
}

void WidgetManager::ForgetWidget(Widget* w)
{
    DisableWidget(w);
    for (PreModalInfo& info : m_preModalInfoList) {
        if (info.prevBaseModalWidget == w)
            info.prevBaseModalWidget = nullptr;
        if (info.prevFocusWidget == w)
            info.prevFocusWidget = nullptr;
    }
    if (m_defaultTab == w)
        m_defaultTab = nullptr;
    if (m_popupCommandWidget == w)
        m_popupCommandWidget = nullptr;
    std::erase_if(m_deferredOverlayWidgets, [w](const DeferredOverlay& o) { return o.widget == w; });
}

void WidgetManager::SetFocus(Widget* w)
{
    if (w != nullptr && !IsInTree(w))
        w = nullptr;
    if (w == m_focusWidget)
        return;
    Widget* old = m_focusWidget;
    m_focusWidget = nullptr;
    if (old != nullptr) {
        old->m_hasFocus = false;
        old->OnFocusLost();
    }
    // The old widget's callback may have moved the focus itself or taken w out of the tree.
    if (w == nullptr || m_focusWidget != nullptr || !IsInTree(w))
        return;
    m_focusWidget = w;
    if (m_hasFocus) {
        w->m_hasFocus = true;
        w->OnFocusGained();
    }
}

void WidgetManager::AddBaseModal(Widget* w, const FlagsMod& belowFlags)
{
    if (w == nullptr)
        return;
    m_preModalInfoList.push_back({w, m_baseModalWidget, m_focusWidget, m_belowModalFlagsMod});
    m_baseModalWidget = w;
    m_belowModalFlagsMod = belowFlags;

    const ModalFlags flags = InitModalFlags();
    if ((flags.underFlags & kWidgetAllowMouse) == 0) {
        if (m_overWidget != nullptr && IsBelowModal(m_overWidget)) {
            Widget* over = m_overWidget;
            m_overWidget = nullptr;
            LeaveWidget(over);
        }
        if (m_lastDownWidget != nullptr && IsBelowModal(m_lastDownWidget)) {
            Widget* down = m_lastDownWidget;
            const int buttons = m_downButtons;
            m_lastDownWidget = nullptr;
            m_downButtons = 0;
            down->m_isDown = false;
            SendMouseUps(down, buttons);
        }
    }
    if ((flags.underFlags & kWidgetAllowFocus) == 0 && m_focusWidget != nullptr &&
        IsBelowModal(m_focusWidget))
        SetFocus(nullptr);
    RehupMouse();
}

void WidgetManager::AddBaseModal(Widget* w)
{
    AddBaseModal(w, m_defaultBelowModalFlagsMod);
}

void WidgetManager::RemoveBaseModal(Widget* w)
{
    auto found = std::find_if(m_preModalInfoList.rbegin(), m_preModalInfoList.rend(),
                              [w](const PreModalInfo& info) { return info.modalFor == w; });
    if (found == m_preModalInfoList.rend())
        return;
    const size_t keep = size_t(std::distance(found, m_preModalInfoList.rend())) - 1;
    PreModalInfo restored;
    while (m_preModalInfoList.size() > keep) {
        restored = m_preModalInfoList.back();
        m_preModalInfoList.pop_back();
    }
    m_baseModalWidget = restored.prevBaseModalWidget;
    m_belowModalFlagsMod = restored.prevBelowModalFlagsMod;
    SetFocus(restored.prevFocusWidget);
    RehupMouse();
}

void WidgetManager::SetPopupCommandWidget(Widget* w)
{
    RemovePopupCommandWidget();
    if (w == nullptr)
        return;
    m_popupCommandWidget = w;
    AddWidget(w);
}

void WidgetManager::RemovePopupCommandWidget()
{
    Widget* popup = m_popupCommandWidget;
    if (popup == nullptr)
        return;
    m_popupCommandWidget = nullptr;
    if (popup->m_parent != nullptr)
        popup->m_parent->RemoveWidget(popup);
    if (m_host != nullptr)
        m_host->SafeDeleteWidget(popup);
    else
        delete popup;
}

void WidgetManager::DeferOverlay(Widget* w, int priority)
{
    if (w == nullptr)
        return;
    m_deferredOverlayWidgets.push_back({w, priority});
    m_minDeferredOverlayPriority = std::min(m_minDeferredOverlayPriority, priority);
}

void WidgetManager::FlushOverlays(bool all, int belowPriority)
{
    if (m_currentG == nullptr)
        return;
    while (!m_deferredOverlayWidgets.empty()) {
        auto lowest = std::min_element(
            m_deferredOverlayWidgets.begin(), m_deferredOverlayWidgets.end(),
            [](const DeferredOverlay& a, const DeferredOverlay& b) { return a.priority < b.priority; });
        if (!all && lowest->priority >= belowPriority)
            break;
        const DeferredOverlay overlay = *lowest;
        m_deferredOverlayWidgets.erase(lowest); // first, so an overlay that defers again cannot loop
        Graphics g(*m_currentG);
        const WidgetPoint abs = overlay.widget->GetAbsPos();
        g.Translate(float(abs.x), float(abs.y));
        overlay.widget->PaintOverlay(&g, overlay.priority);
    }
    m_minDeferredOverlayPriority = INT_MAX;
    for (const DeferredOverlay& o : m_deferredOverlayWidgets)
        m_minDeferredOverlayPriority = std::min(m_minDeferredOverlayPriority, o.priority);
}

void WidgetManager::FlushDeferredOverlayWidgets(int belowPriority)
{
    FlushOverlays(false, belowPriority);
}

bool WidgetManager::RunUpdatePass()
{
    ++m_updateCount;
    ModalFlags flags = InitModalFlags();
    UpdateAll(flags);
    return m_dirty;
}

void WidgetManager::RunPartialUpdatePass(double fraction)
{
    ModalFlags flags = InitModalFlags();
    PartialUpdateAll(flags, fraction);
}

bool WidgetManager::DrawScreen()
{
    ModalFlags flags = InitModalFlags();
    m_deferredOverlayWidgets.clear();
    m_minDeferredOverlayPriority = INT_MAX;
    if (m_image == nullptr)
        return false;

    flags.Modify(m_widgetFlagsMod);
    Graphics g(m_image);
    m_currentG = &g;
    const bool anyDirty =
        std::any_of(m_widgets.begin(), m_widgets.end(), [](const Widget* w) { return w->m_dirty; });
    bool drawn = false;
    if (anyDirty) {
        const bool is3D = m_host != nullptr && m_host->Is3D();
        for (Widget* w : m_widgets) {
            if (w == m_baseModalWidget)
                flags.isOver = true;
            if (w->m_dirty && w->m_visible) {
                Graphics widgetG(g);
                widgetG.Translate(float(w->m_x), float(w->m_y));
                widgetG.SetFastStretch(!is3D);
                w->DrawAll(flags, &widgetG);
                drawn = true;
            }
            // Hidden widgets count as drawn, so showing them again marks them dirty afresh.
            w->m_dirty = false;
            if (m_baseModalWidget != nullptr && IsAncestorOrSelf(w, m_baseModalWidget))
                flags.isOver = true;
        }
    }
    FlushOverlays(true, INT_MAX);
    m_currentG = nullptr;
    m_dirty = false;
    return drawn;
}

void WidgetManager::SetMouseRects(const Rect& src, const Rect& dest)
{
    m_mouseSourceRect = src;
    m_mouseDestRect = dest;
}

void WidgetManager::MapMouse(int& x, int& y) const
{
    if (m_mouseSourceRect.IsEmpty() || m_mouseDestRect.IsEmpty())
        return;
    x = int((long long)(x - m_mouseSourceRect.x) * m_mouseDestRect.width / m_mouseSourceRect.width) +
        m_mouseDestRect.x;
    y = int((long long)(y - m_mouseSourceRect.y) * m_mouseDestRect.height / m_mouseSourceRect.height) +
        m_mouseDestRect.y;
}

void WidgetManager::EnterWidget(Widget* w)
{
    w->m_isOver = true;
    w->MouseEnter();
    if (w->m_doFinger)
        w->ShowFinger(true);
}

void WidgetManager::LeaveWidget(Widget* w)
{
    w->m_isOver = false;
    w->MouseLeave();
    if (w->m_doFinger)
        w->ShowFinger(false);
}

void WidgetManager::MousePosition(int x, int y)
{
    const int prevX = m_lastMouseX;
    const int prevY = m_lastMouseY;
    m_lastMouseX = x;
    m_lastMouseY = y;

    int localX = 0;
    int localY = 0;
    Widget* at = GetWidgetAt(x, y, &localX, &localY);
    Widget* prevOver = m_overWidget;
    if (at != m_overWidget) {
        Widget* old = m_overWidget;
        m_overWidget = nullptr;
        if (old != nullptr)
            LeaveWidget(old);
        // The leave callback may have changed the tree.
        if (at != nullptr && !IsInTree(at))
            at = nullptr;
        if (at != nullptr && m_overWidget == nullptr) {
            m_overWidget = at;
            EnterWidget(at);
        }
    }
    if (at != nullptr && at == m_overWidget && (at != prevOver || x != prevX || y != prevY))
        at->MouseMove(localX, localY);
}

void WidgetManager::MouseDrag(int x, int y)
{
    m_mouseIn = true;
    m_lastMouseX = x;
    m_lastMouseY = y;
    if (m_overWidget != nullptr && m_overWidget != m_lastDownWidget) {
        Widget* over = m_overWidget;
        m_overWidget = nullptr;
        LeaveWidget(over);
    }
    if (m_lastDownWidget != nullptr) {
        const WidgetPoint abs = m_lastDownWidget->GetAbsPos();
        m_lastDownWidget->MouseDrag(x - abs.x, y - abs.y);
    }
    Widget* at = GetWidgetAt(x, y);
    if (at != nullptr && at == m_lastDownWidget) {
        if (m_overWidget != at) {
            m_overWidget = at;
            EnterWidget(at);
        }
    } else if (m_overWidget != nullptr) {
        Widget* over = m_overWidget;
        m_overWidget = nullptr;
        LeaveWidget(over);
    }
}

void WidgetManager::RehupMouse()
{
    if (!m_mouseIn)
        return;
    if (m_lastDownWidget != nullptr && m_downButtons != 0) {
        // Captured: only the pressed widget can be over, as during a drag.
        Widget* at = GetWidgetAt(m_lastMouseX, m_lastMouseY);
        if (at != nullptr && at == m_lastDownWidget) {
            if (m_overWidget != at) {
                m_overWidget = at;
                EnterWidget(at);
            }
        } else if (m_overWidget != nullptr) {
            Widget* over = m_overWidget;
            m_overWidget = nullptr;
            LeaveWidget(over);
        }
        return;
    }
    MousePosition(m_lastMouseX, m_lastMouseY);
}

void WidgetManager::MouseMove(int x, int y)
{
    MapMouse(x, y);
    m_lastInputUpdateCount = m_updateCount;
    if (m_downButtons != 0 || m_actualDownButtons != 0) {
        MouseDrag(x, y);
        return;
    }
    m_mouseIn = true;
    MousePosition(x, y);
}

void WidgetManager::MouseDown(int x, int y, int clickCount)
{
    MapMouse(x, y);
    m_lastInputUpdateCount = m_updateCount;
    const int bit = ButtonBitForCount(clickCount);
    m_actualDownButtons |= bit;
    m_mouseIn = true;

    const bool captured = m_lastDownWidget != nullptr && m_downButtons != 0;
    if (!captured)
        MousePosition(x, y);
    else {
        m_lastMouseX = x;
        m_lastMouseY = y;
    }

    if (m_popupCommandWidget != nullptr) {
        const WidgetPoint abs = m_popupCommandWidget->GetAbsPos();
        const Rect area(abs.x, abs.y, m_popupCommandWidget->m_width, m_popupCommandWidget->m_height);
        if (!area.Contains(x, y))
            RemovePopupCommandWidget();
    }

    Widget* target = nullptr;
    int localX = 0;
    int localY = 0;
    if (m_lastDownWidget != nullptr && m_downButtons != 0) {
        target = m_lastDownWidget;
        const WidgetPoint abs = target->GetAbsPos();
        localX = x - abs.x;
        localY = y - abs.y;
    } else {
        target = GetWidgetAt(x, y, &localX, &localY);
    }

    m_lastDownButtonId = ButtonIdForCount(clickCount);
    m_lastDownWidget = target;
    if (target == nullptr) {
        m_downButtons = 0;
        return;
    }
    m_downButtons |= bit;
    if (target->WantsFocus() && (GetWidgetFlags(target) & kWidgetAllowFocus) != 0)
        SetFocus(target);
    // A focus callback may have taken the widget away.
    if (m_lastDownWidget != target)
        return;
    target->m_isDown = true;
    target->MouseDown(localX, localY, clickCount);
}

void WidgetManager::MouseUp(int x, int y, int clickCount)
{
    MapMouse(x, y);
    m_lastInputUpdateCount = m_updateCount;
    const int bit = ButtonBitForCount(clickCount);
    m_actualDownButtons &= ~bit;
    m_lastMouseX = x;
    m_lastMouseY = y;
    if (m_lastDownWidget != nullptr && (m_downButtons & bit) != 0) {
        Widget* w = m_lastDownWidget;
        m_downButtons &= ~bit;
        if (m_downButtons == 0)
            m_lastDownWidget = nullptr;
        w->m_isDown = false;
        // Local coordinates, as MouseDown and MouseDrag get them.
        const WidgetPoint abs = w->GetAbsPos();
        w->MouseUp(x - abs.x, y - abs.y, clickCount);
    } else {
        m_downButtons &= ~bit;
    }
    if (m_lastDownWidget == nullptr || m_downButtons == 0)
        MousePosition(x, y);
}

void WidgetManager::MouseExit(int x, int y)
{
    MapMouse(x, y);
    m_lastMouseX = x;
    m_lastMouseY = y;
    m_mouseIn = false;
    if (m_overWidget != nullptr) {
        Widget* over = m_overWidget;
        m_overWidget = nullptr;
        LeaveWidget(over);
    }
}

void WidgetManager::MouseWheel(int delta)
{
    m_lastInputUpdateCount = m_updateCount;
    if (m_focusWidget != nullptr)
        m_focusWidget->MouseWheel(delta);
}

void WidgetManager::KeyDown(int key)
{
    m_lastInputUpdateCount = m_updateCount;
    if (key >= 0 && key < kKeyCount)
        m_keyDown[size_t(key)] = true;
    // Ctrl+Tab belongs to the default-tab widget (as a character); the focus widget must not
    // also move the focus on it.
    if (key == Plat::kKeyTab && IsKeyDown(Plat::kKeyControl))
        return;
    if (m_focusWidget != nullptr)
        m_focusWidget->KeyDown(key);
}

void WidgetManager::KeyUp(int key)
{
    m_lastInputUpdateCount = m_updateCount;
    if (key >= 0 && key < kKeyCount)
        m_keyDown[size_t(key)] = false;
    if (key == Plat::kKeyTab && IsKeyDown(Plat::kKeyControl))
        return;
    if (m_focusWidget != nullptr)
        m_focusWidget->KeyUp(key);
}

void WidgetManager::KeyChar(char c)
{
    m_lastInputUpdateCount = m_updateCount;
    if (c == '\t' && IsKeyDown(Plat::kKeyControl)) {
        if (m_defaultTab != nullptr)
            m_defaultTab->KeyChar(c);
        return;
    }
    if (m_focusWidget != nullptr)
        m_focusWidget->KeyChar(c);
}

void WidgetManager::GotFocus()
{
    if (m_hasFocus)
        return;
    m_hasFocus = true;
    if (m_focusWidget != nullptr) {
        m_focusWidget->m_hasFocus = true;
        m_focusWidget->OnFocusGained();
    }
}

void WidgetManager::LostFocus()
{
    m_actualDownButtons = 0;
    for (int key = 0; key < kKeyCount; ++key)
        if (m_keyDown[size_t(key)])
            KeyUp(key);
    if (m_hasFocus) {
        m_hasFocus = false;
        if (m_focusWidget != nullptr) {
            m_focusWidget->m_hasFocus = false;
            m_focusWidget->OnFocusLost();
        }
    }
    ReleaseAllButtons();
}

void WidgetManager::ReleaseAllButtons()
{
    Widget* w = m_lastDownWidget;
    const int buttons = m_downButtons;
    m_lastDownWidget = nullptr;
    m_downButtons = 0;
    m_actualDownButtons = 0;
    if (w == nullptr)
        return;
    w->m_isDown = false;
    SendMouseUps(w, buttons);
}

} // namespace Vel
