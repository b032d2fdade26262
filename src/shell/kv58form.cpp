// The program: the window kv58form with the tree generator running inside it.

#include <iostream>
#include <memory>
#include <string>

#include "platform/Font.h"
#include "platform/Image.h"
#include "platform/ImageSurface.h"
#include "platform/PcgRandom.h"
#include "platform/StandardDescriptors.h"
#include "platform/SystemClock.h"
#include "platform/WindowColours.h"
#include "platform/sdl/SdlWindow.h"
#include "shell/GeneratorPorts.h"
#include "shell/Module1.h"
#include "shell/ProgramOptions.h"

int main(int argc, char* argv[]) {
  using namespace tilvera;
  reserveStandardDescriptors();
  // Help, version and bad arguments end here, before any window opens.
  if (const auto status = handleProgramArguments(argc, argv, std::cout, std::cerr)) return *status;

  Image image(imageWidth, imageHeight, backgroundColor);
  std::string error;
  const std::unique_ptr<SdlWindow> window = SdlWindow::open(image, &error);
  if (!window) {
    std::cerr << "tilvera: cannot open a window: " << error << '\n';
    return 1;
  }

  // Without a face the trees are drawn all the same, only the banner is missing.
  std::string warning;
  const std::unique_ptr<Font> font = Font::loadWindowFont(&warning);
  if (!warning.empty()) std::cerr << "tilvera: " << warning << '\n';

  ImageSurface surface(image, font.get());
  PcgRandom random;
  SystemClock clock;
  GeneratorPorts ports{surface, random, clock, *window};
  // The window is on screen; from here on it is serviced only by the
  // generator's keyboard poll, which is also where the program ends.
  RunGenerator(ports);
}
