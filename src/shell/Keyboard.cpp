#include "shell/Keyboard.h"

namespace tilvera {

namespace {

// Exact and case-sensitive: Control+Q yields character 17 and only pauses.
bool isQuitKey(char32_t key) {
  return key == U'q' || key == U'Q';
}

// A closed window must not be drawn into again, so a close request ends the
// program wherever the poll has just let the window system run.
void endIfCloseRequested(EventPump& events) {
  if (events.closeRequested()) events.endProgram();
}

// Blocks until a key arrives; waiting on the window system keeps the pause off the CPU.
void waitForKey(EventPump& events) {
  while (!events.lastKey) {
    events.waitForEvents();
    endIfCloseRequested(events);
  }
}

}  // namespace

void pollKeyboard(EventPump& events) {
  events.processPendingEvents();
  endIfCloseRequested(events);
  if (!events.lastKey) return;
  if (isQuitKey(*events.lastKey)) events.endProgram();

  events.lastKey.reset();
  waitForKey(events);
  // The key that ends a pause only resumes, whatever it is: a "q" here does not quit.
  events.lastKey.reset();
}

}  // namespace tilvera
