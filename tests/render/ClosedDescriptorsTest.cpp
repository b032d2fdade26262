// tilvera-render started without some of its standard descriptors (`2>&-`):
// nothing it opens may take their numbers, so no message or trace lands in
// the middle of an output file.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "RenderProgram.h"

namespace tilvera::testing {
namespace {

// Runs the program with the given standard descriptors closed; the others go
// to files in `streams`. Returns the exit status, -1 for a signal.
int runWithClosed(const std::vector<int>& closed, const std::vector<std::string>& arguments,
                  const ScratchDir& streams) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string out = streams.file("out"), err = streams.file("err");
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  for (int descriptor : closed) posix_spawn_file_actions_addclose(&actions, descriptor);
  const int waitStatus = waitForProgram(spawnProgram(arguments, actions));
  return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}


TEST(ClosedDescriptors, NothingLandsInAnOutputFileAndAClosedOutputIsRefused) {
  const ScratchDir dir, streams;
  // No font: the run has a warning to give, on a standard error that is closed.
  const std::string fonts =
      dir.write("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
  ASSERT_EQ(::setenv("FONTCONFIG_FILE", fonts.c_str(), 1), 0);
  const std::vector<std::string> drawn = {"--seed", "3", "--png", dir.file("open.png")};
  ASSERT_EQ(runWithClosed({}, drawn, streams), 0);
  const std::string expected = readFile(dir.file("open.png"));

  // Both closed: the picture is the same picture, and nothing else.
  EXPECT_EQ(runWithClosed({1, 2}, {"--seed", "3", "--png", dir.file("closed.png")}, streams), 0);
  EXPECT_TRUE(readFile(dir.file("closed.png")) == expected);

  // A trace asked for on a closed standard output is refused, not written into the picture.
  EXPECT_EQ(
      runWithClosed({1}, {"--seed", "3", "--png", dir.file("t.png"), "--trace", "/dev/stdout"},
                    streams),
      2);
  EXPECT_NE(readFile(streams.file("err")).find("cannot write /dev/stdout: Bad file descriptor"),
            std::string::npos)
      << readFile(streams.file("err"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("t.png")));

  // Numbers asked for on a closed standard input are none at all.
  EXPECT_EQ(runWithClosed({0}, {"--uniforms", "/dev/stdin", "--png", dir.file("u.png")}, streams),
            2);
  EXPECT_FALSE(std::filesystem::exists(dir.file("u.png")));
  ::unsetenv("FONTCONFIG_FILE");
}

}  // namespace
}  // namespace tilvera::testing
