#pragma once
#include <SDL2/SDL.h>
#include "platform/win32.h"

// 0 for keys that have no virtual-key code.
UINT VirtualKeyFromSdl(SDL_Keycode key);
