// The SDL back end: one window showing the 800 x 600 software-drawn screen, letterboxed when the
// window is bigger (full screen), and SDL events turned into the framework's events.
//
// Presenting: by default the window surface, with SDL's framebuffer acceleration off. Measured
// under Xvfb without a GPU (idle redraw at 60 frames a second), it costs the least memory and
// CPU of the paths tried; a streaming texture through SDL's default renderer pulls in the OpenGL
// stack. QUORVANE_PRESENT=texture selects the texture path (SDL_RENDER_DRIVER picks its renderer).
#include "platform/Backend.h"
#include "platform/Keys.h"
#include "platform/sdl2/SdlKeys.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace Plat {
namespace {

// Built-in monochrome hand cursors: 'X' black, '.' white, ' ' transparent.
const char* const kPointingHand[] = {
    "", "", "",
    "          XX",
    "         X..X",
    "         X..X",
    "         X..X",
    "         X..X",
    "         X..XXX",
    "         X..X..XXX",
    "         X..X..X..XX",
    "     XX  X..X..X..X.X",
    "    X..X X..........X",
    "    X...XX..........X",
    "     X...X..........X",
    "      X.............X",
    "      X.............X",
    "       X............X",
    "       X...........X",
    "        X..........X",
    "        X..........X",
    "         X........X",
    "         XXXXXXXXXX",
};
const char* const kDraggingHand[] = {
    "", "", "", "", "", "", "", "",
    "          XX XX XX",
    "         X..X..X..XX",
    "         X........X.X",
    "       XXX..........X",
    "      X.X...........X",
    "      X.............X",
    "       X............X",
    "        X...........X",
    "        X..........X",
    "         X.........X",
    "         X.........X",
    "         XXXXXXXXXXX",
};

template <size_t N>
SDL_Cursor* MakeBitmapCursor(const char* const (&rows)[N], int hotX, int hotY)
{
    Uint8 data[32 * 4] = {};
    Uint8 mask[32 * 4] = {};
    for (size_t y = 0; y < N && y < 32; ++y)
        for (size_t x = 0; x < 32 && rows[y][x]; ++x) {
            const Uint8 bit = Uint8(0x80 >> (x % 8));
            const size_t at = y * 4 + x / 8;
            if (rows[y][x] != ' ')
                mask[at] |= bit;
            if (rows[y][x] == 'X')
                data[at] |= bit;
        }
    return SDL_CreateCursor(data, mask, 32, 32, hotX, hotY);
}

struct Letterbox {
    int x = 0, y = 0, w = 0, h = 0;
};

Letterbox Fit(int outerW, int outerH, int w, int h)
{
    Letterbox box;
    if (outerW <= 0 || outerH <= 0)
        return {0, 0, w, h};
    if (int64_t(outerW) * h <= int64_t(outerH) * w) {
        box.w = outerW;
        box.h = int(int64_t(outerW) * h / w);
    } else {
        box.h = outerH;
        box.w = int(int64_t(outerH) * w / h);
    }
    box.x = (outerW - box.w) / 2;
    box.y = (outerH - box.h) / 2;
    return box;
}

class SdlBackend;

class SdlWindow : public Window {
public:
    SdlWindow(SdlBackend& backend, bool useTexture) : m_backend(backend), m_useTexture(useTexture) {}
    ~SdlWindow() override;

