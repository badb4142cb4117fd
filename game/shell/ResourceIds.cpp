// The handles of every resource identifier and the binding of each group to them.
#include "game/shell/ResourceIds.h"

#include "framework/resources/ResourceManager.h"

#include <array>

namespace Vel {

Font* FONT_MENU0 = nullptr;
Font* FONT_MENU1 = nullptr;
Font* FONT_MENU2 = nullptr;
Font* FONT_MENU3 = nullptr;
Font* FONT_MENU4 = nullptr;
Image* IMAGE_BKG_SPLASH = nullptr;
Image* IMAGE_BKG_TITLE = nullptr;
Image* IMAGE_CUSTOM_POINTER = nullptr;

Image* IMAGE_LOADER_BAR = nullptr;

Image* IMAGE_CHECKBOX = nullptr;
Image* IMAGE_DIALOG_BOX = nullptr;
Image* IMAGE_SLIDER_THUMB = nullptr;
int SOUND_BEEP1 = -1;
int SOUND_BEEP2 = -1;
int SOUND_BUTTONCLICK = -1;
int SOUND_CLICKOFF = -1;
int SOUND_CLICKON = -1;
int SOUND_COUNTER = -1;
int SOUND_FAILURE = -1;
int SOUND_SUCCESS = -1;
int SOUND_TIMERLOW = -1;
int SOUND_VOICE1 = -1;
int SOUND_VOICE2 = -1;
int SOUND_VOICE3 = -1;
int SOUND_VOICE4 = -1;
int SOUND_VOICE5 = -1;

Image* IMAGE_BALLOON = nullptr;
Image* IMAGE_BANNER1 = nullptr;
Image* IMAGE_BANNER2 = nullptr;
Image* IMAGE_BANNER3 = nullptr;
Image* IMAGE_BANNER4 = nullptr;
Image* IMAGE_BANNER5 = nullptr;
Image* IMAGE_BKG_CREDITS_SCREEN = nullptr;
Image* IMAGE_BKG_DIM = nullptr;
Image* IMAGE_BKG_OPTIONS = nullptr;
Image* IMAGE_BKG_PROFILE_NEW_SCREEN = nullptr;
Image* IMAGE_BKG_PROFILE_SELECT_SCREEN = nullptr;
Image* IMAGE_BKG_START_SCREEN = nullptr;
Image* IMAGE_BUTTON1 = nullptr;
Image* IMAGE_BUTTON1B = nullptr;
Image* IMAGE_BUTTON2 = nullptr;
Image* IMAGE_BUTTON2B = nullptr;
Image* IMAGE_BUTTON3 = nullptr;
Image* IMAGE_BUTTON3B = nullptr;
Image* IMAGE_BUTTON4 = nullptr;
Image* IMAGE_BUTTON4B = nullptr;
Image* IMAGE_BUTTON5 = nullptr;
Image* IMAGE_BUTTON6 = nullptr;
Image* IMAGE_BUTTON7 = nullptr;
Image* IMAGE_BUTTON7B = nullptr;
Image* IMAGE_CARDBACK = nullptr;
Image* IMAGE_CARDSHAPES = nullptr;
Image* IMAGE_HOOTLEEYES1 = nullptr;
Image* IMAGE_HOOTLEEYES2 = nullptr;
Image* IMAGE_HOOTLEEYES3 = nullptr;
Image* IMAGE_HOOTLEFACE = nullptr;
Image* IMAGE_HOOTLEHALO1 = nullptr;
Image* IMAGE_HOOTLEHALO2 = nullptr;
Image* IMAGE_HOOTLEHALO3 = nullptr;
Image* IMAGE_HOOTLEMOUTH1 = nullptr;
Image* IMAGE_HOOTLEMOUTH2 = nullptr;
Image* IMAGE_HOOTLEMOUTH3 = nullptr;
Image* IMAGE_HOOTLEMOUTH4 = nullptr;
Image* IMAGE_HOOTLEMOUTH5 = nullptr;
Image* IMAGE_EDITFIELD = nullptr;
Image* IMAGE_GRID = nullptr;
Image* IMAGE_GRID2 = nullptr;
Image* IMAGE_HEAD_EYES = nullptr;
Image* IMAGE_HEAD_EYES_SMALL = nullptr;
Image* IMAGE_HEAD_FACES_BLACK = nullptr;
Image* IMAGE_HEAD_FACES_BLACK_SMALL = nullptr;
Image* IMAGE_HEAD_FACES_TAN = nullptr;
Image* IMAGE_HEAD_FACES_TAN_SMALL = nullptr;
Image* IMAGE_HEAD_FACES_WHITE = nullptr;
Image* IMAGE_HEAD_FACES_WHITE_SMALL = nullptr;
Image* IMAGE_HEAD_HAIR_BLOND = nullptr;
Image* IMAGE_HEAD_HAIR_BLOND_SMALL = nullptr;
Image* IMAGE_HEAD_HAIR_BROWN = nullptr;
Image* IMAGE_HEAD_HAIR_BROWN_SMALL = nullptr;
Image* IMAGE_HEAD_HAIR_RED = nullptr;
Image* IMAGE_HEAD_HAIR_RED_SMALL = nullptr;
Image* IMAGE_HEAD_MOUTHS = nullptr;
Image* IMAGE_HEAD_MOUTHS_SMALL = nullptr;
Image* IMAGE_HEAD_NOSES = nullptr;
Image* IMAGE_HEAD_NOSES_SMALL = nullptr;
Image* IMAGE_MATHSHAPES = nullptr;
Image* IMAGE_OPTIONS_BAR = nullptr;
Image* IMAGE_PROFILE_SELECT = nullptr;
Image* IMAGE_SHAPES = nullptr;
Image* IMAGE_STAMPS = nullptr;
Image* IMAGE_TICKS = nullptr;
Image* IMAGE_TITLE = nullptr;
Image* IMAGE_WORDBOARD = nullptr;

namespace {

const std::array<ResourceBinding, 8> kInitBindings{{
    {"FONT_MENU0", ResourceKind::Font, &FONT_MENU0},
    {"FONT_MENU1", ResourceKind::Font, &FONT_MENU1},
    {"FONT_MENU2", ResourceKind::Font, &FONT_MENU2},
    {"FONT_MENU3", ResourceKind::Font, &FONT_MENU3},
    {"FONT_MENU4", ResourceKind::Font, &FONT_MENU4},
    {"IMAGE_BKG_SPLASH", ResourceKind::Image, &IMAGE_BKG_SPLASH},
    {"IMAGE_BKG_TITLE", ResourceKind::Image, &IMAGE_BKG_TITLE},
    {"IMAGE_CUSTOM_POINTER", ResourceKind::Image, &IMAGE_CUSTOM_POINTER},
}};

const std::array<ResourceBinding, 1> kTitleScreenBindings{{
    {"IMAGE_LOADER_BAR", ResourceKind::Image, &IMAGE_LOADER_BAR},
}};

const std::array<ResourceBinding, 17> kGameBindings{{
    {"IMAGE_CHECKBOX", ResourceKind::Image, &IMAGE_CHECKBOX},
    {"IMAGE_DIALOG_BOX", ResourceKind::Image, &IMAGE_DIALOG_BOX},
    {"IMAGE_SLIDER_THUMB", ResourceKind::Image, &IMAGE_SLIDER_THUMB},
    {"SOUND_BEEP1", ResourceKind::Sound, &SOUND_BEEP1},
    {"SOUND_BEEP2", ResourceKind::Sound, &SOUND_BEEP2},
    {"SOUND_BUTTONCLICK", ResourceKind::Sound, &SOUND_BUTTONCLICK},
    {"SOUND_CLICKOFF", ResourceKind::Sound, &SOUND_CLICKOFF},
    {"SOUND_CLICKON", ResourceKind::Sound, &SOUND_CLICKON},
    {"SOUND_COUNTER", ResourceKind::Sound, &SOUND_COUNTER},
    {"SOUND_FAILURE", ResourceKind::Sound, &SOUND_FAILURE},
    {"SOUND_SUCCESS", ResourceKind::Sound, &SOUND_SUCCESS},
    {"SOUND_TIMERLOW", ResourceKind::Sound, &SOUND_TIMERLOW},
    {"SOUND_VOICE1", ResourceKind::Sound, &SOUND_VOICE1},
    {"SOUND_VOICE2", ResourceKind::Sound, &SOUND_VOICE2},
    {"SOUND_VOICE3", ResourceKind::Sound, &SOUND_VOICE3},
    {"SOUND_VOICE4", ResourceKind::Sound, &SOUND_VOICE4},
    {"SOUND_VOICE5", ResourceKind::Sound, &SOUND_VOICE5},
}};

const std::array<ResourceBinding, 67> kProgramBindings{{
    {"IMAGE_BALLOON", ResourceKind::Image, &IMAGE_BALLOON},
    {"IMAGE_BANNER1", ResourceKind::Image, &IMAGE_BANNER1},
    {"IMAGE_BANNER2", ResourceKind::Image, &IMAGE_BANNER2},
    {"IMAGE_BANNER3", ResourceKind::Image, &IMAGE_BANNER3},
    {"IMAGE_BANNER4", ResourceKind::Image, &IMAGE_BANNER4},
    {"IMAGE_BANNER5", ResourceKind::Image, &IMAGE_BANNER5},
    {"IMAGE_BKG_CREDITS_SCREEN", ResourceKind::Image, &IMAGE_BKG_CREDITS_SCREEN},
    {"IMAGE_BKG_DIM", ResourceKind::Image, &IMAGE_BKG_DIM},
    {"IMAGE_BKG_OPTIONS", ResourceKind::Image, &IMAGE_BKG_OPTIONS},
    {"IMAGE_BKG_PROFILE_NEW_SCREEN", ResourceKind::Image, &IMAGE_BKG_PROFILE_NEW_SCREEN},
    {"IMAGE_BKG_PROFILE_SELECT_SCREEN", ResourceKind::Image, &IMAGE_BKG_PROFILE_SELECT_SCREEN},
    {"IMAGE_BKG_START_SCREEN", ResourceKind::Image, &IMAGE_BKG_START_SCREEN},
    {"IMAGE_BUTTON1", ResourceKind::Image, &IMAGE_BUTTON1},
    {"IMAGE_BUTTON1B", ResourceKind::Image, &IMAGE_BUTTON1B},
    {"IMAGE_BUTTON2", ResourceKind::Image, &IMAGE_BUTTON2},
    {"IMAGE_BUTTON2B", ResourceKind::Image, &IMAGE_BUTTON2B},
    {"IMAGE_BUTTON3", ResourceKind::Image, &IMAGE_BUTTON3},
    {"IMAGE_BUTTON3B", ResourceKind::Image, &IMAGE_BUTTON3B},
    {"IMAGE_BUTTON4", ResourceKind::Image, &IMAGE_BUTTON4},
    {"IMAGE_BUTTON4B", ResourceKind::Image, &IMAGE_BUTTON4B},
    {"IMAGE_BUTTON5", ResourceKind::Image, &IMAGE_BUTTON5},
    {"IMAGE_BUTTON6", ResourceKind::Image, &IMAGE_BUTTON6},
    {"IMAGE_BUTTON7", ResourceKind::Image, &IMAGE_BUTTON7},
    {"IMAGE_BUTTON7B", ResourceKind::Image, &IMAGE_BUTTON7B},
    {"IMAGE_CARDBACK", ResourceKind::Image, &IMAGE_CARDBACK},
    {"IMAGE_CARDSHAPES", ResourceKind::Image, &IMAGE_CARDSHAPES},
    {"IMAGE_HOOTLEEYES1", ResourceKind::Image, &IMAGE_HOOTLEEYES1},
    {"IMAGE_HOOTLEEYES2", ResourceKind::Image, &IMAGE_HOOTLEEYES2},
    {"IMAGE_HOOTLEEYES3", ResourceKind::Image, &IMAGE_HOOTLEEYES3},
    {"IMAGE_HOOTLEFACE", ResourceKind::Image, &IMAGE_HOOTLEFACE},
    {"IMAGE_HOOTLEHALO1", ResourceKind::Image, &IMAGE_HOOTLEHALO1},
    {"IMAGE_HOOTLEHALO2", ResourceKind::Image, &IMAGE_HOOTLEHALO2},
    {"IMAGE_HOOTLEHALO3", ResourceKind::Image, &IMAGE_HOOTLEHALO3},
    {"IMAGE_HOOTLEMOUTH1", ResourceKind::Image, &IMAGE_HOOTLEMOUTH1},
    {"IMAGE_HOOTLEMOUTH2", ResourceKind::Image, &IMAGE_HOOTLEMOUTH2},
    {"IMAGE_HOOTLEMOUTH3", ResourceKind::Image, &IMAGE_HOOTLEMOUTH3},
    {"IMAGE_HOOTLEMOUTH4", ResourceKind::Image, &IMAGE_HOOTLEMOUTH4},
    {"IMAGE_HOOTLEMOUTH5", ResourceKind::Image, &IMAGE_HOOTLEMOUTH5},
    {"IMAGE_EDITFIELD", ResourceKind::Image, &IMAGE_EDITFIELD},
    {"IMAGE_GRID", ResourceKind::Image, &IMAGE_GRID},
    {"IMAGE_GRID2", ResourceKind::Image, &IMAGE_GRID2},
    {"IMAGE_HEAD_EYES", ResourceKind::Image, &IMAGE_HEAD_EYES},
    {"IMAGE_HEAD_EYES_SMALL", ResourceKind::Image, &IMAGE_HEAD_EYES_SMALL},
    {"IMAGE_HEAD_FACES_BLACK", ResourceKind::Image, &IMAGE_HEAD_FACES_BLACK},
    {"IMAGE_HEAD_FACES_BLACK_SMALL", ResourceKind::Image, &IMAGE_HEAD_FACES_BLACK_SMALL},
    {"IMAGE_HEAD_FACES_TAN", ResourceKind::Image, &IMAGE_HEAD_FACES_TAN},
    {"IMAGE_HEAD_FACES_TAN_SMALL", ResourceKind::Image, &IMAGE_HEAD_FACES_TAN_SMALL},
    {"IMAGE_HEAD_FACES_WHITE", ResourceKind::Image, &IMAGE_HEAD_FACES_WHITE},
    {"IMAGE_HEAD_FACES_WHITE_SMALL", ResourceKind::Image, &IMAGE_HEAD_FACES_WHITE_SMALL},
    {"IMAGE_HEAD_HAIR_BLOND", ResourceKind::Image, &IMAGE_HEAD_HAIR_BLOND},
    {"IMAGE_HEAD_HAIR_BLOND_SMALL", ResourceKind::Image, &IMAGE_HEAD_HAIR_BLOND_SMALL},
    {"IMAGE_HEAD_HAIR_BROWN", ResourceKind::Image, &IMAGE_HEAD_HAIR_BROWN},
    {"IMAGE_HEAD_HAIR_BROWN_SMALL", ResourceKind::Image, &IMAGE_HEAD_HAIR_BROWN_SMALL},
    {"IMAGE_HEAD_HAIR_RED", ResourceKind::Image, &IMAGE_HEAD_HAIR_RED},
    {"IMAGE_HEAD_HAIR_RED_SMALL", ResourceKind::Image, &IMAGE_HEAD_HAIR_RED_SMALL},
    {"IMAGE_HEAD_MOUTHS", ResourceKind::Image, &IMAGE_HEAD_MOUTHS},
    {"IMAGE_HEAD_MOUTHS_SMALL", ResourceKind::Image, &IMAGE_HEAD_MOUTHS_SMALL},
    {"IMAGE_HEAD_NOSES", ResourceKind::Image, &IMAGE_HEAD_NOSES},
    {"IMAGE_HEAD_NOSES_SMALL", ResourceKind::Image, &IMAGE_HEAD_NOSES_SMALL},
    {"IMAGE_MATHSHAPES", ResourceKind::Image, &IMAGE_MATHSHAPES},
    {"IMAGE_OPTIONS_BAR", ResourceKind::Image, &IMAGE_OPTIONS_BAR},
    {"IMAGE_PROFILE_SELECT", ResourceKind::Image, &IMAGE_PROFILE_SELECT},
    {"IMAGE_SHAPES", ResourceKind::Image, &IMAGE_SHAPES},
    {"IMAGE_STAMPS", ResourceKind::Image, &IMAGE_STAMPS},
    {"IMAGE_TICKS", ResourceKind::Image, &IMAGE_TICKS},
    {"IMAGE_TITLE", ResourceKind::Image, &IMAGE_TITLE},
    {"IMAGE_WORDBOARD", ResourceKind::Image, &IMAGE_WORDBOARD},
}};

} // namespace
const char* GroupName(ResourceGroup group)
{
    switch (group) {
    case ResourceGroup::Init:
        return "Init";
    case ResourceGroup::TitleScreen:
        return "TitleScreen";
    case ResourceGroup::Game:
        return "Game";
    case ResourceGroup::Program:
        return "Quorvane";
    }
    return "";
}

std::span<const ResourceBinding> GroupBindings(ResourceGroup group)
{
    switch (group) {
    case ResourceGroup::Init:
        return kInitBindings;
    case ResourceGroup::TitleScreen:
        return kTitleScreenBindings;
    case ResourceGroup::Game:
        return kGameBindings;
    case ResourceGroup::Program:
        return kProgramBindings;
    }
    return {};
}

bool BindGroupIds(ResourceManager* manager, ResourceGroup group)
{
    if (!manager)
        return false;
    try {
        for (const ResourceBinding& b : GroupBindings(group)) {
            switch (b.kind) {
            case ResourceKind::Image:
                *static_cast<Image**>(b.handle) = manager->RequireImage(b.id).Get();
                break;
            case ResourceKind::Sound:
                *static_cast<int*>(b.handle) = manager->RequireSound(b.id);
                break;
            case ResourceKind::Font:
                *static_cast<Font**>(b.handle) = manager->RequireFont(b.id);
                break;
            }
        }
    } catch (const ResourceManagerException&) {
        return false; // the manager has recorded which id is missing
    }
    return true;
}

void UnbindGroupIds(ResourceGroup group)
{
    for (const ResourceBinding& b : GroupBindings(group)) {
        switch (b.kind) {
        case ResourceKind::Image:
            *static_cast<Image**>(b.handle) = nullptr;
            break;
        case ResourceKind::Sound:
            *static_cast<int*>(b.handle) = -1;
            break;
        case ResourceKind::Font:
            *static_cast<Font**>(b.handle) = nullptr;
            break;
        }
    }
}

void ReleaseImageId(ResourceManager* manager, ResourceGroup group, Image*& handle)
{
    for (const ResourceBinding& b : GroupBindings(group)) {
        if (b.kind == ResourceKind::Image && b.handle == &handle) {
            manager->ReplaceImage(b.id, {});
            handle = nullptr;
            return;
        }
    }
}

bool BindInitIds(ResourceManager* manager) { return BindGroupIds(manager, ResourceGroup::Init); }
bool BindTitleScreenIds(ResourceManager* manager) { return BindGroupIds(manager, ResourceGroup::TitleScreen); }
bool BindGameIds(ResourceManager* manager) { return BindGroupIds(manager, ResourceGroup::Game); }
bool BindProgramIds(ResourceManager* manager) { return BindGroupIds(manager, ResourceGroup::Program); }

Font* MenuFont(int number)
{
    switch (number) {
    case 1:
        return FONT_MENU2;
    case 2:
        return FONT_MENU3;
    case 3:
        return FONT_MENU4;
    default:
        return FONT_MENU1;
    }
}

} // namespace Vel
