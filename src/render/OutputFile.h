#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace tilvera {

// An output that appears whole or not at all. The content goes to a temporary
// file beside the target (created at once, so a bad path fails before any work
// is done), which publish() renames over the target; until then the target is
// untouched, and a file never published is removed. Some targets are written
// directly instead, since a rename would replace the wrong thing:
// - one of the program's own open descriptors named by path (/dev/stdout,
//   /dev/fd/N, /proc/self/fd/N) is written through that descriptor, at its
//   present position, as a shell redirection means it: the file it leads to
//   is neither truncated nor replaced, and what else went there stays;
// - a target that exists and is neither a regular file nor a directory (a
//   pipe, a device) is opened and written, not replaced.
// A file replaced keeps its permission bits; one its user may not write is refused.
// A symbolic link is followed, also to a file that does not exist yet, so that
// the file it leads to is written, not the link replaced; a loop of links is refused.
class OutputFile {
 public:
  // Throws RenderError when the target is a directory or its directory cannot be written.
  explicit OutputFile(std::string target);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  const std::string& target() const { return target_; }
  // A buffered stream on the temporary file (or the direct target), for the content.
  std::FILE* stream();
  // Flushes, syncs and closes the content; throws RenderError on any failure.
  void finish();
  // Renames the finished content over the target; throws RenderError on failure,
  // leaving the target as it was. Finishing every output before publishing any
  // keeps a late write error from leaving one output new and the other missing.
  void publish();

 private:
  void openDirect();
  void openDescriptor(int descriptor);
  void openTemporary(const std::optional<struct stat>& replaced);
  void discard() noexcept;

  std::string target_;       // as the user named it, for messages
  std::string destination_;  // the file the rename replaces: the target, links resolved
  std::string temporary_;
  int fd_ = -1;
  std::FILE* stream_ = nullptr;
  std::unique_ptr<char[]> buffer_;
  bool direct_ = false;
  bool finished_ = false;
  bool published_ = false;
};

// Whether two output paths end up in one file, also for files that do not exist
// yet ("x.png" and "./x.png"), where the second rename would silently replace the first.
bool namesSameFile(const std::string& a, const std::string& b);

// Makes the terminating signals a run may get (SIGINT, SIGTERM, SIGHUP, SIGPIPE,
// SIGQUIT, the alarms and CPU limit, SIGUSR1/2) remove the temporary files of
// outputs not yet published before the process dies of the signal; SIGXFSZ is
// ignored, so that a file size limit fails the write instead.
void removeTemporaryOutputsOnSignal();

}  // namespace tilvera
