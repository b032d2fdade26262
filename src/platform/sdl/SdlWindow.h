#pragma once

#include <memory>
#include <string>

#include "platform/EventPump.h"
#include "platform/Image.h"

namespace tilvera {

// The window kv58form: shows the image at its top left, one to one or, on a
// high-density display, enlarged by the display's density with sharp pixels;
// background to the right and below when it is made larger. Turns the window
// system's events into `lastKey` and a close request. SDL stays behind this
// header.
class SdlWindow final : public EventPump {
 public:
  // Opens the window at the image's size and shows the image. On failure
  // returns null and says why in `error`; a video driver that shows nothing
  // to a person counts as no display.
  static std::unique_ptr<SdlWindow> open(const Image& image, std::string* error);
  ~SdlWindow() override;

  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  // Each call shows the image once, in step with the display: by the
  // renderer's own wait for the refresh where it has one, else paced to the
  // display's refresh rate.
  void processPendingEvents() override;
  void waitForEvents() override;
  bool closeRequested() const override { return closeRequested_; }
  [[noreturn]] void endProgram() override;

 private:
  struct Native;
  SdlWindow(const Image& image, std::unique_ptr<Native> native);
  void present();

  const Image& image_;
  std::unique_ptr<Native> native_;
  bool closeRequested_ = false;
};

}  // namespace tilvera
