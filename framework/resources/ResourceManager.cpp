// Reading the manifest into groups, loading and freeing them, and looking resources up by id.
#include "framework/resources/ResourceManager.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "framework/fonts/ImageFont.h"
#include "framework/fonts/SysFont.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageLoader.h"
#include "framework/resources/ResourceHost.h"
#include "framework/resources/XMLParser.h"
#include "framework/sound/SoundManager.h"

namespace Vel {

namespace {

// Decoded files waiting for the loader at most: enough to keep the helper busy, few enough
// that the waiting pictures add little to memory.
constexpr size_t kPrefetchLookahead = 2;

std::string Lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(uint8_t(c)));
    return s;
}

std::string StripTrailingSlash(std::string s)
{
    if (!s.empty() && (s.back() == '/' || s.back() == '\\'))
        s.pop_back();
    return s;
}

// The file name of a path without its folder and extension.
std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

// Like "%d": a leading integer, 0 when there is none; out-of-range values are clamped.
int ScanInt(const std::string& s)
{
    const long long v = std::strtoll(s.c_str(), nullptr, 10);
    return int(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::vector<int> ScanIntList(const std::string& s)
{
    std::vector<int> out;
    const char* p = s.c_str();
    while (*p) {
        char* end = nullptr;
        const long long v = std::strtoll(p, &end, 10);
        if (end == p) {
            ++p; // separators and stray characters
            continue;
        }
        out.push_back(int(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
        p = end;
    }
    return out;
}

std::vector<std::string> SplitTags(const std::string& s)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (!cur.empty())
                out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        out.push_back(cur);
    return out;
}

} // namespace

std::unique_ptr<DDImage> ResourceHost::GetImage(const std::string& path, bool commit)
{
    (void)commit; // the software display keeps the pixels in memory either way
    return LoadDDImage(path, FontImageRegistry(this), true);
}

ResourceManager::ResourceManager(ResourceHost* host, SoundManager* soundManager)
    : m_host(host), m_soundManager(soundManager)
{
    if (!m_soundManager && m_host)
        m_soundManager = m_host->GetSoundManager();
}

ResourceManager::~ResourceManager()
{
    EndPrefetch();
    DeleteGroup("");
}

ImageRegistry* ResourceManager::Images()
{
    return FontImageRegistry(m_host);
}

bool ResourceManager::Fail(const std::string& text)
{
    if (!m_hasFailed) {
        m_hasFailed = true;
        m_error = text;
        if (m_xmlParser) {
            const int line = m_xmlParser->GetCurrentLineNum();
            if (line > 0)
                m_error += " on Line " + std::to_string(line);
            if (!m_xmlParser->GetFileName().empty())
                m_error += " in File '" + m_xmlParser->GetFileName() + "'";
        }
    }
    return false;
}

bool ResourceManager::ParseManifest(const std::string& fileName)
{
    XMLParser parser;
    m_xmlParser = &parser;
    bool ok;
    if (!parser.OpenFile(fileName))
        ok = Fail("Resource file not found: " + fileName);
    else
        ok = DoParseManifest();
    m_xmlParser = nullptr;
    return ok && !m_hasFailed;
}

bool ResourceManager::ParseManifestText(const std::string& text, const std::string& fileName)
{
    XMLParser parser;
    parser.SetString(text, fileName);
    m_xmlParser = &parser;
    const bool ok = DoParseManifest();
    m_xmlParser = nullptr;
    return ok && !m_hasFailed;
}

bool ResourceManager::DoParseManifest()
{
    XMLElement element;
    for (;;) {
        if (!m_xmlParser->NextElement(&element)) {
            if (m_xmlParser->HasFailed())
                return Fail(m_xmlParser->GetErrorText());
            return Fail("Expecting ResourceManifest tag");
        }
        if (element.type == XMLElement::TYPE_START && element.value == "ResourceManifest")
            break;
    }
    return ParseResources();
}

bool ResourceManager::ParseResources()
{
    XMLElement element;
    for (;;) {
        if (!m_xmlParser->NextElement(&element)) {
            if (m_xmlParser->HasFailed())
                return Fail(m_xmlParser->GetErrorText());
            return true; // the reader only ends cleanly once every element is closed
        }
        if (element.type == XMLElement::TYPE_END)
            return true; // </ResourceManifest>
        if (element.type == XMLElement::TYPE_ELEMENT)
            return Fail("Element Not Expected '" + element.value + "'");
        if (element.type != XMLElement::TYPE_START)
            continue;
        if (element.value != "Resources")
            return Fail("Invalid Section '" + element.value + "'");
        if (!element.HasAttribute("id"))
            return Fail("No id specified.");
        m_currentGroupName = element.GetAttribute("id");
        m_currentGroup = &m_resGroupMap[m_currentGroupName];

        for (;;) {
            if (!m_xmlParser->NextElement(&element)) {
                if (m_xmlParser->HasFailed())
                    return Fail(m_xmlParser->GetErrorText());
                return Fail("Unexpected End of File");
            }
            if (element.type == XMLElement::TYPE_END)
                break; // </Resources>
            if (element.type == XMLElement::TYPE_ELEMENT)
                return Fail("Element Not Expected '" + element.value + "'");
            if (element.type != XMLElement::TYPE_START)
                continue;
            const std::string name = element.value;
            bool ok;
            if (name == "Image")
                ok = ParseImageResource(element);
            else if (name == "Sound")
                ok = ParseSoundResource(element);
            else if (name == "Font")
                ok = ParseFontResource(element);
            else if (name == "SetDefaults")
                ok = ParseSetDefaults(element);
            else
                return Fail("Invalid Section '" + name + "'");
            if (!ok)
                return false;
            XMLElement end;
            if (!m_xmlParser->NextElement(&end)) {
                if (m_xmlParser->HasFailed())
                    return Fail(m_xmlParser->GetErrorText());
                return Fail("Unexpected element found.");
            }
            if (end.type != XMLElement::TYPE_END)
                return Fail("Unexpected element found.");
        }
        m_currentGroup = nullptr;
    }
}

bool ResourceManager::ParseSetDefaults(XMLElement& element)
{
    if (element.HasAttribute("path")) {
        // An empty path means "no folder", not the root.
        const std::string path = StripTrailingSlash(element.GetAttribute("path"));
        m_defaultPath = path.empty() ? std::string() : path + "/";
    }
    if (element.HasAttribute("idprefix"))
        m_defaultIdPrefix = StripTrailingSlash(element.GetAttribute("idprefix"));
    return true;
}

bool ResourceManager::ParseCommonResource(XMLElement& element, BaseRes* res,
                                          std::map<std::string, std::unique_ptr<BaseRes>>& resMap)
{
    std::unique_ptr<BaseRes> owned(res);
    if (!element.HasAttribute("path"))
        return Fail("No path specified.");
    const std::string path = element.GetAttribute("path");
    if (!path.empty() && path[0] == '!') {
        res->m_path = path;
        res->m_fromProgram = path == "!program";
    } else {
        res->m_path = m_defaultPath + path;
    }
    res->m_id = m_defaultIdPrefix + (element.HasAttribute("id") ? element.GetAttribute("id") : BaseName(path));
    if (resMap.count(res->m_id))
        return Fail("Resource already defined.");
    res->m_xmlAttributes = element.attributes;
    res->m_resGroup = m_currentGroupName;
    if (m_currentGroup)
        m_currentGroup->push_back(res);
    resMap[res->m_id] = std::move(owned);
    return true;
}

bool ResourceManager::ParseSoundResource(XMLElement& element)
{
    auto* res = new SoundRes();
    res->m_type = ResType_Sound;
    if (!ParseCommonResource(element, res, m_soundMap))
        return false;
    if (element.HasAttribute("volume")) {
        const double volume = std::strtod(element.GetAttribute("volume").c_str(), nullptr);
        if (volume >= 0)
            res->m_volume = volume;
    }
    if (element.HasAttribute("pan")) {
        const int pan = ScanInt(element.GetAttribute("pan"));
        if (pan != 0)
            res->m_panning = pan;
    }
    return true;
}

bool ResourceManager::ParseImageResource(XMLElement& element)
{
    auto* res = new ImageRes();
    res->m_type = ResType_Image;
    if (!ParseCommonResource(element, res, m_imageMap))
        return false;
    const auto has = [&](const char* name) { return element.HasAttribute(name); };
    const auto get = [&](const char* name) { return element.GetAttribute(name); };

    res->m_palletize = !has("nopal");
    res->m_a4r4g4b4 = has("a4r4g4b4");
    res->m_a8r8g8b8 = has("a8r8g8b8");
    res->m_ddSurface = has("ddsurface");
    res->m_minSubdivide = has("minsubdivide");
    res->m_noAlpha = has("noalpha");
    // The software display never has 3D acceleration, so "nobits2d" applies and "nobits3d" not.
    res->m_purgeBits = has("nobits") || has("nobits2d");
    if (has("alphaimage"))
        res->m_alphaImage = m_defaultPath + get("alphaimage");
    if (has("alphagrid"))
        res->m_alphaGridImage = m_defaultPath + get("alphagrid");
    if (has("alphacolor"))
        res->m_alphaColor = uint32_t(std::strtoul(get("alphacolor").c_str(), nullptr, 16));
    if (has("variant"))
        res->m_variant = get("variant");
    if (has("rows")) {
        res->m_rows = ScanInt(get("rows"));
        // A cel needs at least one pixel, so no image has more rows than kMaxImageDimension.
        if (res->m_rows < 1 || res->m_rows > kMaxImageDimension)
            return Fail("Invalid number of rows.");
    }
    if (has("cols")) {
        res->m_cols = ScanInt(get("cols"));
        if (res->m_cols < 1 || res->m_cols > kMaxImageDimension)
            return Fail("Invalid number of cols.");
    }

    AnimInfo& anim = res->m_animInfo;
    const std::string animType = Lower(has("anim") ? get("anim") : "none");
    if (animType == "none")
        anim.m_animType = AnimInfo::kNone;
    else if (animType == "once")
        anim.m_animType = AnimInfo::kOnce;
    else if (animType == "loop")
        anim.m_animType = AnimInfo::kLoop;
    else if (animType == "pingpong")
        anim.m_animType = AnimInfo::kPingPong;
    else
        return Fail("Invalid animation type.");

    if (anim.m_animType != AnimInfo::kNone) {
        const int frameDelay = has("framedelay") ? ScanInt(get("framedelay")) : 0;
        const int beginDelay = has("begindelay") ? ScanInt(get("begindelay")) : 0;
        const int endDelay = has("enddelay") ? ScanInt(get("enddelay")) : 0;
        anim.m_numCels = std::max(1, std::max(res->m_rows, res->m_cols));
        anim.m_frameDelay = std::max(1, frameDelay);
        anim.m_frameMap = ScanIntList(get("framemap"));
        anim.m_perFrameDelay = ScanIntList(get("perframedelay"));
        if (anim.m_animType == AnimInfo::kPingPong && anim.m_numCels > 1) {
            anim.m_frameMap.clear();
            for (int i = 0; i < anim.m_numCels; ++i)
                anim.m_frameMap.push_back(i);
            for (int i = anim.m_numCels - 2; i >= 1; --i)
                anim.m_frameMap.push_back(i);
        }
        const size_t frames = anim.m_frameMap.empty() ? size_t(anim.m_numCels) : anim.m_frameMap.size();
        if (!anim.m_perFrameDelay.empty() || beginDelay > 0 || endDelay > 0) {
            anim.m_perFrameDelay.resize(frames, anim.m_frameDelay);
            for (int& delay : anim.m_perFrameDelay)
                if (delay < 1)
                    delay = anim.m_frameDelay;
            if (beginDelay > 0)
                anim.m_perFrameDelay.front() = beginDelay;
            if (endDelay > 0)
                anim.m_perFrameDelay.back() = endDelay;
            long long total = 0;
            for (int delay : anim.m_perFrameDelay)
                total += delay;
            anim.m_totalCycles = int(std::min<long long>(total, std::numeric_limits<int>::max()));
        } else {
            anim.m_totalCycles =
                int(std::min<long long>((long long)frames * anim.m_frameDelay, std::numeric_limits<int>::max()));
        }
    }
    return true;
}

bool ResourceManager::ParseFontResource(XMLElement& element)
{
    auto* res = new FontRes();
    res->m_type = ResType_Font;
    if (!ParseCommonResource(element, res, m_fontMap))
        return false;
    if (element.HasAttribute("image"))
        res->m_imagePath = element.GetAttribute("image");
    if (element.HasAttribute("tags"))
        res->m_tags = element.GetAttribute("tags");
    if (res->m_path.rfind("!sys:", 0) == 0) {
        res->m_sysFont = true;
        res->m_size = element.HasAttribute("size") ? ScanInt(element.GetAttribute("size")) : -1;
        if (res->m_size < 1)
            return Fail("SysFont needs point size");
        res->m_bold = element.HasAttribute("bold");
        res->m_italic = element.HasAttribute("italic");
        res->m_shadow = element.HasAttribute("shadow");
        res->m_underline = element.HasAttribute("underline");
    }
    return true;
}

bool ResourceManager::IsLoaded(const BaseRes* res)
{
    switch (res->m_type) {
    case ResType_Image: return bool(static_cast<const ImageRes*>(res)->m_image);
    case ResType_Sound: return static_cast<const SoundRes*>(res)->m_soundId >= 0;
    case ResType_Font: return static_cast<const FontRes*>(res)->m_font != nullptr;
    }
    return false;
}

bool ResourceManager::LoadResource(BaseRes* res)
{
    switch (res->m_type) {
    case ResType_Image: return LoadImageRes(static_cast<ImageRes*>(res));
    case ResType_Sound: return LoadSoundRes(static_cast<SoundRes*>(res));
    case ResType_Font: return LoadFontRes(static_cast<FontRes*>(res));
    }
    return false;
}

bool ResourceManager::LoadImageRes(ImageRes* res)
{
    bool isNew = false;
    ImageHandle handle = Images()->GetSharedImage(res->m_path, res->m_variant, &isNew, res->m_alphaColor, m_prefetch.get());
    DDImage* image = handle.GetDDImage();
    if (!image)
        return Fail("Failed to load image: " + res->m_path);

    if (isNew) {
        const auto mergeAlpha = [&](const std::string& alphaPath, bool grid) {
            auto alpha = LoadImageFile(alphaPath, false);
            if (!alpha)
                return Fail("Failed to load image: " + alphaPath);
            const int cols = grid ? std::max(1, res->m_cols) : 1;
            const int rows = grid ? std::max(1, res->m_rows) : 1;
            const int celW = image->GetWidth() / cols;
            const int celH = image->GetHeight() / rows;
            if (alpha->width != celW || alpha->height != celH) {
                char text[1024];
                std::snprintf(text, sizeof text, grid ? "GridAlphaImage size mismatch between %s and %s"
                                                      : "AlphaImage size mismatch between %s and %s",
                              res->m_path.c_str(), alphaPath.c_str());
                return Fail(text);
            }
            uint32_t* bits = image->GetBits();
            if (!bits)
                return Fail("Failed to load image: " + res->m_path);
            const int width = image->GetWidth();
            for (int cy = 0; cy < rows; ++cy)
                for (int cx = 0; cx < cols; ++cx)
                    for (int y = 0; y < celH; ++y)
                        for (int x = 0; x < celW; ++x) {
                            uint32_t& p = bits[size_t(cy * celH + y) * size_t(width) + size_t(cx * celW + x)];
                            const uint32_t a = alpha->bits[size_t(y) * size_t(celW) + size_t(x)] & 0xFF;
                            p = (p & 0x00FFFFFFu) | a << 24;
                        }
            image->BitsChanged();
            return true;
        };
        if (!res->m_alphaImage.empty() && !mergeAlpha(res->m_alphaImage, false))
            return false;
        if (!res->m_alphaGridImage.empty() && !mergeAlpha(res->m_alphaGridImage, true))
            return false;
        image->RecomputeAlphaFlags();
        image->m_purgeBits = res->m_purgeBits;
        image->m_wantDDSurface = res->m_ddSurface;
        if (res->m_palletize)
            image->Palletize();
    }
    image->SetCelGrid(res->m_rows, res->m_cols);
    if (res->m_animInfo.m_animType != AnimInfo::kNone)
        image->m_animInfo = std::make_shared<AnimInfo>(res->m_animInfo);
    res->m_image = handle;
    return true;
}

bool ResourceManager::LoadSoundRes(SoundRes* res)
{
    if (!m_soundManager)
        return Fail("Failed to load sound: " + res->m_path);
    const int id = m_soundManager->GetFreeSoundId();
    if (id < 0)
        return Fail("Out of free sound ids");
    if (!m_soundManager->LoadSound(id, res->m_path))
        return Fail("Failed to load sound: " + res->m_path);
    if (res->m_volume >= 0)
        m_soundManager->SetBaseVolume(id, res->m_volume);
    if (res->m_panning != 0)
        m_soundManager->SetBasePan(id, res->m_panning);
    res->m_soundId = id;
    return true;
}

bool ResourceManager::LoadFontRes(FontRes* res)
{
    if (res->m_sysFont) {
        auto font = std::make_unique<SysFont>(res->m_path.substr(5), res->m_size, res->m_bold, res->m_italic,
                                              res->m_underline);
        if (!font->IsLoaded())
            return Fail("Failed to load font: " + res->m_path);
        font->m_shadow = res->m_shadow;
        res->m_font = std::move(font);
        return true;
    }

    std::unique_ptr<Font> font;
    if (!res->m_imagePath.empty()) {
        std::unique_ptr<DDImage> image;
        if (m_host)
            image = m_host->GetImage(res->m_imagePath, true);
        else
            image = LoadDDImage(res->m_imagePath, Images(), true);
        if (!image)
            return Fail("Failed to load image: " + res->m_imagePath);
        res->m_image = ImageHandle(image.release(), true);
        font = std::make_unique<ImageFont>(m_host, res->m_path, res->m_image);
    } else if (res->m_path.rfind("!ref:", 0) == 0) {
        const std::string refId = res->m_path.substr(5);
        auto it = m_fontMap.find(refId);
        Font* ref = it == m_fontMap.end() ? nullptr : static_cast<FontRes*>(it->second.get())->m_font.get();
        if (!ref) // undeclared, or declared but not loaded yet
            return Fail("Ref font not found: " + refId);
        font.reset(ref->Duplicate());
    } else {
        font = std::make_unique<ImageFont>(m_host, res->m_path);
    }

    if (auto* imageFont = dynamic_cast<ImageFont*>(font.get())) {
        if (!imageFont->IsLoaded()) {
            res->m_image.Release();
            return Fail("Failed to load font: " + res->m_path);
        }
        for (const auto& tag : SplitTags(res->m_tags))
            imageFont->AddTag(tag);
        imageFont->Prepare();
    }
    res->m_font = std::move(font);
    return true;
}

void ResourceManager::OnResourceLoaded(BaseRes* res)
{
    (void)res;
}

void ResourceManager::BeginGroupLoad(const std::string& group)
{
    m_hasFailed = false;
    m_error.clear();
    m_loadingGroup = group;
    m_curResGroupList = &m_resGroupMap[group];
    m_curResGroupPos = 0;
    // The image files of the group are read ahead while the loader works on what comes before.
    std::vector<ImagePrefetcher::Request> requests;
    for (BaseRes* res : *m_curResGroupList) {
        if (res->m_type != ResType_Image || res->m_fromProgram || IsLoaded(res))
            continue;
        const auto* image = static_cast<const ImageRes*>(res);
        if (!image->m_path.empty() && image->m_path[0] != '!')
            requests.push_back({image->m_path, image->m_alphaColor});
    }
    m_prefetch.reset();
    if (!requests.empty())
        m_prefetch = std::make_unique<ImagePrefetcher>(std::move(requests), kPrefetchLookahead);
}

bool ResourceManager::LoadNext()
{
    if (m_hasFailed || !m_curResGroupList) {
        EndPrefetch();
        return false;
    }
    while (m_curResGroupPos < m_curResGroupList->size()) {
        BaseRes* res = (*m_curResGroupList)[m_curResGroupPos++];
        if (res->m_fromProgram || IsLoaded(res))
            continue;
        const bool ok = LoadResource(res);
        if (ok)
            OnResourceLoaded(res);
        else
            EndPrefetch();
        return ok;
    }
    EndPrefetch();
    return false;
}

bool ResourceManager::LoadGroup(const std::string& group)
{
    BeginGroupLoad(group);
    while (LoadNext()) {
    }
    if (m_hasFailed)
        return false;
    m_loadedGroups.insert(group);
    return true;
}

void ResourceManager::DeleteResources(std::map<std::string, std::unique_ptr<BaseRes>>& resMap,
                                      const std::string& group)
{
    for (auto& [id, base] : resMap) {
        if (!group.empty() && base->m_resGroup != group)
            continue;
        switch (base->m_type) {
        case ResType_Image:
            static_cast<ImageRes*>(base.get())->m_image.Release();
            break;
        case ResType_Sound: {
            auto* res = static_cast<SoundRes*>(base.get());
            // A sound that never loaded has no slot; releasing slot -1 would hit someone else's.
            if (res->m_soundId >= 0 && m_soundManager)
                m_soundManager->ReleaseSound(res->m_soundId);
            res->m_soundId = -1;
            break;
        }
        case ResType_Font: {
            auto* res = static_cast<FontRes*>(base.get());
            res->m_font.reset();
            res->m_image.Release();
            break;
        }
        }
    }
}

void ResourceManager::DeleteGroup(const std::string& group)
{
    DeleteResources(m_imageMap, group);
    DeleteResources(m_soundMap, group);
    DeleteResources(m_fontMap, group);
    if (group.empty())
        m_loadedGroups.clear();
    else
        m_loadedGroups.erase(group);
}

int ResourceManager::CountGroupResources(const std::string& group)
{
    if (group.empty())
        return int(m_imageMap.size() + m_soundMap.size() + m_fontMap.size());
    auto it = m_resGroupMap.find(group);
    if (it == m_resGroupMap.end())
        return 0;
    return int(std::count_if(it->second.begin(), it->second.end(),
                             [](const BaseRes* res) { return !res->m_fromProgram; }));
}

ImageHandle ResourceManager::GetImage(const std::string& id)
{
    auto it = m_imageMap.find(id);
    return it == m_imageMap.end() ? ImageHandle() : static_cast<ImageRes*>(it->second.get())->m_image;
}

int ResourceManager::GetSound(const std::string& id)
{
    auto it = m_soundMap.find(id);
    return it == m_soundMap.end() ? -1 : static_cast<SoundRes*>(it->second.get())->m_soundId;
}

Font* ResourceManager::GetFont(const std::string& id)
{
    auto it = m_fontMap.find(id);
    return it == m_fontMap.end() ? nullptr : static_cast<FontRes*>(it->second.get())->m_font.get();
}

ImageHandle ResourceManager::RequireImage(const std::string& id)
{
    auto it = m_imageMap.find(id);
    if (it != m_imageMap.end()) {
        auto* res = static_cast<ImageRes*>(it->second.get());
        if (res->m_image || (res->m_fromProgram && m_allowMissingProgramResources))
            return res->m_image;
    }
    Fail("Image resource not found: " + id);
    throw ResourceManagerException(GetErrorText());
}

int ResourceManager::RequireSound(const std::string& id)
{
    auto it = m_soundMap.find(id);
    if (it != m_soundMap.end()) {
        auto* res = static_cast<SoundRes*>(it->second.get());
        if (res->m_soundId >= 0 || (res->m_fromProgram && m_allowMissingProgramResources))
            return res->m_soundId;
    }
    Fail("Sound resource not found: " + id);
    throw ResourceManagerException(GetErrorText());
}

Font* ResourceManager::RequireFont(const std::string& id)
{
    auto it = m_fontMap.find(id);
    if (it != m_fontMap.end()) {
        auto* res = static_cast<FontRes*>(it->second.get());
        if (res->m_font || (res->m_fromProgram && m_allowMissingProgramResources))
            return res->m_font.get();
    }
    Fail("Font resource not found: " + id);
    throw ResourceManagerException(GetErrorText());
}

bool ResourceManager::ReplaceImage(const std::string& id, const ImageHandle& image)
{
    auto it = m_imageMap.find(id);
    if (it == m_imageMap.end())
        return false;
    static_cast<ImageRes*>(it->second.get())->m_image = image;
    return true;
}

bool ResourceManager::ReplaceFont(const std::string& id, std::unique_ptr<Font> font)
{
    auto it = m_fontMap.find(id);
    if (it == m_fontMap.end())
        return false;
    static_cast<FontRes*>(it->second.get())->m_font = std::move(font);
    return true;
}

const ResourceManager::ImageRes* ResourceManager::GetImageRes(const std::string& id) const
{
    auto it = m_imageMap.find(id);
    return it == m_imageMap.end() ? nullptr : static_cast<const ImageRes*>(it->second.get());
}

const ResourceManager::SoundRes* ResourceManager::GetSoundRes(const std::string& id) const
{
    auto it = m_soundMap.find(id);
    return it == m_soundMap.end() ? nullptr : static_cast<const SoundRes*>(it->second.get());
}

const ResourceManager::FontRes* ResourceManager::GetFontRes(const std::string& id) const
{
    auto it = m_fontMap.find(id);
    return it == m_fontMap.end() ? nullptr : static_cast<const FontRes*>(it->second.get());
}

std::vector<std::string> ResourceManager::GetGroupIds(const std::string& group) const
{
    std::vector<std::string> ids;
    auto it = m_resGroupMap.find(group);
    if (it != m_resGroupMap.end())
        for (const BaseRes* res : it->second)
            ids.push_back(res->m_id);
    return ids;
}

} // namespace Vel