    bool Open(const WindowOptions& options, std::string& error) override;
    bool IsFullScreen() const override { return m_fullScreen; }
    void Raise() override
    {
        if (!m_window)
            return;
        SDL_RestoreWindow(m_window);
        SDL_RaiseWindow(m_window);
    }
    void Hide() override
    {
        if (m_window)
            SDL_HideWindow(m_window);
    }
    bool Present(const uint32_t* argb, int pitch) override;
    int RefreshRate() override
    {
        SDL_DisplayMode mode{};
        const int display = m_window ? SDL_GetWindowDisplayIndex(m_window) : 0;
        return SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 ? mode.refresh_rate : 0;
    }
    bool GetPosition(int& x, int& y) override
    {
        if (!m_window || m_fullScreen || (SDL_GetWindowFlags(m_window) & SDL_WINDOW_MINIMIZED))
            return false;
        SDL_GetWindowPosition(m_window, &x, &y);
        return true;
    }
    void GetDesktopSize(int& width, int& height) override
    {
        SDL_Rect r{0, 0, 0, 0};
        if (SDL_GetDisplayUsableBounds(0, &r) != 0) {
            SDL_DisplayMode mode{};
            SDL_GetDesktopDisplayMode(0, &mode);
            r.w = mode.w;
            r.h = mode.h;
        }
        width = r.w;
        height = r.h;
    }
    bool PointerInside() override { return m_window && SDL_GetMouseFocus() == m_window; }
    void CapturePointer(bool capture) override { SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE); }
    void SetSystemCursor(int kind) override;
    void SetCursorImage(const uint32_t* argb, int width, int height, int hotX, int hotY) override;

    // Window coordinates to the logical screen.
    void ToLogical(int& x, int& y) const;
    void NotePointer(int x, int y)
    {
        m_pointerX = x;
        m_pointerY = y;
    }
    uint32_t Id() const { return m_window ? SDL_GetWindowID(m_window) : 0; }

private:
    void DrawCursorImage();
    bool ApplyMode(const WindowOptions& options);
    bool PresentSurface();
    bool PresentTexture();

    SdlBackend& m_backend;
    bool m_useTexture;
    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    SDL_Surface* m_staging = nullptr; // wraps m_frame for scaled blits
    bool m_fullScreen = false;
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_frame;

    SDL_Cursor* m_cursors[kCursorKindCount] = {};
    int m_cursorKind = kCursorArrow;
    std::vector<uint32_t> m_cursorImage;
    int m_cursorW = 0, m_cursorH = 0, m_cursorHotX = 0, m_cursorHotY = 0;
    int m_pointerX = -1000, m_pointerY = -1000;
};

class SdlBackend : public Backend {
public:
    SdlBackend() : m_clock(CreateSystemClock()) {}
    ~SdlBackend() override { SDL_Quit(); }

    bool Start(std::string& error)
    {
        // Termination signals are ours (they end the program the way a quit does).
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
        if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
            error = SDL_GetError();
            return false;
        }
        const char* present = std::getenv("QUORVANE_PRESENT");
        m_useTexture = present && std::strcmp(present, "texture") == 0;
        if (!m_useTexture)
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        m_hasDisplay = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        if (!m_hasDisplay) {
            m_videoError = SDL_GetError();
        } else {
            // SDL falls back to an invisible screen when there is no display; a program nobody
            // can see must not go on running. Tests ask for those drivers by name.
            const char* driver = SDL_GetCurrentVideoDriver();
            const char* wanted = std::getenv("SDL_VIDEODRIVER");
            const bool invisible = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
            if (invisible && !(wanted && std::strcmp(wanted, driver) == 0)) {
                SDL_QuitSubSystem(SDL_INIT_VIDEO);
                m_hasDisplay = false;
                m_videoError = "no display found (is DISPLAY set?)";
            }
        }
        return true;
    }

    Clock& GetClock() override { return *m_clock; }
    bool HasDisplay() const override { return m_hasDisplay; }
    std::unique_ptr<Window> MakeWindow() override { return std::make_unique<SdlWindow>(*this, m_useTexture); }
    bool PollEvent(Event& event) override;
    void WaitForEvent(uint32_t ms) override
    {
        // Without a display SDL would poll in 1 ms steps; a plain sleep is cheaper.
        if (!m_hasDisplay) {
            GetClock().Sleep(ms);
            return;
        }
        if (m_pending.empty())
            SDL_WaitEventTimeout(nullptr, int(ms)); // the event stays queued for PollEvent
    }
    void ShowMessage(const std::string& caption, const std::string& text) override
    {
        if (!m_hasDisplay
            || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) != 0)
            std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
    std::unique_ptr<AudioDevice> MakeAudioDevice() override { return CreateSdlAudioDevice(); }

    const std::string& VideoError() const { return m_videoError; }
    SdlWindow* m_window = nullptr; // the open window, for mapping pointer coordinates

