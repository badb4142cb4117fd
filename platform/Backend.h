// The platform chosen once at start-up: SDL for the real program, the null back end for tests.
// Nothing outside platform/ knows which one runs.
#pragma once

#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Event.h"
#include "platform/Window.h"

#include <memory>
#include <string>

namespace Plat {

class Backend {
public:
    virtual ~Backend() = default;

    virtual Clock& GetClock() = 0;
    // False without a usable display (message boxes then go to standard error).
    virtual bool HasDisplay() const = 0;
    virtual std::unique_ptr<Window> MakeWindow() = 0;
    // The next waiting event, if any; never blocks.
    virtual bool PollEvent(Event& event) = 0;
    // Sleeps up to `ms` milliseconds, or less when an event arrives first.
    virtual void WaitForEvent(uint32_t ms) { GetClock().Sleep(ms); }
    // A blocking error message box; standard error when there is no display.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
    virtual std::unique_ptr<AudioDevice> MakeAudioDevice() = 0;
};

// The SDL back end (platform/sdl2). Null only when SDL itself cannot start; `error` says why.
std::unique_ptr<Backend> CreateSdlBackend(std::string& error);

} // namespace Plat
