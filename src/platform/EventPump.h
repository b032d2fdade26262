#pragma once

#include <optional>

namespace tilvera {

// The last key pressed, as the one character it yielded; empty when no key is
// pending. It belongs to the window: the key-press handler writes it, the
// generator only ever clears it.
using LastKey = std::optional<char32_t>;

// What the generator sees of the window system: the only place where it yields.
class EventPump {
 public:
  virtual ~EventPump() = default;

  // Processes every pending window event (key presses write `lastKey`, the
  // image is shown) and returns without waiting.
  virtual void processPendingEvents() = 0;
  // Waits without using the CPU until at least one window event arrives, then
  // processes it and every other pending one, as processPendingEvents does.
  virtual void waitForEvents() = 0;
  // The user asked the window to close (its close button, SIGINT or SIGTERM).
  virtual bool closeRequested() const = 0;
  // Ends the program at once with exit status 0; does not return.
  [[noreturn]] virtual void endProgram() = 0;

  LastKey lastKey;
};

}  // namespace tilvera
