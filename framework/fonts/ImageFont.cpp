// Choosing the active layers, measuring with kerning, and drawing glyphs through ordered buckets.
#include "framework/fonts/ImageFont.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "framework/graphics/Graphics.h"

namespace Vel {

namespace {

constexpr int kMaxDrawCommands = 4096; // per call; further glyphs are not drawn
constexpr int kOrderBuckets = 256;
constexpr int kScaledRowWidth = 4096; // pixels per row of a scaled glyph image

std::string Upper(std::string s)
{
    for (char& c : s)
        c = char(std::toupper(uint8_t(c)));
    return s;
}

struct GlyphCommand {
    Image* image = nullptr;
    int x = 0;
    int y = 0;
    Rect src;
    Color color;
    int drawMode = -1;
    int next = -1; // the next command of the same bucket, in the order they were made
};

// The pool is shared by every font, so drawing holds GetFontLock().
struct CommandPool {
    GlyphCommand commands[kMaxDrawCommands];
    int head[kOrderBuckets];
    int tail[kOrderBuckets];
};

CommandPool& Pool()
{
    static CommandPool* pool = new CommandPool();
    return *pool;
}

// Premultiplied bilinear sampling keeps the edges of scaled glyphs free of dark fringes.
void ScaleInto(const uint32_t* src, int srcStride, const Rect& srcRect, uint32_t* dst, int dstStride,
               int dstX, int dstW, int dstH)
{
    if (srcRect.width <= 0 || srcRect.height <= 0)
        return;
    const double sx = double(srcRect.width) / dstW;
    const double sy = double(srcRect.height) / dstH;
    for (int y = 0; y < dstH; ++y) {
        const double fy = std::clamp((y + 0.5) * sy - 0.5, 0.0, double(srcRect.height - 1));
        const int y0 = int(fy);
        const int y1 = std::min(y0 + 1, srcRect.height - 1);
        const double wy = fy - y0;
        for (int x = 0; x < dstW; ++x) {
            const double fx = std::clamp((x + 0.5) * sx - 0.5, 0.0, double(srcRect.width - 1));
            const int x0 = int(fx);
            const int x1 = std::min(x0 + 1, srcRect.width - 1);
            const double wx = fx - x0;
            double acc[4] = {0, 0, 0, 0}; // alpha, premultiplied r, g, b
            const int xs[2] = {x0, x1};
            const int ys[2] = {y0, y1};
            for (int j = 0; j < 2; ++j) {
                for (int i = 0; i < 2; ++i) {
                    const double w = (i ? wx : 1 - wx) * (j ? wy : 1 - wy);
                    const uint32_t p = src[size_t(srcRect.y + ys[j]) * size_t(srcStride) + size_t(srcRect.x + xs[i])];
                    const double a = double(p >> 24);
                    acc[0] += w * a;
                    acc[1] += w * a * ((p >> 16) & 0xFF);
                    acc[2] += w * a * ((p >> 8) & 0xFF);
                    acc[3] += w * a * (p & 0xFF);
                }
            }
            uint32_t out = 0;
            if (acc[0] > 0) {
                const uint32_t a = uint32_t(std::lround(acc[0]));
                const auto ch = [&](double v) { return std::min<uint32_t>(255, uint32_t(std::lround(v / acc[0]))); };
                out = a << 24 | ch(acc[1]) << 16 | ch(acc[2]) << 8 | ch(acc[3]);
            }
            dst[size_t(y) * size_t(dstStride) + size_t(dstX + x)] = out;
        }
    }
}

} // namespace

std::mutex& GetFontLock()
{
    static std::mutex* lock = new std::mutex();
    return *lock;
}

Image* ActiveFontLayer::GetImage() const
{
    if (m_scaledImage)
        return m_scaledImage.get();
    return m_baseFontLayer ? m_baseFontLayer->m_image.Get() : nullptr;
}

ImageFont::ImageFont(FontHost* host, const std::string& descriptionPath)
    : m_fontData(std::make_shared<FontData>(host))
{
    m_fontData->Load(descriptionPath);
    m_pointSize = m_fontData->m_defaultPointSize;
    GenerateActiveLayers();
}

ImageFont::ImageFont(FontHost* host, const std::string& descriptionPath, const ImageHandle& image)
    : m_fontData(std::make_shared<FontData>(host))
{
    m_fontData->SetPresetImage(image);
    m_fontData->Load(descriptionPath);
    m_pointSize = m_fontData->m_defaultPointSize;
    GenerateActiveLayers();
}

ImageFont::ImageFont(std::shared_ptr<FontData> data) : m_fontData(std::move(data))
{
    if (!m_fontData)
        m_fontData = std::make_shared<FontData>();
    m_pointSize = m_fontData->m_defaultPointSize;
    GenerateActiveLayers();
}

ImageFont::ImageFont(const ImageFont& other)
    : Font(other),
      m_forceScaledImagesWhite(other.m_forceScaledImagesWhite),
      m_fontData(other.m_fontData),
      m_pointSize(other.m_pointSize),
      m_tags(other.m_tags),
      m_scale(other.m_scale),
      m_activeLayerList(other.m_activeLayerList),
      m_activeListValid(other.m_activeListValid)
{
}

Font* ImageFont::Duplicate()
{
    return new ImageFont(*this);
}

void ImageFont::Prepare()
{
    if (!m_activeListValid)
        GenerateActiveLayers();
}

const std::vector<ActiveFontLayer>& ImageFont::GetActiveLayers()
{
    Prepare();
    return m_activeLayerList;
}

void ImageFont::GenerateActiveLayers()
{
    m_activeLayerList.clear();
    m_ascent = 0;
    m_height = 0;
    m_ascentPadding = 0;
    m_lineSpacingOffset = 0;
    m_activeListValid = true;
    if (!IsLoaded())
        return;

    bool first = true;
    for (GlyphLayer& layer : m_fontData->m_fontLayerList) {
        if (m_pointSize < layer.m_minPointSize)
            continue;
        if (layer.m_maxPointSize != -1 && m_pointSize > layer.m_maxPointSize)
            continue;
        bool tagsOk = true;
        for (const auto& tag : layer.m_requiredTags)
            tagsOk = tagsOk && std::find(m_tags.begin(), m_tags.end(), tag) != m_tags.end();
        for (const auto& tag : layer.m_excludedTags)
            tagsOk = tagsOk && std::find(m_tags.begin(), m_tags.end(), tag) == m_tags.end();
        if (!tagsOk)
            continue;

        ActiveFontLayer active;
        active.m_baseFontLayer = &layer;
        active.m_scale = layer.m_pointSize > 0 ? m_pointSize * m_scale / layer.m_pointSize : m_scale;
        const double s = active.m_scale;
        const bool scaled = m_scale != 1.0 || (layer.m_pointSize != 0 && layer.m_pointSize != m_pointSize);
        MemoryImage* source = layer.m_image.GetMemoryImage();
        if (scaled && source && source->GetBits()) {
            // Glyphs go side by side, wrapping into further rows so the image stays within the
            // size limit at large scales; a glyph too large for any image is left out.
            std::array<Rect, 256> placed{};
            int x = 0, rowTop = 0, rowHeight = 0, imageWidth = 0;
            for (int c = 0; c < 256; ++c) {
                const Rect& r = layer.m_glyphs[size_t(c)].m_imageRect;
                const double w = std::max(0.0, r.width * s);
                const double h = std::max(0.0, r.height * s);
                if (w < 1 || h < 1 || w > kScaledRowWidth || h > kMaxImageDimension)
                    continue;
                if (x + int(w) > kScaledRowWidth) {
                    x = 0;
                    rowTop += rowHeight;
                    rowHeight = 0;
                }
                placed[size_t(c)] = Rect(x, rowTop, int(w), int(h));
                x += int(w);
                rowHeight = std::max(rowHeight, int(h));
                imageWidth = std::max(imageWidth, x);
            }
            const int imageHeight = rowTop + rowHeight;
            auto image = std::make_shared<MemoryImage>();
            if (imageWidth > 0 && imageHeight > 0 && image->Create(imageWidth, imageHeight)) {
                const uint32_t* src = source->GetBits();
                uint32_t* dst = image->GetBits();
                for (int c = 0; c < 256; ++c) {
                    const Rect& d = placed[size_t(c)];
                    if (d.IsEmpty())
                        continue;
                    active.m_scaledCharImageRects[size_t(c)] = d;
                    ScaleInto(src, source->GetWidth(), layer.m_glyphs[size_t(c)].m_imageRect,
                              dst + size_t(d.y) * size_t(imageWidth), imageWidth, d.x, d.width, d.height);
                }
                if (m_forceScaledImagesWhite) {
                    for (size_t i = 0; i < size_t(imageWidth) * size_t(imageHeight); ++i)
                        dst[i] = (dst[i] & 0xFF000000u) | 0x00FFFFFFu;
                }
                image->BitsChanged();
                image->RecomputeAlphaFlags();
                image->Palletize();
                active.m_scaledImage = std::move(image);
            }
        } else {
            for (int c = 0; c < 256; ++c)
                active.m_scaledCharImageRects[size_t(c)] = layer.m_glyphs[size_t(c)].m_imageRect;
        }

        const int ascent = int(s * layer.m_ascent);
        const int height = int(s * (layer.m_height != 0 ? layer.m_height : layer.m_defaultHeight));
        const int padding = int(s * layer.m_ascentPadding);
        const int spacingOffset = int(s * layer.m_lineSpacingOffset);
        if (first) {
            m_ascent = ascent;
            m_height = height;
            m_ascentPadding = padding;
            m_lineSpacingOffset = spacingOffset;
            first = false;
        } else {
            m_ascent = std::max(m_ascent, ascent);
            m_height = std::max(m_height, height);
            m_ascentPadding = std::min(m_ascentPadding, padding);
            m_lineSpacingOffset = std::max(m_lineSpacingOffset, spacingOffset);
        }
        m_activeLayerList.push_back(std::move(active));
    }
}

int ImageFont::GetAscent()
{
    Prepare();
    return m_ascent;
}

int ImageFont::GetAscentPadding()
{
    Prepare();
    return m_ascentPadding;
}

int ImageFont::GetDescent()
{
    Prepare();
    return m_height - m_ascent;
}

int ImageFont::GetHeight()
{
    Prepare();
    return m_height;
}

int ImageFont::GetLineSpacingOffset()
{
    Prepare();
    return m_lineSpacingOffset;
}

int ImageFont::GetLineSpacing()
{
    Prepare();
    return m_height + m_lineSpacingOffset;
}

int ImageFont::CharWidthKern(char c, char prev)
{
    Prepare();
    if (m_activeLayerList.empty())
        return 0;
    const uint8_t mc = m_fontData->m_charMap[uint8_t(c)];
    const bool hasPrev = prev != 0;
    const uint8_t mp = m_fontData->m_charMap[uint8_t(prev)];
    int best = 0;
    bool first = true;
    for (const ActiveFontLayer& active : m_activeLayerList) {
        const GlyphLayer& layer = *active.m_baseFontLayer;
        const double s = active.m_scale;
        int width = int(layer.m_glyphs[mc].m_width * s);
        if (hasPrev)
            width += int((layer.m_glyphs[mp].m_kerningOffsets[mc] + layer.m_spacing) * s);
        best = first ? width : std::max(best, width);
        first = false;
    }
    return best;
}

int ImageFont::CharWidth(char c)
{
    return CharWidthKern(c, 0);
}

int ImageFont::StringWidth(const std::string& text)
{
    int width = 0;
    char prev = 0;
    for (char c : text) {
        width += CharWidthKern(c, prev);
        prev = c;
    }
    return width;
}

void ImageFont::DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                           const Rect& clipRect)
{
    DrawStringFull(g, x, y, text, color, clipRect, nullptr, nullptr);
}

