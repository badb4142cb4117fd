// Display images register themselves for their whole life.
#include "framework/graphics/DDImage.h"

#include "framework/graphics/ImageRegistry.h"

namespace Vel {

DDImage::DDImage(ImageRegistry* registry)
    : m_registry(registry)
{
    if (m_registry) m_registry->AddImage(this);
}

DDImage::DDImage()
    : DDImage(&ImageRegistry::Global())
{
}

DDImage::~DDImage()
{
    if (m_registry) m_registry->RemoveImage(this);
}

} // namespace Vel
