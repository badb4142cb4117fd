// What fonts need from the application: the shared images their layers are drawn from, and a
// way to show a description error to the player. Null hosts fall back to the process-wide image
// registry and standard error.
#pragma once

#include <string>

namespace Vel {

class ImageRegistry;

class FontHost {
public:
    virtual ~FontHost() = default;
    virtual ImageRegistry* GetImageRegistry() = 0;
    // Shows a message box (or logs the text where no display exists).
    virtual void Popup(const std::string& text) = 0;
};

// The registry and popup a font uses for `host` (which may be null).
ImageRegistry* FontImageRegistry(FontHost* host);
void FontPopup(FontHost* host, const std::string& text);

} // namespace Vel
