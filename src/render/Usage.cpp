#include "render/Usage.h"

namespace tilvera {

std::string_view usageText() {
  return R"(Usage: tilvera-render [--seed N | --uniforms FILE] [--trees K] [--png FILE] [--trace FILE]

Draws K trees, one after another, exactly as tilvera draws them, on an
off-screen image of 637 x 439 pixels, without a window or a keyboard.

  --seed N         seed tree k with N + k - 1 (modulo 2^64) instead of the
                   time of day: the same N draws the same trees
  --uniforms FILE  take the random numbers from FILE, in order (see below)
  --trees K        the number of trees to draw (default 1)
  --png FILE       write the image after the last tree as PNG
  --trace FILE     write every drawing primitive and random draw, one a line
  -h, --help       show this text
  --version        show the version

Uniforms file: one number a line, written as decimal digits with an optional
point and an optional exponent (0, 0.25, .5, 3.05175781e-05), read as the
nearest single-precision value, which must be at least 0 and below 1.
Blanks around a number and blank lines are ignored. Refused: a sign (even
-0), hexadecimal, nan and inf, a value that rounds to 1 (0.99999999), and a
value that is not zero but rounds to 0 (1e-50); one that rounds to a
subnormal is taken as it is. Lines hold at most 200 characters, the file at
most 32 MiB. Running out of numbers is an error.

Trace, version 1: no header line; a run starts with the start-up "clear",
then "tree N" before each tree, followed by that tree's records:
  tree N | u V | clear | line X1 Y1 X2 Y2 C | circle CX CY R C | point X Y C |
  text X Y S | poll
with one blank between fields. Reals are the single-precision values handed
over, printed with "%.9g"; a colour C is red + 256 x green + 65536 x blue.
"text" gives the text position before printing and the text as the rest of
the line; "poll" is one keyboard poll (none ever finds a key). The values of
the "u" records, one a line, form a uniforms file that draws the same trees.

Output files appear whole or not at all: they are written beside the target
and renamed over it at the end. Exit status: 0 when done; 2 for a bad
argument, a bad or exhausted uniforms file, or an output that cannot be
written, with one line on standard error.
)";
}

std::string_view versionText() {
  return "tilvera-render " TILVERA_VERSION;
}

}  // namespace tilvera
