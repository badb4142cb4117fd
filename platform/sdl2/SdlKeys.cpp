// SDL key codes to Windows key numbers.
#include "platform/sdl2/SdlKeys.h"

#include "platform/Keys.h"

#include <SDL.h>

namespace Plat {

int WindowsKeyFromSdl(int sdlKey)
{
    if (sdlKey >= SDLK_a && sdlKey <= SDLK_z)
        return kKeyA + (sdlKey - SDLK_a);
    if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9)
        return kKey0 + (sdlKey - SDLK_0);
    if (sdlKey >= SDLK_F1 && sdlKey <= SDLK_F12)
        return kKeyF1 + (sdlKey - SDLK_F1);
    if (sdlKey >= SDLK_KP_1 && sdlKey <= SDLK_KP_9)
        return kKeyNumpad0 + 1 + (sdlKey - SDLK_KP_1);
    switch (sdlKey) {
    case SDLK_BACKSPACE: return kKeyBackspace;
    case SDLK_TAB: return kKeyTab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return kKeyReturn;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return kKeyShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return kKeyControl;
    case SDLK_LALT:
    case SDLK_RALT: return kKeyAlt;
    case SDLK_PAUSE: return kKeyPause;
    case SDLK_CAPSLOCK: return kKeyCapsLock;
    case SDLK_ESCAPE: return kKeyEscape;
    case SDLK_SPACE: return kKeySpace;
    case SDLK_PAGEUP: return kKeyPageUp;
    case SDLK_PAGEDOWN: return kKeyPageDown;
    case SDLK_END: return kKeyEnd;
    case SDLK_HOME: return kKeyHome;
    case SDLK_LEFT: return kKeyLeft;
    case SDLK_UP: return kKeyUp;
    case SDLK_RIGHT: return kKeyRight;
    case SDLK_DOWN: return kKeyDown;
    case SDLK_INSERT: return kKeyInsert;
    case SDLK_DELETE: return kKeyDelete;
    case SDLK_KP_0: return kKeyNumpad0;
    case SDLK_KP_MULTIPLY: return kKeyMultiply;
    case SDLK_KP_PLUS: return kKeyAdd;
    case SDLK_KP_MINUS: return kKeySubtract;
    case SDLK_KP_PERIOD: return kKeyDecimal;
    case SDLK_KP_DIVIDE: return kKeyDivide;
    case SDLK_NUMLOCKCLEAR: return kKeyNumLock;
    case SDLK_SCROLLLOCK: return kKeyScrollLock;
    case SDLK_SEMICOLON: return kKeySemicolon;
    case SDLK_EQUALS: return kKeyEquals;
    case SDLK_COMMA: return kKeyComma;
    case SDLK_MINUS: return kKeyMinus;
    case SDLK_PERIOD: return kKeyPeriod;
    case SDLK_SLASH: return kKeySlash;
    case SDLK_BACKQUOTE: return kKeyBackquote;
    case SDLK_LEFTBRACKET: return kKeyLeftBracket;
    case SDLK_BACKSLASH: return kKeyBackslash;
    case SDLK_RIGHTBRACKET: return kKeyRightBracket;
    case SDLK_QUOTE: return kKeyQuote;
    default: return 0;
    }
}

} // namespace Plat