void ImageFont::DrawStringFull(Graphics* g, int x, int y, const std::string& text, const Color& color,
                               const Rect& clipRect, std::vector<Rect>* rectsOut, int* widthOut)
{
    if (widthOut)
        *widthOut = 0;
    if (!IsLoaded() || !g)
        return;
    const Color baseColor = color; // may alias the Graphics' colour, which drawing changes
    Prepare();

    std::lock_guard<std::mutex> lock(GetFontLock());
    CommandPool& pool = Pool();
    std::fill(std::begin(pool.head), std::end(pool.head), -1);
    std::fill(std::begin(pool.tail), std::end(pool.tail), -1);
    int commandCount = 0;

    int curX = x;
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t c = m_fontData->m_charMap[uint8_t(text[i])];
        const bool hasNext = i + 1 < text.size();
        const uint8_t n = hasNext ? m_fontData->m_charMap[uint8_t(text[i + 1])] : 0;
        int nextX = curX;
        for (const ActiveFontLayer& active : m_activeLayerList) {
            const GlyphLayer& layer = *active.m_baseFontLayer;
            const GlyphRecord& glyph = layer.m_glyphs[c];
            const double s = active.m_scale;
            const int gx = curX + int((glyph.m_offsetX + layer.m_offsetX) * s);
            const int gy = y - int((layer.m_ascent - glyph.m_offsetY - layer.m_offsetY) * s);
            // The same truncations as CharWidthKern, so drawn and measured widths agree.
            int advance = int(glyph.m_width * s);
            if (hasNext)
                advance += int((glyph.m_kerningOffsets[n] + layer.m_spacing) * s);
            nextX = std::max(nextX, curX + advance);

            const Rect& src = active.m_scaledCharImageRects[c];
            Image* image = active.GetImage();
            if (src.IsEmpty() || !image)
                continue;
            if (rectsOut)
                rectsOut->push_back(Rect(gx, gy, src.width, src.height));
            if (commandCount >= kMaxDrawCommands)
                continue;
            GlyphCommand& cmd = pool.commands[commandCount];
            cmd.image = image;
            cmd.x = gx;
            cmd.y = gy;
            cmd.src = src;
            const auto mix = [](int mult, int base, int add) { return std::min(255, mult * base / 255 + add); };
            cmd.color = Color(mix(layer.m_colorMult.red, baseColor.red, layer.m_colorAdd.red),
                              mix(layer.m_colorMult.green, baseColor.green, layer.m_colorAdd.green),
                              mix(layer.m_colorMult.blue, baseColor.blue, layer.m_colorAdd.blue),
                              mix(layer.m_colorMult.alpha, baseColor.alpha, layer.m_colorAdd.alpha));
            cmd.drawMode = layer.m_drawMode;
            cmd.next = -1;
            const int bucket = std::clamp(glyph.m_order + layer.m_baseOrder + 128, 0, kOrderBuckets - 1);
            if (pool.tail[bucket] < 0)
                pool.head[bucket] = commandCount;
            else
                pool.commands[pool.tail[bucket]].next = commandCount;
            pool.tail[bucket] = commandCount;
            ++commandCount;
        }
        curX = nextX;
    }

    g->PushState();
    g->m_clipRect = g->m_clipRect.Intersection(clipRect);
    g->SetImageTint(true);
    const int callerMode = g->GetDrawMode();
    for (int bucket = 0; bucket < kOrderBuckets; ++bucket) {
        for (int i = pool.head[bucket]; i >= 0; i = pool.commands[i].next) {
            const GlyphCommand& cmd = pool.commands[i];
            if (cmd.drawMode != -1)
                g->SetDrawMode(cmd.drawMode);
            g->SetColor(cmd.color);
            g->DrawImage(cmd.image, cmd.x, cmd.y, cmd.src);
            g->SetDrawMode(callerMode);
        }
    }
    g->PopState();

    if (widthOut)
        *widthOut = curX - x;
}

