#include "render/OutputFile.h"

#include <fcntl.h>
#include <stdio_ext.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "render/RenderError.h"

namespace tilvera {

namespace {

// A trace of a large tree runs to megabytes; a large buffer keeps it to a few writes a tree.
constexpr std::size_t streamBufferBytes = std::size_t{1} << 20;

// Temporary files not yet published or removed, visible to the signal handler.
std::array<std::atomic<const char*>, 4> pendingTemporaries{};

void remember(const char* path) {
  for (auto& slot : pendingTemporaries) {
    const char* empty = nullptr;
    if (slot.compare_exchange_strong(empty, path)) return;
  }
}

void forget(const char* path) {
  for (auto& slot : pendingTemporaries) {
    const char* expected = path;
    if (slot.compare_exchange_strong(expected, nullptr)) return;
  }
}

// The signals that end a run and take its temporaries with them. SIGPIPE too:
// a trace piped into a reader that stops early (head) ends the run that way,
// and a PNG not yet published must not stay behind.
constexpr std::array cleanupSignals{SIGINT,  SIGTERM, SIGHUP,  SIGPIPE,   SIGQUIT, SIGALRM,
                                    SIGUSR1, SIGUSR2, SIGXCPU, SIGVTALRM, SIGPROF};

// Holds those signals back while it lives: one that comes between a temporary's
// creation and its being remembered then waits, and removes it after all.
class CleanupSignalsHeld {
 public:
  CleanupSignalsHeld() {
    sigset_t held;
    ::sigemptyset(&held);
    for (int signalNumber : cleanupSignals) ::sigaddset(&held, signalNumber);
    ::sigprocmask(SIG_BLOCK, &held, &previous_);
  }
  ~CleanupSignalsHeld() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  CleanupSignalsHeld(const CleanupSignalsHeld&) = delete;
  CleanupSignalsHeld& operator=(const CleanupSignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

extern "C" void removeTemporariesAndDie(int signalNumber) {
  for (auto& slot : pendingTemporaries)
    if (const char* path = slot.load()) ::unlink(path);
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

std::string failure(const char* doing, const std::string& path, int error) {
  return std::string(doing) + " " + path + ": " + std::strerror(error);
}

// Beside the target, so that the final rename stays within one file system;
// hidden, so that a listing in the middle of a run does not show it. The name
// is cut short where the dot and the random suffix would take a name of the
// longest length the file system allows beyond it.
std::string temporaryTemplate(const std::string& target) {
  constexpr std::string_view suffix = ".XXXXXX";
  constexpr std::size_t longestName = NAME_MAX - 1 - suffix.size();
  const auto slash = target.rfind('/');
  const std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  return directory + "." + name.substr(0, longestName) + std::string(suffix);
}

// mkstemp creates the file readable by its owner alone; the output gets the
// mode any new file would get, or takes the place of the file it replaces:
// the same mode, and the same owner and group as far as this user may give
// them away (root may; anybody else may only choose among their own groups).
// The owner goes first: a change of owner clears the set-id bits.
void giveOwnerAndMode(int fd, const std::optional<struct stat>& replaced) {
  if (replaced) {
    if (::fchown(fd, replaced->st_uid, replaced->st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), replaced->st_gid) != 0) {
      // Not this user's to give: the output stays theirs, like any new file.
    }
    ::fchmod(fd, replaced->st_mode & 07777);
    return;
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
}

// The descriptor a path names when it is one of the process's own: opened
// anew by that path, a regular file behind it would be truncated, or replaced
// by the rename, and lose what the shell or the rest of a pipeline wrote there.
std::optional<int> namedDescriptor(std::string_view path) {
  if (path == "/dev/stdin") return 0;
  if (path == "/dev/stdout") return 1;
  if (path == "/dev/stderr") return 2;
  for (std::string_view directory : {"/dev/fd/", "/proc/self/fd/"}) {
    if (!path.starts_with(directory)) continue;
    const std::string_view number = path.substr(directory.size());
    int descriptor = -1;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), descriptor);
    if (error == std::errc{} && end == number.data() + number.size() && !number.empty() &&
        number.front() != '-')
      return descriptor;
  }
  return std::nullopt;
}

// As many links in a row as the kernel follows before it gives up with ELOOP.
constexpr int maxLinksFollowed = 40;

// A rename replaces a symbolic link itself; the user means the file it points
// to, even one that does not exist yet. A relative target is taken from the
// link's own directory. Empty for a chain too long to follow (a loop).
std::optional<std::string> linkChainEnd(std::string path) {
  for (int followed = 0;; ++followed) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    if (followed == maxLinksFollowed) return std::nullopt;
    std::array<char, PATH_MAX> target{};
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) == target.size()) return path;
    const std::string_view link(target.data(), static_cast<std::size_t>(length));
    const auto slash = path.rfind('/');
    path = link.front() == '/' || slash == std::string::npos
               ? std::string(link)
               : path.substr(0, slash + 1) + std::string(link);
  }
}

bool sameInode(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string directoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

}  // namespace

