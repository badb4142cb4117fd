// A font of the system's own TrueType faces, rendered with FreeType. Face names of other systems
// ("Arial", "Tahoma", "Arial Unicode MS", ...) map to the installed free faces.
#pragma once

#include <memory>
#include <string>

#include "framework/fonts/Font.h"

namespace Vel {

struct SysFontFace;

class SysFont : public Font {
public:
    // `pointSize` in points at 96 pixels per inch.
    SysFont(const std::string& faceName, int pointSize, bool bold = false, bool italic = false,
            bool underline = false);
    SysFont(const SysFont& other);
    ~SysFont() override;

    int StringWidth(const std::string& text) override;
    int CharWidth(char c) override;
    int CharWidthKern(char c, char prev) override;
    // Texts are single-byte (Latin-1); each byte is one character.
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                    const Rect& clipRect) override;
    Font* Duplicate() override;

    // False when no usable font file was found; such a font measures 0 and draws nothing.
    bool IsLoaded() const;
    const std::string& GetFontPath() const;
    // The font file used for a face name; empty when nothing is installed.
    static std::string FindFontFile(const std::string& faceName, bool bold, bool italic);

    bool m_shadow = false;       // black copy one pixel right and down, under the text
    bool m_simulateBold = false; // drawn twice, one pixel apart
    bool m_underline = false;

private:
    std::shared_ptr<SysFontFace> m_face;
};

} // namespace Vel
