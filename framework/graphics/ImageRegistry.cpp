// The registry of display images and the reference-counted shared images.
#include "framework/graphics/ImageRegistry.h"

#include "framework/graphics/ImagePrefetcher.h"

#include <cctype>

#include "framework/graphics/DDImage.h"
#include "framework/graphics/ImageLoader.h"

namespace Vel {

namespace {

std::string Upper(std::string s)
{
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

ImageHandle::ImageHandle(ImageRegistry* registry, SharedImage* shared)
    : m_registry(registry), m_shared(shared)
{
    if (m_registry && m_shared) m_registry->AddRef(m_shared);
}

ImageHandle::ImageHandle(Image* unshared, bool owns)
    : m_unshared(unshared)
{
    if (owns && unshared) m_owned.reset(unshared);
}

ImageHandle::ImageHandle(const ImageHandle& other)
    : m_registry(other.m_registry), m_shared(other.m_shared), m_unshared(other.m_unshared), m_owned(other.m_owned)
{
    if (m_registry && m_shared) m_registry->AddRef(m_shared);
}

ImageHandle::ImageHandle(ImageHandle&& other) noexcept
    : m_registry(other.m_registry), m_shared(other.m_shared), m_unshared(other.m_unshared),
      m_owned(std::move(other.m_owned))
{
    other.m_registry = nullptr;
    other.m_shared = nullptr;
    other.m_unshared = nullptr;
}

ImageHandle& ImageHandle::operator=(const ImageHandle& other)
{
    if (this != &other) {
        ImageHandle copy(other);
        *this = std::move(copy);
    }
    return *this;
}

ImageHandle& ImageHandle::operator=(ImageHandle&& other) noexcept
{
    if (this != &other) {
        Release();
        m_registry = other.m_registry;
        m_shared = other.m_shared;
        m_unshared = other.m_unshared;
        m_owned = std::move(other.m_owned);
        other.m_registry = nullptr;
        other.m_shared = nullptr;
        other.m_unshared = nullptr;
    }
    return *this;
}

ImageHandle::~ImageHandle() { Release(); }

void ImageHandle::Release()
{
    if (m_registry && m_shared) m_registry->ReleaseRef(m_shared);
    m_registry = nullptr;
    m_shared = nullptr;
    m_unshared = nullptr;
    m_owned.reset();
}

Image* ImageHandle::Get() const
{
    if (m_unshared) return m_unshared;
    return m_shared ? m_shared->m_image.get() : nullptr;
}

MemoryImage* ImageHandle::GetMemoryImage() const { return dynamic_cast<MemoryImage*>(Get()); }

DDImage* ImageHandle::GetDDImage() const { return dynamic_cast<DDImage*>(Get()); }

ImageRegistry::~ImageRegistry()
{
    std::lock_guard<std::recursive_mutex> lock(m_displayLock);
    m_closing = true;
    m_shared.clear(); // images still registered belong to their owners
}

ImageRegistry& ImageRegistry::Global()
{
    static ImageRegistry* registry = new ImageRegistry();
    return *registry;
}

ImageHandle ImageRegistry::GetSharedImage(const std::string& path, const std::string& variant, bool* isNew,
                                          uint32_t alphaColor, ImagePrefetcher* prefetch)
{
    if (isNew) *isNew = false;
    const auto key = std::make_pair(Upper(path), Upper(variant));
    {
        std::lock_guard<std::recursive_mutex> lock(m_displayLock);
        auto it = m_shared.find(key);
        if (it != m_shared.end() && it->second.m_image) return ImageHandle(this, &it->second);
    }

    // Decoding happens outside the lock, so the main thread keeps drawing while the loading
    // thread reads a large file.
    std::unique_ptr<DDImage> image;
    if (!path.empty() && path[0] == '!') {
        image = std::make_unique<DDImage>(this);
        image->m_filePath = path;
    } else {
        if (prefetch)
            if (std::optional<ImageData> data = prefetch->Take(path, alphaColor))
                image = MakeDDImage(std::move(*data), path, this);
        if (!image)
            image = LoadDDImage(path, this, true, alphaColor);
    }
    if (!image) return ImageHandle();

    std::lock_guard<std::recursive_mutex> lock(m_displayLock);
    SharedImage& entry = m_shared[key];
    if (entry.m_image) return ImageHandle(this, &entry); // another thread loaded it meanwhile
    entry.m_image = std::move(image);
    entry.m_refCount = 0;
    if (isNew) *isNew = true;
    return ImageHandle(this, &entry);
}

void ImageRegistry::AddRef(SharedImage* shared)
{
    std::lock_guard<std::recursive_mutex> lock(m_displayLock);
    ++shared->m_refCount;
}

void ImageRegistry::ReleaseRef(SharedImage* shared)
{
    std::lock_guard<std::recursive_mutex> lock(m_displayLock);
    if (m_closing) return;
    if (--shared->m_refCount <= 0) m_purgePending = true;
}

void ImageRegistry::PurgeUnreferenced()
{
    std::lock_guard<std::recursive_mutex> lock(m_displayLock);
    if (!m_purgePending) return;
    m_purgePending = false;
    for (auto it = m_shared.begin(); it != m_shared.end();) {
        if (it->second.m_refCount <= 0) it = m_shared.erase(it);
        else ++it;
    }
}

bool ImageRegistry::IsPurgePending() const
{
    std::lock_guard<std::recursive_mutex> lock(m_displayLock);
    return m_purgePending;
}

size_t ImageRegistry::SharedImageCount() const
{
    std::lock_guard<std::recursive_mutex> lock(m_displayLock);
    return m_shared.size();
}

void ImageRegistry::AddImage(DDImage* image)
{
    std::lock_guard<std::recursive_mutex> lock(m_displayLock);
    m_images.insert(image);
}

void ImageRegistry::RemoveImage(DDImage* image)
{
    std::lock_guard<std::recursive_mutex> lock(m_displayLock);
    m_images.erase(image);
}

size_t ImageRegistry::ImageCount() const
{
    std::lock_guard<std::recursive_mutex> lock(m_displayLock);
    return m_images.size();
}

} // namespace Vel
