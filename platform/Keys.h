// The key numbers the framework and the game use: the Windows virtual-key numbering, which the
// game's key handling and its data were written against. Back ends translate into these.
#pragma once

namespace Plat {

constexpr int kKeyCount = 255; // key state tables cover 0..254
constexpr int kKeyBackspace = 8;
constexpr int kKeyTab = 9;
constexpr int kKeyReturn = 13;
constexpr int kKeyShift = 16;
constexpr int kKeyControl = 17;
constexpr int kKeyAlt = 18;
constexpr int kKeyPause = 19;
constexpr int kKeyCapsLock = 20;
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyEnd = 35;
constexpr int kKeyHome = 36;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyInsert = 45;
constexpr int kKeyDelete = 46;
constexpr int kKey0 = 48; // '0'..'9' are 48..57
constexpr int kKeyA = 65; // 'A'..'Z' are 65..90
constexpr int kKeyNumpad0 = 96; // numpad 0..9 are 96..105
constexpr int kKeyMultiply = 106;
constexpr int kKeyAdd = 107;
constexpr int kKeySubtract = 109;
constexpr int kKeyDecimal = 110;
constexpr int kKeyDivide = 111;
constexpr int kKeyF1 = 112; // F1..F12 are 112..123
constexpr int kKeyF3 = 114;
constexpr int kKeyF4 = 115;
constexpr int kKeyF10 = 121;
constexpr int kKeyNumLock = 144;
constexpr int kKeyScrollLock = 145;
constexpr int kKeySemicolon = 186;
constexpr int kKeyEquals = 187;
constexpr int kKeyComma = 188;
constexpr int kKeyMinus = 189;
constexpr int kKeyPeriod = 190;
constexpr int kKeySlash = 191;
constexpr int kKeyBackquote = 192;
constexpr int kKeyLeftBracket = 219;
constexpr int kKeyBackslash = 220;
constexpr int kKeyRightBracket = 221;
constexpr int kKeyQuote = 222;

} // namespace Plat
