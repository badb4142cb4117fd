// Reads image files ahead of a loader, on a helper thread, so decoding one picture overlaps
// with the loader's work on the one before. The loader asks for the files in the order given
// (it may skip some); at most `lookahead` decoded files wait for it at any time.
#pragma once

#include "framework/graphics/ImageLoader.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace Vel {

class ImagePrefetcher {
public:
    struct Request {
        std::string path;
        uint32_t alphaColor = 0xFFFFFF;
    };

    ImagePrefetcher(std::vector<Request> requests, size_t lookahead);
    ~ImagePrefetcher();
    ImagePrefetcher(const ImagePrefetcher&) = delete;
    ImagePrefetcher& operator=(const ImagePrefetcher&) = delete;

    // What LoadImageFile(path, true, alphaColor) gives, when that file is among the requests
    // still ahead (waiting while it is being read). Nothing when it is not, or could not be
    // read: the caller then reads it itself and meets the same error in its own order.
    // Requests before it are given up.
    std::optional<ImageData> Take(const std::string& path, uint32_t alphaColor);

private:
    void Run();

    const std::vector<Request> m_requests;
    std::vector<std::optional<ImageData>> m_results;
    const size_t m_lookahead;
    size_t m_read = 0;     // requests the helper has finished
    size_t m_consumed = 0; // requests the loader has taken or passed
    bool m_stop = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
};

} // namespace Vel
