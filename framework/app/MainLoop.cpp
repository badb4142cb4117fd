// The main loop: update ticks at 100 a second on average with bounded catch-up, drawing when
// something is dirty, sleeping when ahead, and the window's messages turned into widget input.
#include "framework/app/AppBase.h"

#include "framework/fonts/SysFont.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageRegistry.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/Keys.h"
#include "platform/Termination.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace Vel {
namespace {

constexpr double kMaxLagMs = 200;           // a longer stall is forgotten, not caught up
constexpr uint64_t kIdlePresentMs = 1000;   // present at least this often even when nothing changed
constexpr double kMaxLoaderCourtesyMs = 250;
constexpr int kIdleAfterStillPasses = 30;
constexpr double kIdleWakeMs = 100;         // six steps at 60 Hz: within the catch-up limit
constexpr int kFpsWidth = 50;

} // namespace

// ---- Loop ----

void AppBase::Start()
{
    if (m_shutdownRequested)
        return;
    BeginRunning();
    MainLoop();
    EndRunning();
}

void AppBase::BeginRunning()
{
    m_mainThread = std::this_thread::get_id();
    m_running = true;
    if (!m_autoStartLoadingThread) {
        // Nothing to load: the loading phase is over before the first tick.
        m_loadingThreadDone = true;
    }
    if (m_window)
        m_window->Raise();
    ResetLagClock();
    // The first update and its frame are due at once rather than a step later, so the window
    // shows its first picture as soon as it can.
    m_firstStepDue = true;
}

void AppBase::EndRunning()
{
    ProcessDeletions();
    if (m_loadingThread.joinable())
        m_loadingThread.join();
    m_running = false;
    PostMainLoop();
    SaveSettingsOnce();
}

void AppBase::MainLoop()
{
    while (!m_shutdownRequested)
        UpdateApp();
}

bool AppBase::UpdateApp()
{
    bool updated = false;
    while (!updated && !m_shutdownRequested)
        UpdateAppStep(&updated);
    return updated;
}

bool AppBase::UpdateAppStep(bool* updated)
{
    if (updated)
        *updated = false;
    if (m_updateState == 3)
        m_updateState = 0;
    if (m_updateState == 0) {
        PumpEvents();
        AppMessage message;
        if (!m_shutdownRequested && m_messages.Pop(message))
            HandleMessage(message);
        else
            m_updateState = 1;
        return true;
    }
    const int before = m_updateCount;
    const bool result = Process(true);
    if (updated)
        *updated = m_updateCount != before;
    return result;
}

void AppBase::ResetLagClock()
{
    m_lastLagTime = m_backend ? m_backend->GetClock().Milliseconds() : 0;
    m_lagMs = 0;
}