private:
    void Translate(const SDL_Event& e);
    void Push(EventType type)
    {
        Event ev;
        ev.type = type;
        m_pending.push_back(ev);
    }

    std::unique_ptr<Clock> m_clock;
    bool m_hasDisplay = false;
    bool m_useTexture = false;
    std::string m_videoError;
    std::deque<Event> m_pending;
    uint64_t m_lastPumpMs = 0;
};

SdlWindow::~SdlWindow()
{
    if (m_backend.m_window == this)
        m_backend.m_window = nullptr;
    for (SDL_Cursor*& c : m_cursors)
        if (c)
            SDL_FreeCursor(c);
    if (m_staging)
        SDL_FreeSurface(m_staging);
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    if (m_renderer)
        SDL_DestroyRenderer(m_renderer);
    if (m_window)
        SDL_DestroyWindow(m_window);
}

bool SdlWindow::Open(const WindowOptions& options, std::string& error)
{
    if (!m_backend.HasDisplay()) {
        error = "no display: " + m_backend.VideoError();
        return false;
    }
    if (options.width <= 0 || options.height <= 0) {
        error = "bad window size";
        return false;
    }
    if (m_window && (options.width != m_width || options.height != m_height)) {
        error = "the screen size cannot change";
        return false;
    }
    if (!m_window) {
        const int x = options.x < 0 ? int(SDL_WINDOWPOS_CENTERED) : options.x;
        const int y = options.y < 0 ? int(SDL_WINDOWPOS_CENTERED) : options.y;
        m_window = SDL_CreateWindow(options.title.c_str(), x, y, options.width, options.height, SDL_WINDOW_HIDDEN);
        if (!m_window) {
            error = SDL_GetError();
            return false;
        }
        m_width = options.width;
        m_height = options.height;
        m_frame.assign(size_t(m_width) * size_t(m_height), 0xFF000000u);
        m_staging = SDL_CreateRGBSurfaceWithFormatFrom(m_frame.data(), m_width, m_height, 32, m_width * 4,
                                                       SDL_PIXELFORMAT_ARGB8888);
        if (m_staging)
            SDL_SetSurfaceBlendMode(m_staging, SDL_BLENDMODE_NONE);
        if (m_useTexture) {
            m_renderer = SDL_CreateRenderer(m_window, -1, 0);
            m_texture = m_renderer ? SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888,
                                                       SDL_TEXTUREACCESS_STREAMING, m_width, m_height)
                                   : nullptr;
            if (!m_texture) {
                error = std::string("cannot make the screen texture: ") + SDL_GetError();
                SDL_DestroyWindow(m_window);
                m_window = nullptr;
                return false;
            }
        }
        m_backend.m_window = this;
        if (options.fullScreen)
            ApplyMode(options);
        SDL_ShowWindow(m_window);
        SDL_RaiseWindow(m_window);
        SDL_StartTextInput();
        SetSystemCursor(m_cursorKind);
        return true;
    }
    if (!ApplyMode(options)) {
        error = SDL_GetError();
        return false;
    }
    SDL_ShowWindow(m_window);
    SDL_RaiseWindow(m_window);
    return true;
}

