#pragma once

#include "platform/EventPump.h"

namespace tilvera {

// The generator's only yield to the window system, once after every level:
// processes pending events, ends the program on "q" or "Q", pauses on any other
// key until a further key (which is consumed, whatever it is).
void pollKeyboard(EventPump& events);

}  // namespace tilvera