bool AppBase::Process(bool allowSleep)
{
    Plat::Clock& clock = m_backend->GetClock();
    const double workStart = clock.Milliseconds();

    if (Plat::TerminationRequested() && !m_shutdownRequested) {
        OnTerminationRequest();
        AppBase::Shutdown(); // never the derived one: a signal must not wait for a dialog
        return true;
    }
    if (m_threadShutdownRequest.exchange(false))
        Shutdown();
    if (m_updateMultiplier <= 0)
        return true;

    const int refresh = m_refreshRate > 0 ? m_refreshRate : 60;
    double stepMs = m_frameTimeMs / m_updateMultiplier;
    double updatesPerStep = 1;
    // Locking the step to the refresh only works while a refresh carries at least one update;
    // above 100 Hz it would run one update per refresh and make every timer fast.
    if (m_vsyncUpdates && 1000.0 / (refresh * m_frameTimeMs) >= 1.0) {
        stepMs = 1000.0 / refresh / m_updateMultiplier;
        updatesPerStep = 1000.0 / (refresh * m_frameTimeMs);
    }

    const double now = clock.Milliseconds();
    m_lagMs = std::min(m_lagMs + (now - m_lastLagTime), kMaxLagMs);
    m_lastLagTime = now;
    if (m_firstStepDue) {
        m_firstStepDue = false;
        m_lagMs = std::max(m_lagMs, stepMs);
    }

    double sleptMs = 0;
    bool drawOrSleep = false;
    if (m_updateState == 1) {
        ++m_nonDrawUpdateSteps;
        const bool mayCatchUp = m_nonDrawUpdateSteps < int(std::ceil(m_updateMultiplier * 10)) || !m_loadingDoneHandled;
        if (mayCatchUp && m_lagMs >= stepMs && TryUpdateTick()) {
            m_updateState = 2;
            m_pendingDraw = true;
        } else {
            drawOrSleep = true;
        }
    } else if (m_updateState == 2) {
        m_updateState = 3;
        m_pendingUpdates += updatesPerStep - 1;
        while (m_pendingUpdates >= 1) {
            ++m_nonDrawUpdateSteps;
            if (!TryUpdateTick())
                break;
            m_pendingUpdates -= 1;
        }
        RunPartialUpdate(updatesPerStep);
        m_lagMs -= stepMs;
    }

    if (drawOrSleep) {
        m_updateState = 3;
        m_nonDrawUpdateSteps = 0;
        if (m_pendingDraw) {
            DrawDirtyStuff();
        } else {
            // Rounded up: a sleep cut short would only wake the loop to spin until the step is due.
            // A still screen wakes the loop a few times a second instead of at every step;
            // the missed steps are caught up on waking (the tick rate stays the same), and
            // any input wakes it at once.
            const double wait = (IsIdle() ? kIdleWakeMs : stepMs) - m_lagMs;
            if (wait > 0) {
                if (!allowSleep)
                    return false;
                const uint32_t ms = uint32_t(std::ceil(wait));
                const double before = clock.Milliseconds();
                m_backend->WaitForEvent(ms);
                sleptMs = clock.Milliseconds() - before;
                ++m_sleepCount;
            }
        }
    }

    if (m_yieldToLoader) {
        // Leave the loading thread most of the processor while it works.
        const double worked = clock.Milliseconds() - workStart - sleptMs;
        const double extra = std::min(2 * worked - sleptMs, kMaxLoaderCourtesyMs);
        if (extra >= 1)
            clock.Sleep(uint32_t(extra));
    }

    // The loading thread starts once the first frame is drawn and shown: on a two-core machine
    // it would otherwise compete with the display server for that first picture.
    if (!m_loadingThreadStarted && (m_drawPassDone || !m_window || m_displayLost || m_minimized))
        StartLoadingThread();

    ProcessDeletions();
    return true;
}

bool AppBase::IsIdle()
{
    // Half a second of steps that drew nothing, with no input, no loading and no music fading.
    return m_stillDrawPasses >= kIdleAfterStillPasses && m_loadingDoneHandled && !m_minimized
        && !(m_musicInterface && m_musicInterface->IsFading());
}

void AppBase::StartLoadingThread()
{
    if (!m_autoStartLoadingThread || m_loadingThreadStarted)
        return;
    m_yieldToLoader = true;
    m_loadingThreadStarted = true;
    m_loadingThread = std::thread([this] {
        LoadingThreadBody();
        m_loadingThreadDone = true;
    });
}

bool AppBase::TryUpdateTick()
{
    if (!m_window || m_displayLost)
        return false;
    if (m_loadingThreadDone && !m_loadingDoneHandled) {
        m_loadingDoneHandled = true;
        m_yieldToLoader = false;
        OnLoadingDone();
    }
    RunUpdateTick();
    return true;
}

void AppBase::RunUpdateTick()
{
    ++m_updateCount;
    ++m_updatePassDepth;
    if (!m_minimized && m_widgetManager)
        m_widgetManager->RunUpdatePass();
    --m_updatePassDepth;
    if (m_musicInterface)
        m_musicInterface->Update();
    GetImageRegistry()->PurgeUnreferenced();
}

void AppBase::RunPartialUpdate(double fraction)
{
    if (m_vsyncUpdates && !m_minimized && m_widgetManager) {
        ++m_updatePassDepth;
        m_widgetManager->RunPartialUpdatePass(fraction);
        --m_updatePassDepth;
    }
}

// ---- Drawing ----

