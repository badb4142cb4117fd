// The font description commands: layers, their images, glyph tables and colours.
#include "framework/fonts/FontData.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <iostream>
#include <unordered_map>

#include "framework/fonts/FontHost.h"
#include "framework/graphics/DDImage.h"

namespace Vel {

namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        c = char(std::toupper(uint8_t(c)));
    return s;
}

} // namespace

ImageRegistry* FontImageRegistry(FontHost* host)
{
    ImageRegistry* registry = host ? host->GetImageRegistry() : nullptr;
    return registry ? registry : &ImageRegistry::Global();
}

void FontPopup(FontHost* host, const std::string& text)
{
    if (host)
        host->Popup(text);
    else
        std::cerr << text << "\n";
}

FontData::FontData(FontHost* host) : m_host(host)
{
    for (int i = 0; i < 256; ++i)
        m_charMap[size_t(i)] = uint8_t(i);
}

bool FontData::Begin(const std::string& path)
{
    m_sourceFile = path;
    m_fontErrorHeader = "Font Descriptor Error in " + path + "\r\n";
    m_initialized = false;
    m_popupText.clear();
    return true;
}

bool FontData::Load(const std::string& path)
{
    Begin(path);
    m_initialized = LoadDescriptor(path);
    return m_initialized;
}

bool FontData::LoadText(const std::string& text, const std::string& path)
{
    Begin(path);
    m_initialized = LoadDescriptorText(text);
    return m_initialized;
}

GlyphLayer* FontData::FindLayer(const std::string& name)
{
    auto it = m_fontLayerMap.find(Upper(name));
    return it == m_fontLayerMap.end() ? nullptr : it->second;
}

bool FontData::Error(const std::string& text)
{
    DescParser::Error(text);
    if (!m_popupText.empty())
        return false; // one popup per description
    std::string message = m_fontErrorHeader + text;
    if (!m_currentLine.empty()) {
        char line[32];
        std::snprintf(line, sizeof line, " on Line %d:\r\n\r\n", m_currentLineNum);
        message += line;
        message += m_currentLine;
    }
    m_popupText = message;
    FontPopup(m_host, message);
    return false;
}

bool FontData::DataToLayer(const DataElement* source, GlyphLayer** layer)
{
    if (source->m_isList)
        return Error("Undefined Layer");
    const auto& token = static_cast<const SingleDataElement*>(source)->m_string;
    GlyphLayer* found = IsImmediate(token) ? nullptr : FindLayer(token);
    if (!found)
        return Error("Undefined Layer");
    *layer = found;
    return true;
}

bool FontData::DataToColor(const DataElement* source, Color* color)
{
    const DataElement* value = Dereference(source);
    if (!value)
        return false;
    if (!value->m_isList) {
        int packed = 0;
        if (!DataToInt(value, &packed))
            return false;
        *color = Color::FromPacked(uint32_t(packed));
        return true;
    }
    std::vector<double> channels;
    if (!DataToDoubleVector(value, &channels))
        return false;
    if (channels.size() != 4)
        return Error("Invalid Paramater Type");
    int c[4];
    for (int i = 0; i < 4; ++i)
        c[i] = std::clamp(int(channels[size_t(i)] * 255), 0, 255);
    *color = Color(c[0], c[1], c[2], c[3]);
    return true;
}

bool FontData::DataToRect(const DataElement* source, Rect* rect)
{
    std::vector<int> v;
    if (!DataToIntVector(source, &v))
        return false;
    if (v.size() != 4)
        return Error("Invalid Paramater Type");
    *rect = Rect(v[0], v[1], v[2], v[3]);
    return true;
}

bool FontData::DataToOffset(const DataElement* source, int* x, int* y)
{
    std::vector<int> v;
    if (!DataToIntVector(source, &v))
        return false;
    if (v.size() != 2)
        return Error("Invalid Paramater Type");
    *x = v[0];
    *y = v[1];
    return true;
}

bool FontData::DataToCharList(const DataElement* source, std::vector<uint8_t>* chars)
{
    std::vector<std::string> strings;
    if (!DataToStringVector(source, &strings))
        return false;
    chars->clear();
    for (const auto& s : strings) {
        if (s.size() != 1)
            return Error("Invalid Paramater Type");
        chars->push_back(uint8_t(s[0]));
    }
    return true;
}

