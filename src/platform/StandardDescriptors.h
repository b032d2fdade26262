#pragma once

namespace tilvera {

// Puts /dev/null, opened read-only, on each of descriptors 0, 1 and 2 that the
// program was started without (`tilvera 2>&-`). Left closed, the number would
// go to the next file or connection the program opens: a message meant for
// standard error would land in the X server's connection or in the middle of
// an output file. Read-only, so that whatever is written there still fails as
// it would have on the closed descriptor, and nothing claims to have been written.
void reserveStandardDescriptors();

}  // namespace tilvera
