// SDL key codes to the framework's (Windows) key numbers.
#pragma once

namespace Plat {

// 0 for keys the framework has no number for. Takes an SDL_Keycode.
int WindowsKeyFromSdl(int sdlKey);

} // namespace Plat