void AppBase::DrawDirtyStuff()
{
    Plat::Clock& clock = m_backend->GetClock();
    const uint64_t start = clock.Ticks();
    bool drawn = m_widgetManager && m_widgetManager->DrawScreen();
    if (drawn)
        ++m_drawCount;

    if (m_showFps) {
        ++m_fpsFrames;
        if (start - m_fpsStart >= 1000) {
            m_fpsValue = int(std::lround(m_fpsFrames * 1000.0 / double(start - m_fpsStart)));
            m_fpsFrames = 0;
            m_fpsStart = start;
            drawn = true;
        }
    }

    const bool due = drawn || m_cursorChanged || start - m_lastPresentTime >= kIdlePresentMs;
    if (due && start >= m_nextDrawTime) {
        if (m_waitForVSync && m_windowed) {
            const double period = 1000.0 / (m_refreshRate > 0 ? m_refreshRate : 60);
            const double since = clock.Milliseconds() - m_lastPresentMs;
            if (since < period)
                clock.Sleep(uint32_t(period - since));
        }
        Redraw();
        m_cursorChanged = false;
        m_lastPresentTime = clock.Ticks();
        m_lastPresentMs = clock.Milliseconds();
    }

    m_stillDrawPasses = drawn || m_cursorChanged ? 0 : m_stillDrawPasses + 1;
    const uint64_t end = clock.Ticks();
    if (m_loadingThreadStarted && !m_loadingThreadDone) {
        // While loading, drawing gets at most about one frame in 50 ms.
        m_nextDrawTime += std::max<uint64_t>(end - start, 15) + 35;
        m_nextDrawTime = std::max(m_nextDrawTime, end);
    } else {
        m_nextDrawTime = end;
    }
    m_pendingDraw = false;
    m_drawPassDone = true;
}

void AppBase::Redraw()
{
    if (!m_window)
        return;
    if (m_displayLost) {
        // Re-open the display at most once a second while we are not the active window.
        const uint64_t now = Now();
        if (!m_active && now - m_lastDisplayRetry < 1000)
            return;
        m_lastDisplayRetry = now;
        SetScreenMode();
        if (m_displayLost)
            return;
    }
    const uint32_t* bits = m_screenImage.GetBits();
    if (!bits)
        return;
    if (m_showFps) {
        m_presentFrame.assign(bits, bits + size_t(m_width) * size_t(m_height));
        DrawFpsCounter(m_presentFrame.data());
        bits = m_presentFrame.data();
    }
    if (m_window->Present(bits, m_width)) {
        // A window exposed before anything was drawn shows a plain black screen; the first
        // frame is the first one the widgets drew.
        ++m_presentCount;
        if (m_drawCount > 0 && !m_firstFrameTraced) {
            m_firstFrameTraced = true;
            TraceMoment("first_frame");
        }
    } else
        m_displayLost = true;
}

void AppBase::DrawFpsCounter(uint32_t* frame)
{
    if (!m_fpsFont)
        m_fpsFont = std::make_unique<SysFont>("Tahoma", 8);
    const int h = m_fpsFont->GetHeight() + 4;
    MemoryImage label;
    if (!label.Create(kFpsWidth, h))
        return;
    Graphics g(&label);
    g.SetColor(Color(0, 0, 0));
    g.FillRect(0, 0, kFpsWidth, h);
    char text[48];
    if (m_showPointerCoords && m_widgetManager)
        std::snprintf(text, sizeof text, "%d, %d", m_widgetManager->m_lastMouseX, m_widgetManager->m_lastMouseY);
    else
        std::snprintf(text, sizeof text, "FPS: %d", m_fpsValue);
    g.SetFont(m_fpsFont.get());
    g.SetColor(Color(255, 255, 255));
    g.DrawString(text, 2, m_fpsFont->GetAscent() + 2);
    const uint32_t* src = label.GetBits();
    if (!src)
        return;
    const int left = m_width - kFpsWidth - 10;
    const int top = m_height - h - 10;
    for (int y = 0; y < h; ++y) {
        if (top + y < 0 || top + y >= m_height || left < 0)
            continue;
        uint32_t* row = frame + size_t(top + y) * size_t(m_width) + size_t(left);
        for (int x = 0; x < kFpsWidth; ++x)
            row[x] = src[size_t(y) * kFpsWidth + size_t(x)] | 0xFF000000u;
    }
}