std::string FontData::ResolveImagePath(const std::string& file) const
{
    const bool absolute = (file.size() >= 2 && file[1] == ':') || (!file.empty() && (file[0] == '/' || file[0] == '\\'));
    if (absolute)
        return file;
    const size_t slash = m_sourceFile.find_last_of("/\\");
    return slash == std::string::npos ? file : m_sourceFile.substr(0, slash + 1) + file;
}

GlyphLayer* FontData::CreateLayer(const std::string& name, const GlyphLayer* from)
{
    if (from)
        m_fontLayerList.push_back(*from);
    else
        m_fontLayerList.emplace_back();
    GlyphLayer* layer = &m_fontLayerList.back();
    if (!from && m_presetImage)
        layer->m_image = m_presetImage;
    m_fontLayerMap[Upper(name)] = layer;
    return layer;
}

bool FontData::HandleCommand(const ListDataElement& params)
{
    const auto& args = params.m_children;
    const std::string cmd = Upper(static_cast<const SingleDataElement*>(args[0].get())->m_string);
    const size_t count = args.size();
    auto needs = [&](size_t n) { return count == n ? true : Error("Invalid Number of Parameters"); };
    auto arg = [&](size_t i) { return args[i].get(); };

    if (cmd == "DEFINE")
        return HandleDefine(params);

    if (cmd == "CREATEHORZSPANRECTLIST") {
        if (!needs(4))
            return false;
        const DataElement* nameElement = arg(1);
        if (nameElement->m_isList || IsImmediate(static_cast<const SingleDataElement*>(nameElement)->m_string))
            return Error("Invalid Paramater Type");
        Rect start;
        std::vector<int> widths;
        if (!DataToRect(arg(2), &start) || !DataToIntVector(arg(3), &widths))
            return false;
        auto list = std::make_unique<ListDataElement>();
        int x = start.x;
        for (int w : widths) {
            auto rect = std::make_unique<ListDataElement>();
            for (int v : {x, start.y, w, start.height})
                rect->m_children.push_back(std::make_unique<SingleDataElement>(std::to_string(v)));
            list->m_children.push_back(std::move(rect));
            x += w;
        }
        m_defineMap[Upper(static_cast<const SingleDataElement*>(nameElement)->m_string)] = std::move(list);
        return true;
    }

    if (cmd == "SETDEFAULTPOINTSIZE")
        return needs(2) && DataToInt(arg(1), &m_defaultPointSize);

    if (cmd == "SETCHARMAP") {
        std::vector<uint8_t> from, to;
        if (!needs(3) || !DataToCharList(arg(1), &from) || !DataToCharList(arg(2), &to))
            return false;
        if (from.size() != to.size())
            return Error("List Size Mismatch");
        for (size_t i = 0; i < from.size(); ++i)
            m_charMap[from[i]] = to[i];
        return true;
    }

    if (cmd == "CREATELAYER" || cmd == "CREATELAYERFROM") {
        const bool copy = cmd == "CREATELAYERFROM";
        if (!needs(copy ? 3 : 2))
            return false;
        std::string name;
        const DataElement* nameElement = arg(1);
        if (nameElement->m_isList)
            return Error("Invalid Paramater Type");
        const std::string& token = static_cast<const SingleDataElement*>(nameElement)->m_string;
        name = IsImmediate(token) ? Unquote(token) : token;
        if (name.empty())
            return Error("Invalid Paramater Type");
        GlyphLayer* source = nullptr;
        if (copy && !DataToLayer(arg(2), &source))
            return false;
        if (FindLayer(name))
            return Error("Layer Already Exists");
        CreateLayer(name, source);
        return true;
    }

    // Every other command works on a layer named by its first argument.
    using LayerCommand = std::function<bool(GlyphLayer*)>;
    auto intCommand = [&](int GlyphLayer::*field) -> LayerCommand {
        return [&, field](GlyphLayer* layer) { return needs(3) && DataToInt(arg(2), &(layer->*field)); };
    };
    auto perChar = [&](const std::function<bool(const DataElement*, size_t*)>& readValues,
                       const std::function<void(GlyphLayer*, uint8_t, size_t)>& apply) -> LayerCommand {
        return [&, readValues, apply](GlyphLayer* layer) {
            if (!needs(4))
                return false;
            std::vector<uint8_t> chars;
            size_t valueCount = 0;
            if (!DataToCharList(arg(2), &chars) || !readValues(arg(3), &valueCount))
                return false;
            if (chars.size() != valueCount)
                return Error("List Size Mismatch");
            for (size_t i = 0; i < chars.size(); ++i)
                apply(layer, chars[i], i);
            return true;
        };
    };
    std::vector<int> ints;
    std::vector<Rect> rects;
    std::vector<std::pair<int, int>> offsets;
    auto readInts = [&](const DataElement* e, size_t* n) {
        if (!DataToIntVector(e, &ints))
            return false;
        *n = ints.size();
        return true;
    };
    auto readRects = [&](const DataElement* e, size_t* n) {
        ListDataElement list;
        if (!DataToList(e, &list))
            return false;
        for (const auto& child : list.m_children) {
            Rect r;
            if (!DataToRect(child.get(), &r))
                return false;
            rects.push_back(r);
        }
        *n = rects.size();
        return true;
    };
    auto readOffsets = [&](const DataElement* e, size_t* n) {
        ListDataElement list;
        if (!DataToList(e, &list))
            return false;
        for (const auto& child : list.m_children) {
            int x = 0, y = 0;
            if (!DataToOffset(child.get(), &x, &y))
                return false;
            offsets.emplace_back(x, y);
        }
        *n = offsets.size();
        return true;
    };
    auto tagCommand = [&](bool required) -> LayerCommand {
        return [&, required](GlyphLayer* layer) {
            std::vector<std::string> tags;
            if (!needs(3) || !DataToStringVector(arg(2), &tags))
                return false;
            for (auto& tag : tags)
                (required ? layer->m_requiredTags : layer->m_excludedTags).push_back(Upper(tag));
            return true;
        };
    };
    auto colorCommand = [&](Color GlyphLayer::*field) -> LayerCommand {
        return [&, field](GlyphLayer* layer) { return needs(3) && DataToColor(arg(2), &(layer->*field)); };
    };

    static const std::unordered_map<std::string, int> kLayerCommands = {
        {"LAYERREQUIRETAGS", 0}, {"LAYEREXCLUDETAGS", 1}, {"LAYERPOINTRANGE", 2},
        {"LAYERSETPOINTSIZE", 3}, {"LAYERSETHEIGHT", 4}, {"LAYERSETIMAGE", 5},
        {"LAYERSETDRAWMODE", 6}, {"LAYERSETCOLORMULT", 7}, {"LAYERSETCOLORADD", 8},
        {"LAYERSETASCENT", 9}, {"LAYERSETASCENTPADDING", 10}, {"LAYERSETLINESPACINGOFFSET", 11},
        {"LAYERSETOFFSET", 12}, {"LAYERSETCHARWIDTHS", 13}, {"LAYERSETSPACING", 14},
        {"LAYERSETIMAGEMAP", 15}, {"LAYERSETCHAROFFSETS", 16}, {"LAYERSETKERNINGPAIRS", 17},
        {"LAYERSETBASEORDER", 18}, {"LAYERSETCHARORDERS", 19},
    };
    auto found = kLayerCommands.find(cmd);
    if (found == kLayerCommands.end())
        return Error("Unknown Command");
    if (count < 2)
        return Error("Invalid Number of Parameters");
    GlyphLayer* layer = nullptr;
    if (!DataToLayer(arg(1), &layer))
        return false;

    LayerCommand run;
    switch (found->second) {
    case 0: run = tagCommand(true); break;
    case 1: run = tagCommand(false); break;
    case 2:
        run = [&](GlyphLayer* l) {
            return needs(4) && DataToInt(arg(2), &l->m_minPointSize) && DataToInt(arg(3), &l->m_maxPointSize);
        };
        break;
    case 3: run = intCommand(&GlyphLayer::m_pointSize); break;
    case 4: run = intCommand(&GlyphLayer::m_height); break;
    case 5:
        run = [&](GlyphLayer* l) {
            std::string file;
            if (!needs(3) || !DataToString(arg(2), &file))
                return false;
            bool isNew = false;
            ImageHandle image = FontImageRegistry(m_host)->GetSharedImage(ResolveImagePath(file), "", &isNew);
            if (!image)
                return Error("Failed to Load Image");
            if (isNew && image.GetMemoryImage())
                image.GetMemoryImage()->Palletize();
            l->m_image = image;
            return true;
        };
        break;
    case 6:
        run = [&](GlyphLayer* l) {
            int mode = 0;
            if (!needs(3) || !DataToInt(arg(2), &mode))
                return false;
            if (mode == 0 || mode == 1) // other modes are refused and the layer keeps its own
                l->m_drawMode = mode;
            return true;
        };
        break;
    case 7: run = colorCommand(&GlyphLayer::m_colorMult); break;
    case 8: run = colorCommand(&GlyphLayer::m_colorAdd); break;
    case 9: run = intCommand(&GlyphLayer::m_ascent); break;
    case 10: run = intCommand(&GlyphLayer::m_ascentPadding); break;
    case 11: run = intCommand(&GlyphLayer::m_lineSpacingOffset); break;
    case 12:
        run = [&](GlyphLayer* l) { return needs(3) && DataToOffset(arg(2), &l->m_offsetX, &l->m_offsetY); };
        break;
    case 13:
        run = perChar(readInts, [&](GlyphLayer* l, uint8_t c, size_t i) { l->m_glyphs[c].m_width = ints[i]; });
        break;
    case 14: run = intCommand(&GlyphLayer::m_spacing); break;
    case 15:
        run = [&](GlyphLayer* l) {
            if (!needs(4))
                return false;
            if (!l->m_image)
                return Error("Layer image not set");
            std::vector<uint8_t> chars;
            size_t n = 0;
            if (!DataToCharList(arg(2), &chars) || !readRects(arg(3), &n))
                return false;
            if (chars.size() != n)
                return Error("List Size Mismatch");
            const int64_t w = l->m_image->GetWidth();
            const int64_t h = l->m_image->GetHeight();
            for (const Rect& r : rects) {
                if (r.x < 0 || r.y < 0 || r.width < 0 || r.height < 0 || int64_t(r.x) + r.width > w ||
                    int64_t(r.y) + r.height > h)
                    return Error("Image rectangle out of bounds");
            }
            for (size_t i = 0; i < n; ++i)
                l->m_glyphs[chars[i]].m_imageRect = rects[i];
            int height = 0;
            for (const GlyphRecord& g : l->m_glyphs)
                height = std::max(height, g.m_imageRect.height + g.m_offsetY);
            l->m_defaultHeight = height;
            return true;
        };
        break;
    case 16:
        run = perChar(readOffsets, [&](GlyphLayer* l, uint8_t c, size_t i) {
            l->m_glyphs[c].m_offsetX = offsets[i].first;
            l->m_glyphs[c].m_offsetY = offsets[i].second;
        });
        break;
    case 17:
        run = [&](GlyphLayer* l) {
            std::vector<std::string> pairs;
            if (!needs(4) || !DataToStringVector(arg(2), &pairs) || !DataToIntVector(arg(3), &ints))
                return false;
            if (pairs.size() != ints.size())
                return Error("List Size Mismatch");
            for (const auto& p : pairs)
                if (p.size() != 2)
                    return Error("Invalid Paramater Type");
            for (size_t i = 0; i < pairs.size(); ++i) {
                // The table holds signed bytes; larger values would wrap into nonsense.
                l->m_glyphs[uint8_t(pairs[i][0])].m_kerningOffsets[uint8_t(pairs[i][1])] =
                    int8_t(std::clamp(ints[i], -128, 127));
            }
            return true;
        };
        break;
    case 18: run = intCommand(&GlyphLayer::m_baseOrder); break;
    case 19:
        run = perChar(readInts, [&](GlyphLayer* l, uint8_t c, size_t i) { l->m_glyphs[c].m_order = ints[i]; });
        break;
    }
    return run(layer);
}

} // namespace Vel