OutputFile::OutputFile(std::string target) : target_(std::move(target)) {
  if (!target_.empty() && target_.back() == '/')
    throw RenderError(target_ + ": names a directory; give a file name");
  if (const std::optional<int> descriptor = namedDescriptor(target_)) {
    openDescriptor(*descriptor);
    return;
  }
  const std::optional<std::string> resolved = linkChainEnd(target_);
  if (!resolved) throw RenderError(failure("cannot write", target_, ELOOP));
  struct stat status {};
  const bool exists = ::stat(resolved->c_str(), &status) == 0;
  if (exists && S_ISDIR(status.st_mode))
    throw RenderError(target_ + ": is a directory; give a file name");
  if (exists && !S_ISREG(status.st_mode)) {
    openDirect();
  } else {
    // The rename needs only the directory writable; a file its owner made
    // read-only is refused all the same, as a shell's redirection would.
    if (exists && ::faccessat(AT_FDCWD, resolved->c_str(), W_OK, AT_EACCESS) != 0)
      throw RenderError(failure("cannot write", target_, errno));
    destination_ = *resolved;
    openTemporary(exists ? std::optional<struct stat>(status) : std::nullopt);
  }
}

OutputFile::~OutputFile() {
  if (!published_) discard();
}

void OutputFile::openDirect() {
  direct_ = true;
  fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd_ < 0) throw RenderError(failure("cannot write", target_, errno));
}

// A copy of the descriptor, so that finishing closes the copy and leaves the
// descriptor itself open; it shares the position, so the output goes on where
// the descriptor stood.
void OutputFile::openDescriptor(int descriptor) {
  const int copy = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
  if (copy < 0) throw RenderError(failure("cannot write", target_, errno));
  if ((::fcntl(copy, F_GETFL) & O_ACCMODE) == O_RDONLY) {
    ::close(copy);
    throw RenderError(failure("cannot write", target_, EBADF));
  }
  direct_ = true;
  fd_ = copy;
}

void OutputFile::openTemporary(const std::optional<struct stat>& replaced) {
  // The shortened temporary name would pass; the rename at the end would not.
  if (nameOf(destination_).size() > NAME_MAX)
    throw RenderError(failure("cannot write", target_, ENAMETOOLONG));
  temporary_ = temporaryTemplate(destination_);
  {
    const CleanupSignalsHeld held;
    fd_ = ::mkstemp(temporary_.data());
    if (fd_ >= 0) remember(temporary_.c_str());
  }
  if (fd_ < 0) throw RenderError(failure("cannot write", target_, errno));
  giveOwnerAndMode(fd_, replaced);
}

std::FILE* OutputFile::stream() {
  if (!stream_) {
    stream_ = ::fdopen(fd_, "w");
    if (!stream_) throw RenderError(failure("cannot write", target_, errno));
    fd_ = -1;  // the stream owns it now
    buffer_ = std::make_unique<char[]>(streamBufferBytes);
    std::setvbuf(stream_, buffer_.get(), _IOFBF, streamBufferBytes);
  }
  return stream_;
}

void OutputFile::publish() {
  if (!finished_) finish();
  if (!direct_ && ::rename(temporary_.c_str(), destination_.c_str()) != 0)
    throw RenderError(failure("cannot write", target_, errno));
  forget(temporary_.c_str());
  published_ = true;
}

// Synced before the rename, so that a crash soon after cannot leave the target empty.
void OutputFile::finish() {
  bool written = true;
  int error = 0;
  if (stream_) {
    written = std::fflush(stream_) == 0 && !std::ferror(stream_);
    error = written ? 0 : errno;
    fd_ = ::fileno(stream_);
  }
  if (written && !direct_ && ::fsync(fd_) != 0) {
    written = false;
    error = errno;
  }
  if (stream_) {
    if (std::fclose(stream_) != 0 && written) written = false, error = errno;
  } else if (::close(fd_) != 0 && written) {
    written = false;
    error = errno;
  }
  stream_ = nullptr;
  fd_ = -1;
  finished_ = true;
  if (!written) throw RenderError(failure("cannot write", target_, error == 0 ? EIO : error));
}

// What is still buffered is dropped, not flushed: through a descriptor or a
// device it would deliver a whole picture from a run that failed.
void OutputFile::discard() noexcept {
  if (stream_) {
    ::__fpurge(stream_);
    std::fclose(stream_);
  }
  if (fd_ >= 0) ::close(fd_);
  stream_ = nullptr;
  fd_ = -1;
  if (direct_) return;
  ::unlink(temporary_.c_str());
  forget(temporary_.c_str());
}

bool namesSameFile(const std::string& a, const std::string& b) {
  // Links resolved, so that a link to a file not yet written is seen as that file.
  const std::string endA = linkChainEnd(a).value_or(a), endB = linkChainEnd(b).value_or(b);
  return a == b || endA == endB || sameInode(endA, endB) ||
         (nameOf(endA) == nameOf(endB) && sameInode(directoryOf(endA), directoryOf(endB)));
}

void removeTemporaryOutputsOnSignal() {
  // A signal the program was started with ignored stays ignored: nohup's
  // SIGHUP must not end the run, and with SIGPIPE ignored the write fails and
  // says so.
  for (int signalNumber : cleanupSignals) {
    struct sigaction current {};
    if (::sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
      continue;
    std::signal(signalNumber, removeTemporariesAndDie);
  }
  // Past a file size limit the write then fails with EFBIG and is reported
  // like any other write error, instead of the signal ending the run.
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace tilvera
