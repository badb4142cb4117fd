// What the resource manager needs from the application: the font host (shared images and
// popups), the sound manager, and new display images for fonts built from an image file.
#pragma once

#include <memory>
#include <string>

#include "framework/fonts/FontHost.h"

namespace Vel {

class DDImage;
class SoundManager;

class ResourceHost : public FontHost {
public:
    // Null when the application has no sound manager; sounds then fail to load.
    virtual SoundManager* GetSoundManager() = 0;
    // A new display image loaded from `path` (with the alpha-image search); null when the file
    // cannot be read. The default loads it through the image registry of this host.
    virtual std::unique_ptr<DDImage> GetImage(const std::string& path, bool commit);
};

} // namespace Vel
