// Shared fixtures of the widget tests: a widget that logs what it receives, a listener that logs
// button reports, and a host that records cursor changes.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetHost.h"
#include "framework/widgets/WidgetManager.h"

namespace VelTest {

inline std::string Event(const std::string& name, int a, int b)
{
    return name + " " + std::to_string(a) + "," + std::to_string(b);
}

class RecordingWidget : public Vel::Widget {
public:
    explicit RecordingWidget(std::string name = "", int x = 0, int y = 0, int w = 10, int h = 10)
        : m_name(std::move(name))
    {
        Resize(x, y, w, h);
    }

    void Update() override
    {
        Widget::Update();
        if (m_onUpdate)
            m_onUpdate(this);
    }
    void Draw(Vel::Graphics*) override
    {
        if (m_drawLog != nullptr)
            m_drawLog->push_back(m_name);
    }
    void MouseEnter() override { m_log.push_back("enter"); }
    void MouseLeave() override { m_log.push_back("leave"); }
    void MouseMove(int x, int y) override { m_log.push_back(Event("move", x, y)); }
    void MouseDown(int x, int y, int clickCount) override
    {
        m_log.push_back(Event("down", x, y) + " count " + std::to_string(clickCount));
        Widget::MouseDown(x, y, clickCount);
    }
    void MouseDown(int x, int y, int button, int clickCount) override
    {
        m_log.push_back(Event("down4", x, y) + " button " + std::to_string(button) + " count " +
                        std::to_string(clickCount));
    }
    void MouseUp(int x, int y, int clickCount) override
    {
        m_log.push_back(Event("up", x, y) + " count " + std::to_string(clickCount));
    }
    void MouseDrag(int x, int y) override { m_log.push_back(Event("drag", x, y)); }
    void MouseWheel(int delta) override { m_log.push_back("wheel " + std::to_string(delta)); }
    void KeyDown(int key) override
    {
        m_log.push_back("keydown " + std::to_string(key));
        Widget::KeyDown(key);
    }
    void KeyUp(int key) override { m_log.push_back("keyup " + std::to_string(key)); }
    void KeyChar(char c) override { m_log.push_back("char " + std::to_string(int(c))); }
    void OnFocusGained() override
    {
        Widget::OnFocusGained();
        m_log.push_back("focus");
    }
    void OnFocusLost() override
    {
        Widget::OnFocusLost();
        m_log.push_back("unfocus");
    }

    // True when `entry` was logged; the log is cleared by Take().
    bool Got(const std::string& entry) const
    {
        for (const std::string& e : m_log)
            if (e == entry)
                return true;
        return false;
    }
    bool GotPrefix(const std::string& prefix) const
    {
        for (const std::string& e : m_log)
            if (e.rfind(prefix, 0) == 0)
                return true;
        return false;
    }
    std::vector<std::string> Take()
    {
        std::vector<std::string> out;
        out.swap(m_log);
        return out;
    }

    std::string m_name;
    std::vector<std::string> m_log;
    std::vector<std::string>* m_drawLog = nullptr;
    std::function<void(RecordingWidget*)> m_onUpdate;
};

class RecordingListener : public Vel::ButtonListener {
public:
    void OnButtonPress(int id, int clickCount) override
    {
        m_log.push_back("press " + std::to_string(id) + " " + std::to_string(clickCount));
    }
    void OnButtonClick(int id) override { m_log.push_back("click " + std::to_string(id)); }
    void OnButtonHeldTick(int id) override { m_log.push_back("held " + std::to_string(id)); }
    void OnButtonHoverStart(int id) override { m_log.push_back("hover " + std::to_string(id)); }
    void OnButtonHoverEnd(int id) override { m_log.push_back("unhover " + std::to_string(id)); }

    int Count(const std::string& entry) const
    {
        int n = 0;
        for (const std::string& e : m_log)
            n += e == entry ? 1 : 0;
        return n;
    }

    std::vector<std::string> m_log;
};

class FakeHost : public Vel::WidgetHost {
public:
    void SetCursorKind(int kind) override { m_cursorKinds.push_back(kind); }
    std::string GetKeyedText(const std::string& key, const std::string& defaultText) override
    {
        auto it = m_texts.find(key);
        return it != m_texts.end() ? it->second : defaultText;
    }
    void SafeDeleteWidget(Vel::Widget* widget) override { m_deleted.push_back(widget); }

    std::vector<int> m_cursorKinds;
    std::map<std::string, std::string> m_texts;
    std::vector<Vel::Widget*> m_deleted;
};

} // namespace VelTest