// ---- Window messages ----

void AppBase::PumpEvents()
{
    if (Plat::InstanceLock::TakeNotification())
        OnNotifyMessage();
    Plat::Event event;
    while (!m_shutdownRequested && m_backend->PollEvent(event)) {
        m_stillDrawPasses = 0;
        bool queue = true;
        HandleAtOnce(event, queue);
        if (queue && !m_popupOpen)
            m_messages.Push({AppMessage::Kind::Event, event});
    }
    // The window timer: it drives the pointer-inside tracking.
    const uint64_t now = Now();
    if (now - m_lastTimerTick >= uint64_t(m_frameTimeMs)) {
        m_lastTimerTick = now;
        if (!m_popupOpen)
            m_messages.Push({AppMessage::Kind::Timer, {}});
    }
}

void AppBase::HandleAtOnce(const Plat::Event& event, bool& queue)
{
    using Plat::EventType;
    switch (event.type) {
    case EventType::Minimized:
        m_minimized = true;
        break;
    case EventType::Restored:
        // The queued message still un-mutes and re-evaluates the focus.
        break;
    case EventType::Activated:
        m_active = true;
        break;
    case EventType::Deactivated:
        m_active = false;
        break;
    case EventType::CloseRequest:
        OnCloseRequest();
        break;
    case EventType::Exposed:
        // Before the widgets have drawn there is only a black frame to show, and showing it
        // costs a whole present right before the first real one.
        if (m_running && m_drawCount > 0)
            Redraw();
        queue = false;
        break;
    case EventType::PointerLeft:
        // Handled by the timer's pointer tracking; let it run at the next step.
        m_lastTimerTick = 0;
        queue = false;
        break;
    default:
        break;
    }
}

void AppBase::HandleMessage(const AppMessage& message)
{
    using Plat::EventType;
    if (message.kind == AppMessage::Kind::Timer) {
        const bool inside = m_window && m_window->PointerInside();
        if (m_mouseIn && !inside) {
            if (m_widgetManager)
                m_widgetManager->MouseExit(m_widgetManager->m_lastMouseX, m_widgetManager->m_lastMouseY);
            m_mouseIn = false;
            EnforceCursor();
        }
        return;
    }
    const Plat::Event& e = message.event;
    switch (e.type) {
    case EventType::CloseRequest:
        Shutdown();
        break;
    case EventType::Activated:
    case EventType::Deactivated:
        EvaluateFocus();
        if (e.type == EventType::Activated && !m_windowed && m_widgetManager)
            m_widgetManager->MarkAllDirty();
        break;
    case EventType::Minimized:
        m_minimized = true;
        SetAutoMute(m_mutedForMinimize, true);
        EvaluateFocus();
        break;
    case EventType::Restored:
        m_minimized = false;
        SetAutoMute(m_mutedForMinimize, false);
        if (m_widgetManager)
            m_widgetManager->MarkAllDirty();
        EvaluateFocus();
        break;
    case EventType::Maximized:
        if (!m_fullScreenImpossible)
            SetScreenMode(false);
        break;
    case EventType::Moved:
        if (m_windowed && !m_minimized) {
            m_preferredX = e.x;
            m_preferredY = e.y;
        }
        break;
    case EventType::DisplayChanged:
        if (m_widgetManager) {
            m_widgetManager->SysColorChangedAll();
            m_widgetManager->MarkAllDirty();
        }
        break;
    case EventType::KeyDown:
    case EventType::KeyUp:
        // Modifiers are tracked in queue order, so a burst of queued keys sees the state each
        // key was pressed in.
        if (e.key == Plat::kKeyControl)
            m_ctrlDown = e.type == EventType::KeyDown;
        else if (e.key == Plat::kKeyAlt)
            m_altDown = e.type == EventType::KeyDown;
        else if (e.key == Plat::kKeyShift)
            m_shiftDown = e.type == EventType::KeyDown;
        if (e.type == EventType::KeyDown) {
            HandleKeyDown(e.key);
            break;
        }
        if (m_widgetManager)
            m_widgetManager->KeyUp(e.key);
        break;
    case EventType::Char:
        if (m_widgetManager && e.ch <= 255)
            m_widgetManager->KeyChar(char(e.ch));
        break;
    case EventType::MouseMove:
    case EventType::MouseDown:
    case EventType::MouseUp:
    case EventType::MouseWheel:
        HandleMouse(e);
        break;
    default:
        break;
    }
}