// Full screen is a borderless window on top covering the display, with the picture scaled and
// letterboxed into it. Unlike a window-manager full-screen request it also works where no window
// manager runs (a bare X server), and the desktop's mode never changes.
bool SdlWindow::ApplyMode(const WindowOptions& options)
{
    if (options.fullScreen) {
        SDL_Rect bounds{0, 0, 0, 0};
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(m_window)), &bounds) != 0)
            return false;
        SDL_SetWindowBordered(m_window, SDL_FALSE);
        SDL_SetWindowAlwaysOnTop(m_window, SDL_TRUE);
        SDL_SetWindowPosition(m_window, bounds.x, bounds.y);
        SDL_SetWindowSize(m_window, bounds.w, bounds.h);
    } else {
        SDL_SetWindowAlwaysOnTop(m_window, SDL_FALSE);
        SDL_SetWindowBordered(m_window, SDL_TRUE);
        SDL_SetWindowSize(m_window, m_width, m_height);
        if (options.x >= 0 && options.y >= 0)
            SDL_SetWindowPosition(m_window, options.x, options.y);
        else
            SDL_SetWindowPosition(m_window, int(SDL_WINDOWPOS_CENTERED), int(SDL_WINDOWPOS_CENTERED));
    }
    m_fullScreen = options.fullScreen;
    return true;
}

void SdlWindow::ToLogical(int& x, int& y) const
{
    if (!m_window)
        return;
    int w = 0, h = 0;
    SDL_GetWindowSize(m_window, &w, &h);
    if (w == m_width && h == m_height)
        return;
    const Letterbox box = Fit(w, h, m_width, m_height);
    if (box.w <= 0 || box.h <= 0)
        return;
    // Floor division keeps points left of or above the picture negative.
    auto map = [](int v, int origin, int outer, int inner) {
        const int64_t n = int64_t(v - origin) * inner;
        return int(n >= 0 ? n / outer : -((-n + outer - 1) / outer));
    };
    x = map(x, box.x, box.w, m_width);
    y = map(y, box.y, box.h, m_height);
}

bool SdlWindow::Present(const uint32_t* argb, int pitch)
{
    if (!m_window || !argb)
        return false;
    for (int y = 0; y < m_height; ++y)
        std::memcpy(&m_frame[size_t(y) * size_t(m_width)], argb + size_t(y) * size_t(pitch), size_t(m_width) * 4);
    DrawCursorImage();
    return m_useTexture ? PresentTexture() : PresentSurface();
}

bool SdlWindow::PresentSurface()
{
    SDL_Surface* surface = SDL_GetWindowSurface(m_window);
    if (!surface || !m_staging)
        return false;
    if (surface->w == m_width && surface->h == m_height) {
        if (SDL_BlitSurface(m_staging, nullptr, surface, nullptr) != 0)
            return false;
    } else {
        const Letterbox box = Fit(surface->w, surface->h, m_width, m_height);
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        SDL_Rect dest{box.x, box.y, box.w, box.h};
        if (SDL_BlitScaled(m_staging, nullptr, surface, &dest) != 0)
            return false;
    }
    return SDL_UpdateWindowSurface(m_window) == 0;
}

bool SdlWindow::PresentTexture()
{
    if (SDL_UpdateTexture(m_texture, nullptr, m_frame.data(), m_width * 4) != 0)
        return false;
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(m_renderer, &w, &h) != 0)
        return false;
    const Letterbox box = Fit(w, h, m_width, m_height);
    SDL_Rect dest{box.x, box.y, box.w, box.h};
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    if (SDL_RenderCopy(m_renderer, m_texture, nullptr, &dest) != 0)
        return false;
    SDL_RenderPresent(m_renderer);
    return true;
}

void SdlWindow::DrawCursorImage()
{
    if (m_cursorImage.empty() || !PointerInside())
        return;
    const int left = m_pointerX - m_cursorHotX;
    const int top = m_pointerY - m_cursorHotY;
    for (int cy = 0; cy < m_cursorH; ++cy) {
        const int y = top + cy;
        if (y < 0 || y >= m_height)
            continue;
        for (int cx = 0; cx < m_cursorW; ++cx) {
            const int x = left + cx;
            if (x < 0 || x >= m_width)
                continue;
            const uint32_t src = m_cursorImage[size_t(cy) * size_t(m_cursorW) + size_t(cx)];
            const uint32_t a = src >> 24;
            if (a == 0)
                continue;
            uint32_t& dst = m_frame[size_t(y) * size_t(m_width) + size_t(x)];
            uint32_t out = 0xFF000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                const uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
                out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
            }
            dst = out;
        }
    }
}

