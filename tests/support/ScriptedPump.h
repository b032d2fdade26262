#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/Clock.h"
#include "platform/EventPump.h"

namespace tilvera::testing {

// Thrown where the real program would end; tests catch it.
struct ProgramEnded {};

// An event pump driven by a script: each call that processes events takes the
// next batch of key presses (the last one pressed wins, as in the window) and
// may ask the window to close.
class ScriptedPump : public EventPump {
 public:
  struct Batch {
    std::vector<char32_t> keys;
    bool close = false;
  };

  explicit ScriptedPump(std::vector<Batch> script = {}) : script_(std::move(script)) {}

  void processPendingEvents() override {
    ++processCalls;
    deliverNextBatch();
  }
  void waitForEvents() override {
    ++waitCalls;
    // A wait with nothing left to deliver would block for ever in the window.
    if (next_ >= script_.size()) throw std::logic_error("waited with no event left in the script");
    deliverNextBatch();
  }
  bool closeRequested() const override { return close_; }
  [[noreturn]] void endProgram() override {
    ended = true;
    throw ProgramEnded{};
  }

  std::size_t processCalls = 0;
  std::size_t waitCalls = 0;
  bool ended = false;

 private:
  void deliverNextBatch() {
    if (next_ >= script_.size()) return;
    const Batch& batch = script_[next_++];
    for (char32_t key : batch.keys) lastKey = key;
    if (batch.close) close_ = true;
  }

  std::vector<Batch> script_;
  std::size_t next_ = 0;
  bool close_ = false;
};

// A clock that ticks one nanosecond a reading, from a fixed start.
class SteppingTestClock : public Clock {
 public:
  explicit SteppingTestClock(std::uint64_t start = 0) : now_(start) {}
  std::uint64_t nanosecondsSinceMidnight() override { return now_++; }

 private:
  std::uint64_t now_;
};

}  // namespace tilvera::testing
