// Child lists, dirty marking and the update and draw traversals shared by widgets and the manager.
#include "framework/widgets/WidgetContainer.h"

#include <algorithm>

#include "framework/graphics/Graphics.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

namespace Vel {

namespace {

// Applies a container's own modifier to the flag sets for the length of a scope; which of the
// two sets is in force (isOver) is not restored, since passing the modal widget is permanent.
class FlagsScope {
public:
    FlagsScope(ModalFlags& flags, const FlagsMod& mod)
        : m_flags(flags), m_over(flags.overFlags), m_under(flags.underFlags)
    {
        flags.Modify(mod);
    }
    ~FlagsScope()
    {
        m_flags.overFlags = m_over;
        m_flags.underFlags = m_under;
    }
    FlagsScope(const FlagsScope&) = delete;
    FlagsScope& operator=(const FlagsScope&) = delete;

private:
    ModalFlags& m_flags;
    int m_over;
    int m_under;
};

// Visits children in list order with the pass position kept in the container, so that children
// removed or moved by a callback neither make the pass skip a sibling nor run one twice.
template <typename Fn>
void ForEachChildSafely(WidgetContainer& container, Fn&& fn)
{
    const bool outerPass = container.m_inUpdatePass;
    const auto outerIterator = container.m_updateIterator;
    container.m_inUpdatePass = true;
    container.m_updateIterator = container.m_widgets.begin();
    while (container.m_updateIterator != container.m_widgets.end()) {
        container.m_updateIteratorModified = false;
        Widget* child = *container.m_updateIterator;
        fn(child);
        if (!container.m_updateIteratorModified)
            ++container.m_updateIterator;
    }
    container.m_inUpdatePass = outerPass;
    if (outerPass) {
        // A callback ran a pass over this same list from inside the outer one: that pass has
        // covered the children, so the outer one ends here (marked moved, so it does not step on).
        container.m_updateIterator = container.m_widgets.end();
        container.m_updateIteratorModified = true;
    } else {
        container.m_updateIterator = outerIterator;
        container.m_updateIteratorModified = false;
    }
}

} // namespace

WidgetContainer::~WidgetContainer()
{
    for (Widget* w : m_widgets) {
        w->m_parent = nullptr;
        w->m_widgetManager = nullptr;
    }
    m_widgets.clear();
}

Rect WidgetContainer::GetRect() const
{
    return Rect(m_x, m_y, m_width, m_height);
}

bool WidgetContainer::Intersects(const WidgetContainer* other) const
{
    return other != nullptr && GetRect().Intersects(other->GetRect());
}

WidgetContainer::WidgetList::iterator WidgetContainer::Find(const Widget* w)
{
    return std::find(m_widgets.begin(), m_widgets.end(), w);
}

bool WidgetContainer::HasWidget(const Widget* w) const
{
    return std::find(m_widgets.begin(), m_widgets.end(), w) != m_widgets.end();
}

void WidgetContainer::InsertWidget(Widget* w, WidgetList::iterator pos)
{
    m_widgets.insert(pos, w);
}

void WidgetContainer::AddWidget(Widget* w)
{
    if (w == nullptr || w == this || HasWidget(w))
        return;
    // A widget lives in one tree at a time; adding it elsewhere moves it.
    if (w->m_parent != nullptr)
        w->m_parent->RemoveWidget(w);

    auto pos = m_widgets.begin();
    while (pos != m_widgets.end() && (*pos)->m_zOrder <= w->m_zOrder)
        ++pos;
    InsertWidget(w, pos);

    w->m_widgetManager = m_widgetManager;
    w->m_parent = this;
    if (m_widgetManager != nullptr) {
        w->OnAttached(m_widgetManager);
        w->MarkDirtyFull();
        m_widgetManager->RehupMouse();
    }
    MarkDirty();
}

void WidgetContainer::DetachChild(Widget* w)
{
    WidgetManager* manager = m_widgetManager;
    if (manager == nullptr)
        return;
    // Children first, so the manager forgets every widget of the subtree.
    for (Widget* child : w->m_widgets)
        if (child->m_widgetManager != nullptr)
            w->DetachChild(child);
    manager->ForgetWidget(w);
    w->OnDetached(manager);
    w->MarkDirtyFull();
    w->m_widgetManager = nullptr;
}

void WidgetContainer::RemoveWidget(Widget* w)
{
    auto it = Find(w);
    if (it == m_widgets.end())
        return;
    if (m_widgetManager != nullptr && w->m_widgetManager != nullptr)
        DetachChild(w);
    // Callbacks during the detach may have reordered or removed it already.
    it = Find(w);
    if (it == m_widgets.end())
        return;
    w->m_parent = nullptr;
    if (m_inUpdatePass && it == m_updateIterator) {
        m_updateIterator = m_widgets.erase(it);
        m_updateIteratorModified = true;
    } else {
        m_widgets.erase(it);
    }
    MarkDirty();
}

void WidgetContainer::RemoveAllWidgets(bool doDelete, bool recursive)
{
    while (!m_widgets.empty()) {
        Widget* w = m_widgets.front();
        RemoveWidget(w);
        if (HasWidget(w)) // a callback put it back; give up rather than loop
            break;
        if (recursive)
            w->RemoveAllWidgets(doDelete, recursive);
        if (doDelete)
            delete w;
    }
}

bool WidgetContainer::IsBelow(const Widget* a, const Widget* b) const
{
    // Pre-order (drawing order) walk: whichever of the two comes first is below the other.
    bool found = false;
    bool aFirst = false;
    auto walk = [&](auto& self, const WidgetContainer& c) -> void {
        for (const Widget* w : c.m_widgets) {
            if (found)
                return;
            if (w == a || w == b) {
                found = true;
                aFirst = (w == a) && (a != b);
                return;
            }
            self(self, *w);
        }
    };
    walk(walk, *this);
    return aFirst;
}

void WidgetContainer::MarkAllDirty()
{
    MarkDirty();
    for (Widget* w : m_widgets) {
        w->m_dirty = true;
        w->MarkAllDirty();
    }
}

void WidgetContainer::MoveChild(Widget* w, WidgetList::iterator pos)
{
    auto it = Find(w);
    if (it == m_widgets.end() || it == pos)
        return;
    if (m_inUpdatePass && it == m_updateIterator) {
        // The pass goes on with the child that followed, not from the moved child's new place.
        ++m_updateIterator;
        m_updateIteratorModified = true;
    }
    m_widgets.splice(pos, m_widgets, it);
    w->OrderInManagerChanged();
    MarkDirty();
    w->MarkDirty();
}

void WidgetContainer::BringToFront(Widget* w)
{
    MoveChild(w, m_widgets.end());
}

void WidgetContainer::BringToBack(Widget* w)
{
    MoveChild(w, m_widgets.begin());
}

void WidgetContainer::PutBehind(Widget* w, Widget* ref)
{
    if (w == ref || !HasWidget(w))
        return;
    auto refIt = Find(ref);
    if (refIt != m_widgets.end())
        MoveChild(w, refIt);
}

void WidgetContainer::PutInFront(Widget* w, Widget* ref)
{
    if (w == ref || !HasWidget(w))
        return;
    auto refIt = Find(ref);
    if (refIt != m_widgets.end())
        MoveChild(w, std::next(refIt));
}

WidgetPoint WidgetContainer::GetAbsPos() const
{
    WidgetPoint p{m_x, m_y};
    if (m_parent != nullptr) {
        const WidgetPoint parent = m_parent->GetAbsPos();
        p.x += parent.x;
        p.y += parent.y;
    }
    return p;
}

void WidgetContainer::MarkDirty()
{
    if (m_parent != nullptr)
        m_parent->MarkDirty(this);
    else
        m_dirty = true;
}

void WidgetContainer::MarkDirtyFull()
{
    if (m_parent != nullptr)
        m_parent->MarkDirtyFull(this);
    else
        m_dirty = true;
}

void WidgetContainer::MarkDirty(WidgetContainer* child)
{
    if (child->m_dirty)
        return;
    MarkDirty();
    child->m_dirty = true;
    if (!IsRoot())
        return;
    if (child->m_hasAlpha) {
        MarkDirtyFull(child);
        return;
    }
    // An opaque widget repaints its own area; whatever lies in front of it there must follow.
    auto it = std::find(m_widgets.begin(), m_widgets.end(), child);
    if (it == m_widgets.end())
        return;
    for (++it; it != m_widgets.end(); ++it) {
        Widget* w = *it;
        if (w->m_visible && w->Intersects(child))
            w->m_dirty = true;
    }
}

void WidgetContainer::MarkDirtyFull(WidgetContainer* child)
{
    MarkDirtyFull();
    child->m_dirty = true;
    if (!IsRoot())
        return;
    auto it = std::find(m_widgets.begin(), m_widgets.end(), child);
    if (it == m_widgets.end())
        return;
    const Rect area = child->GetRect();
    // Behind: repaint down to the first opaque widget that covers the whole area.
    for (auto back = std::make_reverse_iterator(it); back != m_widgets.rend(); ++back) {
        Widget* w = *back;
        if (!w->m_visible)
            continue;
        if (!w->m_hasTransparencies && !w->m_hasAlpha && w->Contains(area.x, area.y) &&
            w->Contains(area.x + area.width - 1, area.y + area.height - 1)) {
            w->m_dirty = true;
            break;
        }
        if (w->Intersects(child))
            w->m_dirty = true;
    }
    for (auto front = std::next(it); front != m_widgets.end(); ++front) {
        Widget* w = *front;
        if (w->m_visible && w->Intersects(child))
            w->m_dirty = true;
    }
}

void WidgetContainer::OnAttached(WidgetManager* manager)
{
    for (Widget* w : m_widgets) {
        w->m_widgetManager = manager;
        w->OnAttached(manager);
        w->MarkDirty();
    }
}

void WidgetContainer::OnDetached(WidgetManager* manager)
{
    for (Widget* w : m_widgets) {
        if (w->m_widgetManager == nullptr)
            continue;
        manager->DisableWidget(w);
        w->OnDetached(manager);
        w->m_widgetManager = nullptr;
    }
    if (manager->m_popupCommandWidget == this)
        manager->m_popupCommandWidget = nullptr;
}

void WidgetContainer::Update()
{
    ++m_updateCount;
}

void WidgetContainer::UpdateAll(ModalFlags& flags)
{
    FlagsScope scope(flags, m_widgetFlagsMod);
    const int inForce = flags.GetFlags();
    if (inForce & kWidgetMarkDirty)
        MarkDirty();
    if ((inForce & kWidgetUpdate) && m_widgetManager != nullptr &&
        m_lastWMUpdateCount != m_widgetManager->m_updateCount) {
        m_lastWMUpdateCount = m_widgetManager->m_updateCount;
        Update();
    }
    const Widget* modal = m_widgetManager != nullptr ? m_widgetManager->m_baseModalWidget : nullptr;
    ForEachChildSafely(*this, [&](Widget* child) {
        if (child == modal)
            flags.isOver = true;
        child->UpdateAll(flags);
    });
}

void WidgetContainer::PartialUpdateAll(ModalFlags& flags, double fraction)
{
    FlagsScope scope(flags, m_widgetFlagsMod);
    if (flags.GetFlags() & kWidgetUpdate)
        PartialUpdate(fraction);
    const Widget* modal = m_widgetManager != nullptr ? m_widgetManager->m_baseModalWidget : nullptr;
    ForEachChildSafely(*this, [&](Widget* child) {
        if (child == modal)
            flags.isOver = true;
        child->PartialUpdateAll(flags, fraction);
    });
}

void WidgetContainer::DrawAll(ModalFlags& flags, Graphics* g)
{
    if (m_widgetManager != nullptr && m_priority > m_widgetManager->m_minDeferredOverlayPriority)
        m_widgetManager->FlushDeferredOverlayWidgets(m_priority);

    FlagsScope scope(flags, m_widgetFlagsMod);
    if (m_clip && (flags.GetFlags() & kWidgetClip))
        g->ClipRect(0, 0, m_width, m_height);

    const Widget* modal = m_widgetManager != nullptr ? m_widgetManager->m_baseModalWidget : nullptr;
    if (flags.GetFlags() & kWidgetDraw) {
        g->PushState();
        Draw(g);
        g->PopState();
    }
    for (Widget* child : m_widgets) {
        if (child == modal)
            flags.isOver = true;
        // A hidden child is clean too: otherwise showing it again would find it still dirty and
        // never ask this container to redraw.
        if (child->m_visible) {
            Graphics childG(*g);
            childG.Translate(float(child->m_x), float(child->m_y));
            child->DrawAll(flags, &childG);
        }
        child->m_dirty = false;
    }
}

void WidgetContainer::SysColorChangedAll()
{
    SysColorChanged();
    for (Widget* w : m_widgets)
        w->SysColorChangedAll();
}

Widget* WidgetContainer::FindWidgetAt(ModalFlags& flags, int x, int y, int* localX, int* localY)
{
    const Widget* modal = m_widgetManager != nullptr ? m_widgetManager->m_baseModalWidget : nullptr;
    for (auto it = m_widgets.rbegin(); it != m_widgets.rend(); ++it) {
        Widget* child = *it;
        Widget* hit = nullptr;
        {
            FlagsScope scope(flags, child->m_widgetFlagsMod);
            if (child->m_visible && (flags.GetFlags() & kWidgetAllowMouse)) {
                hit = child->FindWidgetAt(flags, x - child->m_x, y - child->m_y, localX, localY);
                if (hit == nullptr && child->m_mouseVisible && child->GetInsetRect().Contains(x, y) &&
                    child->IsPointVisible(x - child->m_x, y - child->m_y)) {
                    hit = child;
                    if (localX != nullptr)
                        *localX = x - child->m_x;
                    if (localY != nullptr)
                        *localY = y - child->m_y;
                }
            }
        }
        // Everything behind the modal widget is searched with the below-modal set.
        if (child == modal)
            flags.isOver = false;
        if (hit != nullptr)
            return hit;
    }
    return nullptr;
}

} // namespace Vel