void SdlWindow::SetSystemCursor(int kind)
{
    if (kind < 0 || kind >= kCursorKindCount)
        return;
    m_cursorKind = kind;
    if (!m_window)
        return;
    const bool hidden = !m_cursorImage.empty() || kind == kCursorNone || kind == kCursorNoneToo;
    SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
    if (hidden)
        return;
    if (!m_cursors[kind]) {
        static const SDL_SystemCursor kSystem[kCursorKindCount] = {
            SDL_SYSTEM_CURSOR_ARROW,    SDL_SYSTEM_CURSOR_HAND,     SDL_SYSTEM_CURSOR_HAND,
            SDL_SYSTEM_CURSOR_IBEAM,    SDL_SYSTEM_CURSOR_NO,       SDL_SYSTEM_CURSOR_SIZEALL,
            SDL_SYSTEM_CURSOR_SIZENESW, SDL_SYSTEM_CURSOR_SIZENS,   SDL_SYSTEM_CURSOR_SIZENWSE,
            SDL_SYSTEM_CURSOR_SIZEWE,   SDL_SYSTEM_CURSOR_WAIT,     SDL_SYSTEM_CURSOR_ARROW,
            SDL_SYSTEM_CURSOR_ARROW,
        };
        if (kind == kCursorHand)
            m_cursors[kind] = MakeBitmapCursor(kPointingHand, 11, 4);
        else if (kind == kCursorDragging)
            m_cursors[kind] = MakeBitmapCursor(kDraggingHand, 15, 10);
        if (!m_cursors[kind])
            m_cursors[kind] = SDL_CreateSystemCursor(kSystem[kind]);
    }
    if (m_cursors[kind])
        SDL_SetCursor(m_cursors[kind]);
}

void SdlWindow::SetCursorImage(const uint32_t* argb, int width, int height, int hotX, int hotY)
{
    if (!argb || width <= 0 || height <= 0 || width > 256 || height > 256) {
        m_cursorImage.clear();
    } else {
        m_cursorImage.assign(argb, argb + size_t(width) * size_t(height));
        m_cursorW = width;
        m_cursorH = height;
        m_cursorHotX = hotX;
        m_cursorHotY = hotY;
    }
    SetSystemCursor(m_cursorKind);
}

