// A parsed font description: layers of glyphs with their images, rectangles, widths, offsets,
// kerning, colours and draw orders. Shared (by reference count) by a font and its duplicates.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "framework/fonts/DescParser.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/DDImage.h" // complete type for the registry's owned images
#include "framework/graphics/ImageRegistry.h"
#include "framework/graphics/Rect.h"

namespace Vel {

class FontHost;

struct GlyphRecord {
    Rect m_imageRect;
    int m_offsetX = 0;
    int m_offsetY = 0;
    // Extra advance after this character when the next one is that code.
    std::array<int8_t, 256> m_kerningOffsets{};
    int m_width = 0;
    int m_order = 0;
};

class GlyphLayer {
public:
    std::vector<std::string> m_requiredTags; // upper-cased
    std::vector<std::string> m_excludedTags;
    std::array<GlyphRecord, 256> m_glyphs{};
    ImageHandle m_image;
    int m_drawMode = -1; // -1 keeps the caller's
    Color m_colorMult = Color::White();
    Color m_colorAdd = Color(0, 0, 0, 0);
    int m_offsetX = 0;
    int m_offsetY = 0;
    int m_spacing = 0;
    int m_minPointSize = -1;
    int m_maxPointSize = -1; // -1: no upper bound
    int m_pointSize = 0;     // the size the glyphs were drawn at; 0: never scaled
    int m_ascent = 0;
    int m_ascentPadding = 0;
    int m_height = 0; // 0: m_defaultHeight counts
    int m_defaultHeight = 0;
    int m_lineSpacingOffset = 0;
    int m_baseOrder = 0;
};

class FontData : public DescParser {
public:
    explicit FontData(FontHost* host = nullptr);
    ~FontData() override = default;
    FontData(const FontData&) = delete;
    FontData& operator=(const FontData&) = delete;

    // Parses the description at `path` (through the archive layer); on an error the player sees
    // one popup and the data stays unloaded.
    bool Load(const std::string& path);
    // The same for a description held in memory; `path` names it and resolves image files.
    bool LoadText(const std::string& text, const std::string& path);
    // Every layer created from now on starts with this image (fonts built from a given image).
    void SetPresetImage(const ImageHandle& image) { m_presetImage = image; }

    GlyphLayer* FindLayer(const std::string& name);
    // The full text of the last error as shown in the popup.
    const std::string& GetPopupText() const { return m_popupText; }

    bool m_initialized = false; // the description parsed without error
    FontHost* m_host = nullptr;
    int m_defaultPointSize = 0;
    std::array<uint8_t, 256> m_charMap{};
    std::list<GlyphLayer> m_fontLayerList; // a list keeps layer addresses stable
    std::map<std::string, GlyphLayer*> m_fontLayerMap; // upper-cased name
    std::string m_sourceFile;
    std::string m_fontErrorHeader;

protected:
    bool Error(const std::string& text) override;
    bool HandleCommand(const ListDataElement& params) override;

private:
    bool Begin(const std::string& path);
    bool DataToLayer(const DataElement* source, GlyphLayer** layer);
    bool DataToColor(const DataElement* source, Color* color);
    bool DataToRect(const DataElement* source, Rect* rect);
    bool DataToOffset(const DataElement* source, int* x, int* y);
    bool DataToCharList(const DataElement* source, std::vector<uint8_t>* chars);
    std::string ResolveImagePath(const std::string& file) const;
    GlyphLayer* CreateLayer(const std::string& name, const GlyphLayer* from);

    ImageHandle m_presetImage;
    std::string m_popupText;
};

} // namespace Vel
