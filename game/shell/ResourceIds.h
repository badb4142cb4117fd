// The game's resource identifiers: one global handle per image, sound and font of the manifest,
// bound once after its group has loaded and read-only afterwards. Screens name them directly.
#pragma once

#include <span>
#include <string>

namespace Vel {

class Font;
class Image;
class ResourceManager;

// The four groups of "properties\resources.xml", in the order they are loaded.
enum class ResourceGroup { Init, TitleScreen, Game, Program };
const char* GroupName(ResourceGroup group);

enum class ResourceKind { Image, Sound, Font };

struct ResourceBinding {
    const char* id;
    ResourceKind kind;
    void* handle; // Image**, int* or Font**, by kind
};

// Every identifier of a group, in the order it is bound.
std::span<const ResourceBinding> GroupBindings(ResourceGroup group);
inline constexpr int kResourceIdCount = 93;

// Each looks up every identifier of its group (the Require... lookups) and stores the result in
// its handle; false at the first one that is missing (the manager keeps the error text).
// Handles bound before the failure keep their values.
bool BindInitIds(ResourceManager* manager);
bool BindTitleScreenIds(ResourceManager* manager);
bool BindGameIds(ResourceManager* manager);
bool BindProgramIds(ResourceManager* manager);
bool BindGroupIds(ResourceManager* manager, ResourceGroup group);
// Sets the group's handles back to null / -1, for a group whose resources were freed.
void UnbindGroupIds(ResourceGroup group);
// Lets go of one bound image of `group` before its group goes: the handle becomes null and the
// manager forgets the picture, which the image registry's next purge frees.
void ReleaseImageId(ResourceManager* manager, ResourceGroup group, Image*& handle);

// The game's four text fonts by number: 0 = FONT_MENU1 ... 3 = FONT_MENU4 (out of range: 0).
Font* MenuFont(int number);

// Group "Init".
extern Font* FONT_MENU0;
extern Font* FONT_MENU1;
extern Font* FONT_MENU2;
extern Font* FONT_MENU3;
extern Font* FONT_MENU4;
extern Image* IMAGE_BKG_SPLASH;
extern Image* IMAGE_BKG_TITLE;
extern Image* IMAGE_CUSTOM_POINTER;

// Group "TitleScreen" (bound; no screen draws it).
extern Image* IMAGE_LOADER_BAR;

// Group "Game".
extern Image* IMAGE_CHECKBOX;
extern Image* IMAGE_DIALOG_BOX;
extern Image* IMAGE_SLIDER_THUMB;
extern int SOUND_BEEP1;
extern int SOUND_BEEP2;
extern int SOUND_BUTTONCLICK;
extern int SOUND_CLICKOFF;
extern int SOUND_CLICKON;
extern int SOUND_COUNTER;
extern int SOUND_FAILURE;
extern int SOUND_SUCCESS;
extern int SOUND_TIMERLOW;
extern int SOUND_VOICE1;
extern int SOUND_VOICE2;
extern int SOUND_VOICE3;
extern int SOUND_VOICE4;
extern int SOUND_VOICE5;

// Group "Quorvane".
extern Image* IMAGE_BALLOON;
extern Image* IMAGE_BANNER1;
extern Image* IMAGE_BANNER2;
extern Image* IMAGE_BANNER3;
extern Image* IMAGE_BANNER4;
extern Image* IMAGE_BANNER5;
extern Image* IMAGE_BKG_CREDITS_SCREEN;
extern Image* IMAGE_BKG_DIM;
extern Image* IMAGE_BKG_OPTIONS;
extern Image* IMAGE_BKG_PROFILE_NEW_SCREEN;
extern Image* IMAGE_BKG_PROFILE_SELECT_SCREEN;
extern Image* IMAGE_BKG_START_SCREEN;
extern Image* IMAGE_BUTTON1;
extern Image* IMAGE_BUTTON1B;
extern Image* IMAGE_BUTTON2;
extern Image* IMAGE_BUTTON2B;
extern Image* IMAGE_BUTTON3;
extern Image* IMAGE_BUTTON3B;
extern Image* IMAGE_BUTTON4;
extern Image* IMAGE_BUTTON4B;
extern Image* IMAGE_BUTTON5;
extern Image* IMAGE_BUTTON6;
extern Image* IMAGE_BUTTON7;
extern Image* IMAGE_BUTTON7B;
extern Image* IMAGE_CARDBACK;
extern Image* IMAGE_CARDSHAPES;
extern Image* IMAGE_HOOTLEEYES1;
extern Image* IMAGE_HOOTLEEYES2;
extern Image* IMAGE_HOOTLEEYES3;
extern Image* IMAGE_HOOTLEFACE;
extern Image* IMAGE_HOOTLEHALO1;
extern Image* IMAGE_HOOTLEHALO2;
extern Image* IMAGE_HOOTLEHALO3;
extern Image* IMAGE_HOOTLEMOUTH1;
extern Image* IMAGE_HOOTLEMOUTH2;
extern Image* IMAGE_HOOTLEMOUTH3;
extern Image* IMAGE_HOOTLEMOUTH4;
extern Image* IMAGE_HOOTLEMOUTH5;
extern Image* IMAGE_EDITFIELD;
extern Image* IMAGE_GRID;
extern Image* IMAGE_GRID2;
extern Image* IMAGE_HEAD_EYES;
extern Image* IMAGE_HEAD_EYES_SMALL;
extern Image* IMAGE_HEAD_FACES_BLACK;
extern Image* IMAGE_HEAD_FACES_BLACK_SMALL;
extern Image* IMAGE_HEAD_FACES_TAN;
extern Image* IMAGE_HEAD_FACES_TAN_SMALL;
extern Image* IMAGE_HEAD_FACES_WHITE;
extern Image* IMAGE_HEAD_FACES_WHITE_SMALL;
extern Image* IMAGE_HEAD_HAIR_BLOND;
extern Image* IMAGE_HEAD_HAIR_BLOND_SMALL;
extern Image* IMAGE_HEAD_HAIR_BROWN;
extern Image* IMAGE_HEAD_HAIR_BROWN_SMALL;
extern Image* IMAGE_HEAD_HAIR_RED;
extern Image* IMAGE_HEAD_HAIR_RED_SMALL;
extern Image* IMAGE_HEAD_MOUTHS;
extern Image* IMAGE_HEAD_MOUTHS_SMALL;
extern Image* IMAGE_HEAD_NOSES;
extern Image* IMAGE_HEAD_NOSES_SMALL;
extern Image* IMAGE_MATHSHAPES;
extern Image* IMAGE_OPTIONS_BAR;
extern Image* IMAGE_PROFILE_SELECT;
extern Image* IMAGE_SHAPES;
extern Image* IMAGE_STAMPS;
extern Image* IMAGE_TICKS;
extern Image* IMAGE_TITLE;
extern Image* IMAGE_WORDBOARD;

} // namespace Vel
