// Every display image, and the shared images keyed by (file path, variant) with reference counts.
// Images are created on the loading thread and the main thread, so all of it sits behind the
// display lock.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>

namespace Vel {

class ImagePrefetcher;

class DDImage;
class Image;
class MemoryImage;
class ImageRegistry;

struct SharedImage {
    std::unique_ptr<DDImage> m_image;
    int m_refCount = 0;
};

// A reference to a shared image, or to an unshared one. Copies count as references; when the
// last reference to a shared image goes, the registry is told to purge at its next update.
// An owned unshared image is freed with the last handle that refers to it.
class ImageHandle {
public:
    ImageHandle() = default;
    ImageHandle(ImageRegistry* registry, SharedImage* shared);
    explicit ImageHandle(Image* unshared, bool owns = false);
    ImageHandle(const ImageHandle& other);
    ImageHandle(ImageHandle&& other) noexcept;
    ImageHandle& operator=(const ImageHandle& other);
    ImageHandle& operator=(ImageHandle&& other) noexcept;
    ~ImageHandle();

    void Release();
    // The unshared image if there is one, else the shared entry's image; null when empty.
    Image* Get() const;
    MemoryImage* GetMemoryImage() const;
    DDImage* GetDDImage() const;
    Image* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }

private:
    ImageRegistry* m_registry = nullptr;
    SharedImage* m_shared = nullptr;
    Image* m_unshared = nullptr;
    std::shared_ptr<Image> m_owned; // keeps an owned unshared image alive across copies
};

class ImageRegistry {
public:
    ImageRegistry() = default;
    ImageRegistry(const ImageRegistry&) = delete;
    ImageRegistry& operator=(const ImageRegistry&) = delete;
    ~ImageRegistry();

    // The process-wide registry; never destroyed, so images may outlive static destruction.
    static ImageRegistry& Global();

    // The shared image for (path, variant), both compared ignoring case. A new entry loads the
    // file with the alpha-image search (a path starting with "!" gives an empty image the caller
    // fills). Returns an empty handle when the file cannot be loaded; `isNew` tells whether this
    // call created the entry.
    // A loader reading ahead with `prefetch` gets the file from it when it holds it.
    ImageHandle GetSharedImage(const std::string& path, const std::string& variant = "",
                               bool* isNew = nullptr, uint32_t alphaColor = 0xFFFFFF,
                               ImagePrefetcher* prefetch = nullptr);
    // Deletes every shared image nobody references, when a release asked for it; the
    // application calls this once per update tick.
    void PurgeUnreferenced();
    bool IsPurgePending() const;
    size_t SharedImageCount() const;

    // Display images register themselves for their whole life.
    void AddImage(DDImage* image);
    void RemoveImage(DDImage* image);
    size_t ImageCount() const;
    // Calls `fn` on every registered image, under the display lock.
    template <class Fn> void ForEachImage(Fn&& fn)
    {
        std::lock_guard<std::recursive_mutex> lock(m_displayLock);
        for (DDImage* image : m_images) fn(image);
    }

    // The display's lock: held while the registry changes; a back end may take it to present.
    std::recursive_mutex& GetDisplayLock() { return m_displayLock; }

private:
    friend class ImageHandle;
    void AddRef(SharedImage* shared);
    void ReleaseRef(SharedImage* shared);

    mutable std::recursive_mutex m_displayLock;
    std::set<DDImage*> m_images;
    std::map<std::pair<std::string, std::string>, SharedImage> m_shared;
    bool m_purgePending = false;
    bool m_closing = false;
};

} // namespace Vel
