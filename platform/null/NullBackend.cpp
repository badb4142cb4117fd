// The headless back end.
#include "platform/null/NullBackend.h"

#include <cstdio>

namespace Plat {

bool NullWindow::Open(const WindowOptions& options, std::string& error)
{
    if (options.fullScreen ? m_failFullScreen : m_failWindowed) {
        error = options.fullScreen ? "full screen is not available" : "no window is possible";
        return false;
    }
    m_spec = options;
    m_open = true;
    ++m_opens;
    return true;
}

bool NullWindow::Present(const uint32_t* argb, int pitch)
{
    if (m_presentFails || !m_open)
        return false;
    ++m_presents;
    m_lastFrame.resize(size_t(m_spec.width) * size_t(m_spec.height));
    for (int y = 0; y < m_spec.height; ++y)
        for (int x = 0; x < m_spec.width; ++x)
            m_lastFrame[size_t(y) * size_t(m_spec.width) + size_t(x)] = argb[size_t(y) * size_t(pitch) + size_t(x)];
    return true;
}

bool NullWindow::GetPosition(int& x, int& y)
{
    if (!m_open || m_spec.fullScreen)
        return false;
    x = m_spec.x < 0 ? (m_desktopWidth - m_spec.width) / 2 : m_spec.x;
    y = m_spec.y < 0 ? (m_desktopHeight - m_spec.height) / 2 : m_spec.y;
    return true;
}

void NullWindow::GetDesktopSize(int& width, int& height)
{
    width = m_desktopWidth;
    height = m_desktopHeight;
}

void NullWindow::SetSystemCursor(int kind)
{
    if (kind >= 0 && kind < kCursorKindCount)
        m_systemCursor = kind;
}

void NullWindow::SetCursorImage(const uint32_t* argb, int width, int height, int, int)
{
    m_hasCursorImage = argb != nullptr && width > 0 && height > 0;
}

std::unique_ptr<Window> NullBackend::MakeWindow()
{
    auto window = std::make_unique<NullWindow>();
    m_lastWindow = window.get();
    if (m_onMakeWindow)
        m_onMakeWindow(*window);
    return window;
}

bool NullBackend::PollEvent(Event& event)
{
    if (m_events.empty())
        return false;
    event = m_events.front();
    m_events.pop_front();
    return true;
}

void NullBackend::ShowMessage(const std::string& caption, const std::string& text)
{
    m_messages.push_back({caption, text});
    if (m_echoMessages)
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

std::unique_ptr<AudioDevice> NullBackend::MakeAudioDevice() { return std::make_unique<NullAudioDevice>(); }

} // namespace Plat
