// Preloaded into tilvera-render by a test: mkstemp creates the file as usual
// and then, for a template in the folder named by SIGNAL_AFTER_MKSTEMP_IN,
// raises SIGTERM at once. That is the one moment at which a temporary exists
// on disk but the program may not yet know it has to remove it.

#include <dlfcn.h>

#include <csignal>
#include <cstdlib>
#include <string_view>

extern "C" int mkstemp(char* path) {
  using Mkstemp = int (*)(char*);
  static const auto real = reinterpret_cast<Mkstemp>(dlsym(RTLD_NEXT, "mkstemp"));
  const int fd = real(path);
  const char* folder = std::getenv("SIGNAL_AFTER_MKSTEMP_IN");
  if (fd >= 0 && folder && std::string_view(path).starts_with(folder)) std::raise(SIGTERM);
  return fd;
}
