// A bitmap font drawn from the layers of a font description; the layers active for the current
// point size, scale and tags are chosen lazily before measuring or drawing.
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "framework/fonts/Font.h"
#include "framework/fonts/FontData.h"
#include "framework/graphics/MemoryImage.h"

namespace Vel {

class FontHost;

struct ActiveFontLayer {
    GlyphLayer* m_baseFontLayer = nullptr;
    std::shared_ptr<MemoryImage> m_scaledImage; // own glyph image when the layer is scaled
    std::array<Rect, 256> m_scaledCharImageRects{};
    double m_scale = 1.0;

    Image* GetImage() const;
};

// Held while fonts draw: the glyph command pool is one per process.
std::mutex& GetFontLock();

class ImageFont : public Font {
public:
    // Loads the description at `descriptionPath`; a failed load leaves a font that measures 0
    // and draws nothing (IsLoaded() false).
    ImageFont(FontHost* host, const std::string& descriptionPath);
    // A font whose layers all start with `image` (the description may still set its own).
    ImageFont(FontHost* host, const std::string& descriptionPath, const ImageHandle& image);
    explicit ImageFont(std::shared_ptr<FontData> data);
    ImageFont(const ImageFont& other);
    ~ImageFont() override = default;

    int GetAscent() override;
    int GetAscentPadding() override;
    int GetDescent() override;
    int GetHeight() override;
    int GetLineSpacingOffset() override;
    int GetLineSpacing() override;
    int StringWidth(const std::string& text) override;
    int CharWidth(char c) override;
    // `prev` 0 means no previous character.
    int CharWidthKern(char c, char prev) override;
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                    const Rect& clipRect) override;
    Font* Duplicate() override;

    virtual void GenerateActiveLayers();
    // `rectsOut` (when given) receives the drawn glyph rectangles, `widthOut` the advance.
    virtual void DrawStringFull(Graphics* g, int x, int y, const std::string& text, const Color& color,
                                const Rect& clipRect, std::vector<Rect>* rectsOut, int* widthOut);
    virtual void SetPointSize(int pointSize);
    virtual int GetPointSize();
    virtual void SetScale(double scale);
    virtual int GetDefaultPointSize();
    // False when the font already has the tag.
    virtual bool AddTag(const std::string& tag);
    virtual bool RemoveTag(const std::string& tag);
    virtual bool HasTag(const std::string& tag);
    // A define as text: a single value unchanged, a list as "(a, b)"; empty when undefined.
    virtual std::string GetDefine(const std::string& name);
    virtual void Prepare();

    bool IsLoaded() const { return m_fontData && m_fontData->m_initialized; }
    const std::shared_ptr<FontData>& GetFontData() const { return m_fontData; }
    const std::vector<ActiveFontLayer>& GetActiveLayers();

    bool m_forceScaledImagesWhite = false;

private:
    std::shared_ptr<FontData> m_fontData;
    int m_pointSize = 0;
    std::vector<std::string> m_tags; // upper-cased
    double m_scale = 1.0;
    std::vector<ActiveFontLayer> m_activeLayerList;
    bool m_activeListValid = false;
};

} // namespace Vel
