// The resource manifest: the four groups the game loads, with each kind under its own defaults.
#include <sstream>
#include <string>

#include "Art.h"
#include "Audio.h"
#include "Fonts.h"
#include "Generator.h"

namespace Content {

namespace {

struct Entry {
    const char* element; // "Image", "Sound", "Font"
    const char* prefix;  // the identifier prefix the defaults strip
    std::string id;
    std::string file;    // path under the data folder
    int rows = 1, cols = 1;
};

void Emit(std::ostringstream& o, const Entry& e, std::string& folder, std::string& prefix)
{
    const size_t slash = e.file.rfind('/');
    const std::string dir = e.file.substr(0, slash);
    const std::string name = e.file.substr(slash + 1);
    if (dir != folder || prefix != e.prefix) {
        folder = dir;
        prefix = e.prefix;
        o << "    <SetDefaults path=\"" << folder << "\" idprefix=\"" << prefix << "\"/>\n";
    }
    o << "    <" << e.element << " id=\"" << e.id.substr(prefix.size()) << "\" path=\"" << name << "\"";
    if (e.rows != 1)
        o << " rows=\"" << e.rows << "\"";
    if (e.cols != 1)
        o << " cols=\"" << e.cols << "\"";
    o << "/>\n";
}

} // namespace

std::string ManifestXml()
{
    std::ostringstream o;
    o << "<?xml version=\"1.0\"?>\n";
    o << "<!-- Quorvane's images, fonts and sounds, by resource group. Generated; do not edit. -->\n";
    o << "<ResourceManifest>\n";
    for (const char* group : {"Init", "TitleScreen", "Game", "Quorvane"}) {
        o << "  <Resources id=\"" << group << "\">\n";
        std::string folder = "\x01", prefix;
        if (std::string(group) == "Init")
            for (const FontDef& f : FontTable())
                Emit(o, {"Font", "FONT_", f.id, f.file}, folder, prefix);
        for (const ImageDef& img : ImageTable())
            if (std::string(group) == img.group)
                Emit(o, {"Image", "IMAGE_", img.id, img.file, img.rows, img.cols}, folder, prefix);
        if (std::string(group) == "Game")
            for (const SoundDef& s : SoundTable())
                Emit(o, {"Sound", "SOUND_", s.id, s.file}, folder, prefix);
        o << "  </Resources>\n";
    }
    o << "</ResourceManifest>\n";
    return o.str();
}

} // namespace Content