void AppBase::HandleKeyDown(int key)
{
    if (key == Plat::kKeyReturn && m_altDown) {
        if (!m_forcedFullScreen && !m_fullScreenImpossible)
            SetScreenMode(!m_windowed);
        // The new window never sees the keys that were held for the switch go up.
        m_ctrlDown = m_altDown = m_shiftDown = false;
        if (m_widgetManager)
            m_widgetManager->m_keyDown.fill(false);
        return;
    }
    if (key == 'D' && m_ctrlDown && m_altDown) {
        m_debugKeysEnabled = !m_debugKeysEnabled;
        return;
    }
    if (m_debugKeysEnabled && DebugKeyDown(key))
        return;
    if (m_widgetManager)
        m_widgetManager->KeyDown(key);
}

bool AppBase::DebugKeyDown(int key)
{
    if (key == Plat::kKeyF3) {
        if (m_shiftDown) {
            m_showPointerCoords = !m_showPointerCoords;
            m_showFps = true;
        } else {
            m_showFps = !m_showFps;
        }
        m_fpsFrames = 0;
        m_fpsStart = Now();
        m_cursorChanged = true; // present at once so the counter appears or goes
        return true;
    }
    return false;
}

void AppBase::HandleMouse(const Plat::Event& e)
{
    WidgetManager* wm = m_widgetManager.get();
    if (!wm)
        return;
    if (e.type == Plat::EventType::MouseWheel) {
        wm->MouseWheel(e.wheel);
        return;
    }
    // Pointer positions are 16-bit signed in the message the widgets were written against.
    const int x = int(int16_t(e.x));
    const int y = int(int16_t(e.y));
    wm->MouseMove(x, y);
    if (!m_mouseIn) {
        m_mouseIn = true;
        EnforceCursor();
    }
    if (m_activeCursorImage)
        m_cursorChanged = true;

    const int bit = e.button == Plat::MouseButton::Left ? 1 : e.button == Plat::MouseButton::Right ? 2 : 4;
    if (e.type == Plat::EventType::MouseDown) {
        int count = e.button == Plat::MouseButton::Middle ? 3 : (e.clicks == 2 ? 2 : 1);
        if (e.button == Plat::MouseButton::Right)
            count = -count;
        m_buttonsDown |= bit;
        if (m_window)
            m_window->CapturePointer(true);
        wm->MouseDown(x, y, count);
    } else if (e.type == Plat::EventType::MouseUp) {
        const int count = e.button == Plat::MouseButton::Left ? 1 : e.button == Plat::MouseButton::Right ? -1 : 3;
        m_buttonsDown &= ~bit;
        if (m_buttonsDown == 0 && m_window)
            m_window->CapturePointer(false);
        wm->MouseUp(x, y, count);
    }
}

void AppBase::EvaluateFocus()
{
    const bool focus = m_active && !m_minimized;
    if (focus == m_hasFocus)
        return;
    m_hasFocus = focus;
    if (focus) {
        SetAutoMute(m_mutedForFocus, false);
        if (m_widgetManager)
            m_widgetManager->GotFocus();
        OnAppFocusGained();
    } else {
        SetAutoMute(m_mutedForFocus, true);
        if (m_widgetManager)
            m_widgetManager->LostFocus();
        OnAppFocusLost();
        if (m_window)
            m_window->CapturePointer(false);
        m_buttonsDown = 0;
        if (m_widgetManager)
            m_widgetManager->ReleaseAllButtons();
    }
}

void AppBase::OnNotifyMessage()
{
    if (m_window)
        m_window->Raise();
}

} // namespace Vel
