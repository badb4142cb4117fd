// The resource manifest ("properties\resources.xml") and the groups of images, sounds and fonts
// it declares: parsing, loading a group at a time (one resource per LoadNext for progress),
// freeing groups, and lookups by id. Only the first error is kept.
#pragma once

#include "framework/graphics/ImagePrefetcher.h"

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/graphics/AnimInfo.h"
#include "framework/graphics/DDImage.h" // complete type for the registry's owned images
#include "framework/graphics/ImageRegistry.h"

namespace Vel {

class Font;
class ImageRegistry;
class ResourceHost;
class SoundManager;
class XMLParser;
struct XMLElement;

// Thrown by the Require... lookups of an id that is not loaded; what() is the error text.
class ResourceManagerException : public std::runtime_error {
public:
    explicit ResourceManagerException(const std::string& text) : std::runtime_error(text) {}
};

class ResourceManager {
public:
    enum ResType { ResType_Image = 0, ResType_Sound = 1, ResType_Font = 2 };

    struct BaseRes {
        virtual ~BaseRes() = default;
        ResType m_type = ResType_Image;
        std::string m_id;
        std::string m_path;
        std::string m_resGroup;
        std::map<std::string, std::string> m_xmlAttributes;
        bool m_fromProgram = false; // "!program": the program supplies the object
    };

    struct ImageRes : BaseRes {
        ImageHandle m_image;
        std::string m_alphaImage;
        std::string m_alphaGridImage;
        std::string m_variant;
        bool m_palletize = true;
        bool m_a4r4g4b4 = false;
        bool m_a8r8g8b8 = false;
        bool m_ddSurface = false;
        bool m_purgeBits = false;
        bool m_minSubdivide = false;
        bool m_noAlpha = false;
        int m_rows = 1;
        int m_cols = 1;
        uint32_t m_alphaColor = 0xFFFFFF;
        AnimInfo m_animInfo;
    };

    struct SoundRes : BaseRes {
        int m_soundId = -1; // -1: not loaded
        double m_volume = -1; // -1: not given
        int m_panning = 0;
    };

    struct FontRes : BaseRes {
        std::unique_ptr<Font> m_font;
        ImageHandle m_image;
        std::string m_imagePath;
        std::string m_tags;
        bool m_sysFont = false;
        bool m_bold = false;
        bool m_italic = false;
        bool m_underline = false;
        bool m_shadow = false;
        int m_size = -1;
    };

    // `host` supplies images, popups and (unless `soundManager` is given) the sound manager;
    // both may be null in tests (the process-wide image registry, no sounds).
    explicit ResourceManager(ResourceHost* host = nullptr, SoundManager* soundManager = nullptr);
    virtual ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Reads the whole manifest through the archive layer; false when an error was recorded.
    bool ParseManifest(const std::string& fileName);
    // The same for manifest text held in memory (`fileName` appears in messages).
    bool ParseManifestText(const std::string& text, const std::string& fileName);

    // Loads every resource of the group; false when an error was recorded.
    bool LoadGroup(const std::string& group);
    // Positions at the start of the group (an undeclared group is empty) and clears the error.
    void BeginGroupLoad(const std::string& group);
    // Loads the next resource not yet loaded: true on success; false at the end or on an error.
    bool LoadNext();
    // Frees the group's images, sounds and fonts (all of them for an empty name).
    void DeleteGroup(const std::string& group);
    // Images + sounds + fonts of the group, "!program" ones excluded (empty name: every
    // resource of the three kinds).
    int CountGroupResources(const std::string& group);
    bool IsGroupLoaded(const std::string& group) const { return m_loadedGroups.count(group) != 0; }

    bool HadError() const { return m_hasFailed; }
    std::string GetErrorText() const { return m_error; }

    // The loaded object of an id; an unknown or unloaded id records "... resource not found: id"
    // and throws ResourceManagerException. A missing "!program" object gives an empty result
    // when SetAllowMissingProgramImages(true) was called.
    ImageHandle RequireImage(const std::string& id);
    int RequireSound(const std::string& id);
    Font* RequireFont(const std::string& id);
    // The same without recording or throwing: empty, -1 or null.
    ImageHandle GetImage(const std::string& id);
    int GetSound(const std::string& id);
    Font* GetFont(const std::string& id);
    void SetAllowMissingProgramImages(bool allow) { m_allowMissingProgramResources = allow; }
    // Objects the program supplies for its "!program" resources (the font is taken over).
    bool ReplaceImage(const std::string& id, const ImageHandle& image);
    bool ReplaceFont(const std::string& id, std::unique_ptr<Font> font);

    // The parsed declarations (for tools and tests); null when unknown.
    const ImageRes* GetImageRes(const std::string& id) const;
    const SoundRes* GetSoundRes(const std::string& id) const;
    const FontRes* GetFontRes(const std::string& id) const;
    // The ids of a group in manifest order.
    std::vector<std::string> GetGroupIds(const std::string& group) const;

    void SetSoundManager(SoundManager* soundManager) { m_soundManager = soundManager; }

protected:
    bool Fail(const std::string& text);

    virtual bool ParseCommonResource(XMLElement& element, BaseRes* res,
                                     std::map<std::string, std::unique_ptr<BaseRes>>& resMap);
    virtual bool ParseSoundResource(XMLElement& element);
    virtual bool ParseImageResource(XMLElement& element);
    virtual bool ParseFontResource(XMLElement& element);
    virtual bool ParseSetDefaults(XMLElement& element);
    virtual bool ParseResources();
    virtual void DeleteResources(std::map<std::string, std::unique_ptr<BaseRes>>& resMap,
                                 const std::string& group);
    virtual bool LoadImageRes(ImageRes* res);
    virtual bool LoadFontRes(FontRes* res);
    virtual bool LoadSoundRes(SoundRes* res);
    virtual void OnResourceLoaded(BaseRes* res);

    ImageRegistry* Images();

    std::map<std::string, std::unique_ptr<BaseRes>> m_imageMap;
    std::map<std::string, std::unique_ptr<BaseRes>> m_soundMap;
    std::map<std::string, std::unique_ptr<BaseRes>> m_fontMap;
    std::map<std::string, std::vector<BaseRes*>> m_resGroupMap; // manifest order
    std::set<std::string> m_loadedGroups;
    std::string m_defaultPath;
    std::string m_defaultIdPrefix;
    std::string m_error;
    bool m_hasFailed = false;
    bool m_allowMissingProgramResources = false;
    std::string m_loadingGroup;
    std::vector<BaseRes*>* m_curResGroupList = nullptr;
    size_t m_curResGroupPos = 0;
    // Reads the current group's image files ahead on a helper thread.
    std::unique_ptr<ImagePrefetcher> m_prefetch;
    void EndPrefetch() { m_prefetch.reset(); }
    std::vector<BaseRes*>* m_currentGroup = nullptr; // while parsing
    std::string m_currentGroupName;
    ResourceHost* m_host = nullptr;
    SoundManager* m_soundManager = nullptr;
    XMLParser* m_xmlParser = nullptr; // only while a manifest is read

private:
    bool DoParseManifest();
    bool LoadResource(BaseRes* res);
    static bool IsLoaded(const BaseRes* res);
};

} // namespace Vel
