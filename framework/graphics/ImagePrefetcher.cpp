// The helper thread that reads image files ahead of the loader.
#include "framework/graphics/ImagePrefetcher.h"

#include <algorithm>

namespace Vel {

ImagePrefetcher::ImagePrefetcher(std::vector<Request> requests, size_t lookahead)
    : m_requests(std::move(requests))
    , m_results(m_requests.size())
    , m_lookahead(std::max<size_t>(lookahead, 1))
{
    if (!m_requests.empty())
        m_thread = std::thread([this] { Run(); });
}

ImagePrefetcher::~ImagePrefetcher()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void ImagePrefetcher::Run()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] {
            return m_stop || m_read >= m_requests.size() || m_read < m_consumed + m_lookahead;
        });
        if (m_stop || m_read >= m_requests.size())
            return;
        // Whatever the loader has passed is not worth reading any more.
        m_read = std::max(m_read, m_consumed);
        if (m_read >= m_requests.size())
            return;
        const size_t index = m_read;
        const Request request = m_requests[index];
        lock.unlock();
        std::optional<ImageData> image = LoadImageFile(request.path, true, request.alphaColor);
        lock.lock();
        if (index >= m_consumed)
            m_results[index] = std::move(image);
        m_read = index + 1;
        m_changed.notify_all();
    }
}

std::optional<ImageData> ImagePrefetcher::Take(const std::string& path, uint32_t alphaColor)
{
    std::unique_lock lock(m_mutex);
    size_t index = m_consumed;
    while (index < m_requests.size()
           && !(m_requests[index].path == path && m_requests[index].alphaColor == alphaColor))
        ++index;
    if (index >= m_requests.size())
        return std::nullopt;
    for (size_t i = m_consumed; i < index; ++i)
        m_results[i].reset();
    m_consumed = index; // the helper skips ahead to it if it is behind
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return m_stop || m_read > index; });
    std::optional<ImageData> image = std::move(m_results[index]);
    m_results[index].reset();
    m_consumed = index + 1;
    m_changed.notify_all();
    return image;
}

} // namespace Vel
