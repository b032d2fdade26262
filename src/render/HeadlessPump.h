#pragma once

#include "platform/EventPump.h"
#include "render/TraceWriter.h"

namespace tilvera {

// The event pump of a run without a window: no key ever arrives and nothing
// asks to close, so the poll always returns at once. Each poll is traced when
// a trace is written.
class HeadlessPump : public EventPump {
 public:
  explicit HeadlessPump(TraceWriter* trace = nullptr) : trace_(trace) {}

  void processPendingEvents() override {
    if (trace_) trace_->poll();
  }
  // Only a key could lead the poll here; there is none, so reaching it is a bug.
  void waitForEvents() override;
  bool closeRequested() const override { return false; }
  [[noreturn]] void endProgram() override;

 private:
  TraceWriter* trace_;
};

}  // namespace tilvera
