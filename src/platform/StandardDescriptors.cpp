#include "platform/StandardDescriptors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tilvera {

void reserveStandardDescriptors() {
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    // open() takes the lowest free number, which is this one: the lower ones are open by now.
    const int opened = ::open("/dev/null", O_RDONLY);
    if (opened != descriptor && opened >= 0) {
      ::dup2(opened, descriptor);
      ::close(opened);
    }
  }
}

}  // namespace tilvera