void ImageFont::SetPointSize(int pointSize)
{
    if (pointSize != m_pointSize) {
        m_pointSize = pointSize;
        m_activeListValid = false;
    }
}

int ImageFont::GetPointSize()
{
    return m_pointSize;
}

void ImageFont::SetScale(double scale)
{
    if (scale != m_scale) {
        m_scale = scale;
        m_activeListValid = false;
    }
}

int ImageFont::GetDefaultPointSize()
{
    return m_fontData->m_defaultPointSize;
}

bool ImageFont::AddTag(const std::string& tag)
{
    const std::string upper = Upper(tag);
    if (HasTag(upper))
        return false;
    m_tags.push_back(upper);
    m_activeListValid = false;
    return true;
}

bool ImageFont::RemoveTag(const std::string& tag)
{
    auto it = std::find(m_tags.begin(), m_tags.end(), Upper(tag));
    if (it == m_tags.end())
        return false;
    m_tags.erase(it);
    m_activeListValid = false;
    return true;
}

bool ImageFont::HasTag(const std::string& tag)
{
    return std::find(m_tags.begin(), m_tags.end(), Upper(tag)) != m_tags.end();
}

std::string ImageFont::GetDefine(const std::string& name)
{
    return DescParser::DataElementToString(m_fontData->GetDefine(name));
}

} // namespace Vel
