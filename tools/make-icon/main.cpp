// Turns a render of one tree into the program's icon at the sizes asked for:
//   tilvera-make-icon RENDER.png SIZE OUT.png [SIZE OUT.png ...]

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "make-icon/IconArt.h"
#include "make-icon/RgbaPng.h"
#include "platform/PngFile.h"

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "tilvera-make-icon: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace tilvera;
  if (argc < 4 || argc % 2 != 0)
    return fail("usage: tilvera-make-icon RENDER SIZE OUT [SIZE OUT ...]");

  Image render(1, 1);
  std::string error;
  if (!readPng(argv[1], &render, &error)) return fail(error);
  const std::optional<icon::Disc> disc = icon::findDisc(render);
  if (!disc) return fail(std::string(argv[1]) + ": no white disc to centre the icon on");
  icon::eraseText(render, *disc);

  for (int i = 2; i < argc; i += 2) {
    const int size = std::atoi(argv[i]);
    if (size < 1 || size > 1024) return fail(std::string("bad size '") + argv[i] + "'");
    if (!icon::writeRgbaPng(icon::drawIcon(render, *disc, size), argv[i + 1], &error))
      return fail(error);
  }
  return 0;
}
