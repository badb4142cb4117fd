// The tree node every widget and the widget manager are built on: an ordered child list, position,
// dirty marking, and the update and draw traversals with their flag sets.
#pragma once

#include <climits>
#include <list>

#include "framework/graphics/Rect.h"

namespace Vel {

class Graphics;
class Widget;
class WidgetManager;

// Bits of a traversal's flag set.
enum WidgetFlags : int {
    kWidgetUpdate = 1,     // Update() is called
    kWidgetMarkDirty = 2,  // marked dirty on every update tick
    kWidgetDraw = 4,       // Draw() is called
    kWidgetClip = 8,       // drawing is clipped to the widget's rectangle
    kWidgetAllowMouse = 16,
    kWidgetAllowFocus = 32,
};

constexpr int kDefaultWidgetFlags =
    kWidgetUpdate | kWidgetDraw | kWidgetClip | kWidgetAllowMouse | kWidgetAllowFocus;

// flags' = (flags | add) & ~remove
struct FlagsMod {
    int addFlags = 0;
    int removeFlags = 0;

    constexpr int Apply(int flags) const { return (flags | addFlags) & ~removeFlags; }
    constexpr bool operator==(const FlagsMod&) const = default;
};

// The two flag sets of a traversal. Widgets behind the modal widget use `underFlags`; the modal
// widget and everything in front of it use `overFlags`. `isOver` tells which set is in force.
struct ModalFlags {
    int overFlags = kDefaultWidgetFlags;
    int underFlags = kDefaultWidgetFlags;
    bool isOver = true;

    int GetFlags() const { return isOver ? overFlags : underFlags; }
    void Modify(const FlagsMod& mod)
    {
        overFlags = mod.Apply(overFlags);
        underFlags = mod.Apply(underFlags);
    }
};

struct WidgetPoint {
    int x = 0;
    int y = 0;
    constexpr bool operator==(const WidgetPoint&) const = default;
};

class WidgetContainer {
public:
    using WidgetList = std::list<Widget*>;

    WidgetContainer() = default;
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;
    // Children are not deleted; they are left detached (no parent, no manager).
    virtual ~WidgetContainer();

    virtual Rect GetRect() const;
    virtual bool Intersects(const WidgetContainer* other) const;
    // Inserts after every child whose zOrder is not above w's (equal orders: newest in front).
    virtual void AddWidget(Widget* w);
    virtual void RemoveWidget(Widget* w);
    virtual bool HasWidget(const Widget* w) const;
    virtual void DisableWidget(Widget* w) { (void)w; }
    virtual void RemoveAllWidgets(bool doDelete = false, bool recursive = false);
    virtual void SetFocus(Widget* w) { (void)w; }
    // True when `a` is drawn before (behind) `b` in this tree.
    virtual bool IsBelow(const Widget* a, const Widget* b) const;
    virtual void MarkAllDirty();
    virtual void BringToFront(Widget* w);
    virtual void BringToBack(Widget* w);
    virtual void PutBehind(Widget* w, Widget* ref);
    virtual void PutInFront(Widget* w, Widget* ref);
    // Position of this container's origin in screen coordinates.
    virtual WidgetPoint GetAbsPos() const;
    virtual void MarkDirty(WidgetContainer* child);
    virtual void MarkDirty();
    virtual void MarkDirtyFull(WidgetContainer* child);
    virtual void MarkDirtyFull();
    virtual void OnAttached(WidgetManager* manager);
    virtual void OnDetached(WidgetManager* manager);
    virtual void Update();
    virtual void UpdateAll(ModalFlags& flags);
    virtual void PartialUpdate(double fraction) { (void)fraction; }
    virtual void PartialUpdateAll(ModalFlags& flags, double fraction);
    virtual void Draw(Graphics* g) { (void)g; }
    virtual void DrawAll(ModalFlags& flags, Graphics* g);
    virtual void SysColorChangedAll();
    virtual void SysColorChanged() {}

    const WidgetList& GetChildren() const { return m_widgets; }
    WidgetContainer* GetParent() const { return m_parent; }
    WidgetManager* GetManager() const { return m_widgetManager; }

    WidgetList m_widgets; // back-most first
    WidgetManager* m_widgetManager = nullptr;
    WidgetContainer* m_parent = nullptr;
    // An update pass over m_widgets keeps its place here; removing or moving the child at that
    // place advances it and sets the flag, so the pass neither skips nor repeats a child.
    bool m_updateIteratorModified = false;
    WidgetList::iterator m_updateIterator{};
    bool m_inUpdatePass = false;
    int m_lastWMUpdateCount = -1; // manager update count this container last ran Update() for
    int m_updateCount = 0;
    bool m_dirty = false;
    int m_x = 0;
    int m_y = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_hasAlpha = false; // does not cover its rectangle opaquely
    bool m_clip = true;
    FlagsMod m_widgetFlagsMod;
    int m_priority = 0; // deferred overlays below this priority are drawn before this widget
    int m_zOrder = 0;

protected:
    // Moves w to just before `pos` in the child list, keeping an update pass in place.
    void MoveChild(Widget* w, WidgetList::iterator pos);
    WidgetList::iterator Find(const Widget* w);
    void InsertWidget(Widget* w, WidgetList::iterator pos);
    bool IsRoot() const { return m_parent == nullptr; }
    // The widget at (x, y) among the children, front-most first; local coordinates go out.
    Widget* FindWidgetAt(ModalFlags& flags, int x, int y, int* localX, int* localY);
    void DetachChild(Widget* w);
};

} // namespace Vel
