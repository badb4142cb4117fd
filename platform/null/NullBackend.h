// The headless back end: no window, no sound, a virtual clock, and events a test injects. Used by
// every test that drives the application, and by anything that must run without a display.
#pragma once

#include "platform/Backend.h"
#include "platform/null/VirtualClock.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace Plat {

class NullWindow : public Window {
public:
    bool Open(const WindowOptions& options, std::string& error) override;
    bool IsFullScreen() const override { return m_open && m_spec.fullScreen; }
    void Raise() override
    {
        ++m_raises;
        m_hidden = false;
    }
    void Hide() override { m_hidden = true; }
    bool Present(const uint32_t* argb, int pitch) override;
    int RefreshRate() override { return m_refreshRate; }
    bool GetPosition(int& x, int& y) override;
    void GetDesktopSize(int& width, int& height) override;
    bool PointerInside() override { return m_pointerInside; }
    void CapturePointer(bool capture) override { m_captured = capture; }
    void SetSystemCursor(int kind) override;
    void SetCursorImage(const uint32_t* argb, int width, int height, int hotX, int hotY) override;

    // What a test controls.
    int m_refreshRate = 60;
    int m_desktopWidth = 1920;
    int m_desktopHeight = 1080;
    bool m_failFullScreen = false;
    bool m_failWindowed = false;
    bool m_presentFails = false;
    bool m_pointerInside = true;

    // What a test inspects.
    bool m_open = false;
    WindowOptions m_spec;
    int m_opens = 0;
    int m_presents = 0;
    int m_raises = 0;
    bool m_captured = false;
    bool m_hidden = false;
    int m_systemCursor = kCursorArrow;
    bool m_hasCursorImage = false;
    std::vector<uint32_t> m_lastFrame; // width x height pixels of the last present
};

class NullBackend : public Backend {
public:
    Clock& GetClock() override { return m_clock; }
    bool HasDisplay() const override { return false; }
    std::unique_ptr<Window> MakeWindow() override;
    bool PollEvent(Event& event) override;
    void WaitForEvent(uint32_t ms) override
    {
        if (m_events.empty())
            m_clock.Sleep(ms);
    }
    void ShowMessage(const std::string& caption, const std::string& text) override;
    std::unique_ptr<AudioDevice> MakeAudioDevice() override;

    void Inject(const Event& event) { m_events.push_back(event); }
    // Runs on every new window before anyone uses it, so a test can set its behaviour.
    std::function<void(NullWindow&)> m_onMakeWindow;
    VirtualClock& Virtual() { return m_clock; }
    // The window most recently made (owned by whoever asked for it).
    NullWindow* LastWindow() const { return m_lastWindow; }

    struct Message {
        std::string caption;
        std::string text;
    };
    std::vector<Message> m_messages;
    bool m_echoMessages = true; // also to standard error, as the real program does without a display

private:
    VirtualClock m_clock;
    std::deque<Event> m_events;
    NullWindow* m_lastWindow = nullptr;
};

} // namespace Plat
