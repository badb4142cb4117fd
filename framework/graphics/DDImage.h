// The display image: a memory image that registers itself with an image registry, so a display
// back end can find every image (to re-create surfaces after a lost display).
#pragma once

#include "framework/graphics/MemoryImage.h"

namespace Vel {

class ImageRegistry;

class DDImage : public MemoryImage {
public:
    // Registers with `registry` (the process-wide one by default, none when null).
    explicit DDImage(ImageRegistry* registry);
    DDImage();
    DDImage(const DDImage&) = delete;
    DDImage& operator=(const DDImage&) = delete;
    ~DDImage() override;

    ImageRegistry* GetRegistry() const { return m_registry; }

    bool m_wantDDSurface = false; // a hint for display back ends with surfaces
    bool m_drawToBits = true;     // the software display always draws into the bits

private:
    ImageRegistry* m_registry = nullptr;
};

} // namespace Vel