// Decodes UTF-8 text input into Latin-1 characters; anything beyond is dropped, since the game's
// fonts and text fields only know single-byte characters.
void AppendLatin1(const char* text, std::deque<Event>& out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        uint32_t cp = 0;
        int extra = 0;
        if (*p < 0x80) {
            cp = *p;
        } else if ((*p & 0xE0) == 0xC0) {
            cp = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            cp = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            cp = *p & 0x07;
            extra = 3;
        } else {
            ++p;
            continue;
        }
        ++p;
        bool ok = true;
        for (int i = 0; i < extra; ++i, ++p) {
            if ((*p & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (*p & 0x3F);
        }
        if (ok && cp >= 32 && cp <= 255 && cp != 127) {
            Event ev;
            ev.type = EventType::Char;
            ev.ch = cp;
            out.push_back(ev);
        }
    }
}

void SdlBackend::Translate(const SDL_Event& e)
{
    Event ev;
    switch (e.type) {
    case SDL_QUIT:
        Push(EventType::CloseRequest);
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: Push(EventType::CloseRequest); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: Push(EventType::Activated); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: Push(EventType::Deactivated); break;
        case SDL_WINDOWEVENT_MINIMIZED: Push(EventType::Minimized); break;
        case SDL_WINDOWEVENT_RESTORED: Push(EventType::Restored); break;
        case SDL_WINDOWEVENT_MAXIMIZED: Push(EventType::Maximized); break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: Push(EventType::Exposed); break;
        case SDL_WINDOWEVENT_LEAVE: Push(EventType::PointerLeft); break;
        case SDL_WINDOWEVENT_MOVED:
            ev.type = EventType::Moved;
            ev.x = e.window.data1;
            ev.y = e.window.data2;
            m_pending.push_back(ev);
            break;
        default: break;
        }
        break;
    case SDL_DISPLAYEVENT:
        Push(EventType::DisplayChanged);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        ev.key = WindowsKeyFromSdl(e.key.keysym.sym);
        if (ev.key == 0)
            break;
        ev.type = e.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
        ev.repeat = e.key.repeat != 0;
        m_pending.push_back(ev);
        // These keys type a control character too, which text fields rely on; SDL's text input
        // does not report them. With Alt held they are commands (Alt+Enter), not typing.
        if (e.type == SDL_KEYDOWN && !(e.key.keysym.mod & KMOD_ALT)
            && (ev.key == kKeyReturn || ev.key == kKeyBackspace || ev.key == kKeyTab || ev.key == kKeyEscape)) {
            Event ch;
            ch.type = EventType::Char;
            ch.ch = uint32_t(ev.key);
            m_pending.push_back(ch);
        }
        break;
    }
    case SDL_TEXTINPUT:
        // Left Alt with a letter is a shortcut, not typing; right Alt stays usable as AltGr.
        if (!(SDL_GetModState() & KMOD_LALT))
            AppendLatin1(e.text.text, m_pending);
        break;
    case SDL_MOUSEMOTION:
        ev.type = EventType::MouseMove;
        ev.x = e.motion.x;
        ev.y = e.motion.y;
        if (m_window)
            m_window->ToLogical(ev.x, ev.y);
        m_pending.push_back(ev);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT)
            ev.button = MouseButton::Left;
        else if (e.button.button == SDL_BUTTON_RIGHT)
            ev.button = MouseButton::Right;
        else if (e.button.button == SDL_BUTTON_MIDDLE)
            ev.button = MouseButton::Middle;
        else
            break;
        ev.type = e.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseDown : EventType::MouseUp;
        ev.x = e.button.x;
        ev.y = e.button.y;
        // A double click is the second press of a pair; a third press starts a new pair.
        ev.clicks = ev.button == MouseButton::Middle ? 1 : (e.button.clicks % 2 == 0 ? 2 : 1);
        if (m_window)
            m_window->ToLogical(ev.x, ev.y);
        m_pending.push_back(ev);
        break;
    case SDL_MOUSEWHEEL:
        ev.type = EventType::MouseWheel;
        ev.wheel = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        if (ev.wheel != 0)
            m_pending.push_back(ev);
        break;
    default:
        break;
    }
}

bool SdlBackend::PollEvent(Event& event)
{
    // Asking the display server for new events costs several system calls, and the loop asks
    // at every step, a dozen times in a row when it catches up after a still spell. Once a
    // millisecond is enough; in between, only what is already queued is handed out.
    const uint64_t now = SDL_GetTicks64();
    if (now != m_lastPumpMs) {
        m_lastPumpMs = now;
        SDL_PumpEvents();
    }
    SDL_Event e;
    while (m_pending.empty() && SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        Translate(e);
    if (m_pending.empty())
        return false;
    event = m_pending.front();
    m_pending.pop_front();
    if (m_window && (event.type == EventType::MouseMove || event.type == EventType::MouseDown
                     || event.type == EventType::MouseUp))
        m_window->NotePointer(event.x, event.y);
    return true;
}

} // namespace

std::unique_ptr<Backend> CreateSdlBackend(std::string& error)
{
    auto backend = std::make_unique<SdlBackend>();
    if (!backend->Start(error))
        return nullptr;
    return backend;
}

} // namespace Plat
