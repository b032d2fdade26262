// tilvera-render run as a program: every fault a user can cause ends with exit
// status 2, one "tilvera-render: " line naming it, and no output file at all.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "RenderProgram.h"

namespace tilvera::testing {
namespace {

const std::string megabyteLine = std::string(1 << 20, '7') + "\n";

// The message line of a failed run, whatever warnings came before it.
std::string faultLine(const ProgramRun& run) {
  for (const std::string& line : linesOf(run.err))
    if (line.starts_with("tilvera-render: ") && !line.starts_with("tilvera-render: warning"))
      return line;
  return "";
}

void expectRefused(const ProgramRun& run, const std::string& message) {
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_NE(faultLine(run).find(message), std::string::npos)
      << "stderr: " << run.err << "\nwanted: " << message;
}

TEST(ProgramFaults, HelpAndVersionSucceedOnStandardOutput) {
  const ProgramRun help = runProgram({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: tilvera-render [--seed N | --uniforms FILE]"));
  EXPECT_EQ(help.err, "");

  const ProgramRun version = runProgram({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(
      std::regex_match(version.out, std::regex("tilvera-render [0-9]+\\.[0-9]+\\.[0-9]+\n")))
      << version.out;
}

TEST(ProgramFaults, HelpAndVersionThatCannotBeWrittenFailSilently) {
  for (const char* option : {"--help", "--version"}) {
    const ScratchDir streams;
    const int waitStatus = waitForProgram(startProgram({option}, "/dev/full", streams.file("err")));
    EXPECT_TRUE(WIFEXITED(waitStatus) && WEXITSTATUS(waitStatus) == 2) << option;
    EXPECT_EQ(readFile(streams.file("err")), "") << option;
  }
}

TEST(ProgramFaults, BadArgumentsAreRefusedWithAHintAndNoOutput) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--seed", "x"}, "--seed needs a non-negative integer"},
      {{"--trees", "0"}, "--trees needs a positive integer"},
      {{"--seed", "1", "--uniforms", "u.txt"}, "--seed and --uniforms exclude each other"},
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--trees"}, "--trees needs a value"},
  };
  for (const auto& [words, message] : cases) {
    const ScratchDir dir;
    std::vector<std::string> arguments = {"--png", dir.file("out.png"), "--trace",
                                          dir.file("out.trace")};
    arguments.insert(arguments.end(), words.begin(), words.end());
    const ProgramRun run = runProgram(arguments);
    expectRefused(run, message);
    EXPECT_EQ(linesOf(run.err).back(), "Try 'tilvera-render --help' for more information.");
    EXPECT_TRUE(dir.entries().empty()) << message;
  }
}

TEST(ProgramFaults, BadUniformsFilesAreRefusedNamingFileAndLine) {
  struct Case {
    std::string contents;
    std::string message;  // after the file name
  };
  const std::vector<Case> cases = {
      {"0.5\nnan\n", ":2: 'nan' is not a decimal number"},
      {"1\n", ":1: '1' is not below 1"},
      {"0.99999999\n", ":1: '0.99999999' rounds to 1"},
      {"0.5\n-0.5\n", ":2: '-0.5' has a sign"},
      {"-0\n", ":1: '-0' has a sign"},
      {"1e-50\n", ":1: '1e-50' is too small"},
      {"0x1p-3\n", ":1: '0x1p-3' is not a decimal number"},
      {"abc\n", ":1: 'abc' is not a decimal number"},
      {"0.5\n0.5\n" + megabyteLine, ":3: line longer than 200 characters"},
      {std::string("\x7f\x45LF\x02\x01\0\0", 8), ":1: unexpected byte 0x7F"},
      {"", ": holds no numbers"},
  };
  for (const Case& c : cases) {
    const ScratchDir dir;
    const std::string uniforms = dir.write("u.txt", c.contents);
    const ProgramRun run = runProgram(
        {"--uniforms", uniforms, "--png", dir.file("out.png"), "--trace", dir.file("out.trace")});
    expectRefused(run, uniforms + c.message);
    EXPECT_EQ(dir.entries(), std::set<std::string>{"u.txt"}) << c.message;
  }
}

TEST(ProgramFaults, UniformsThatAreNoFileAtAllAreRefused) {
  const ScratchDir dir;
  const std::string huge = dir.write("huge.txt", "0.5\n");
  ::truncate(huge.c_str(), 40 << 20);  // sparse: nothing is written
  const std::vector<std::pair<std::string, std::string>> cases = {
      {dir.file("missing.txt"), "cannot open " + dir.file("missing.txt") + ": No such file"},
      {dir.file("."), ": is a directory, not a uniforms file"},
      {huge, huge + ": larger than 32 MiB"},
      // A device without a size: read up to the bound, not on for ever.
      {"/dev/zero", "/dev/zero: larger than 32 MiB"},
  };
  for (const auto& [path, message] : cases) {
    expectRefused(runProgram({"--uniforms", path, "--png", dir.file("out.png")}), message);
    EXPECT_EQ(dir.entries(), std::set<std::string>{"huge.txt"});
  }
}

TEST(ProgramFaults, RunningOutOfUniformsNamesHowManyWereUsedAndLeavesTargetsAsTheyWere) {
  const ScratchDir dir;
  // A tree draws five parameters and, at its first level, three colour values
  // and two per branch: seven numbers cannot finish it.
  const std::string uniforms = dir.write("u.txt", "0.5\n0.5\n0.5\n0\n0.5\n0.5\n0.5\n");
  const std::string png = dir.write("out.png", "old picture");
  const ProgramRun run =
      runProgram({"--uniforms", uniforms, "--png", png, "--trace", dir.file("out.trace")});
  expectRefused(run, uniforms + ": ran out of numbers: all 7 were used; tree 1 needed more");
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"u.txt", "out.png"}));
  EXPECT_EQ(readFile(png), "old picture");
}

std::string unwritableDirectory(const ScratchDir& dir) {
  if (::geteuid() != 0) {
    const std::string locked = dir.file("locked");
    ::mkdir(locked.c_str(), 0555);
    return locked;
  }
  // Modes do not stop root, but sysfs refuses new files even to root.
  std::string probe = "/sys/tilvera-probe-XXXXXX";
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return "/sys";
  ::close(fd);
  ::unlink(probe.c_str());
  return "";
}

TEST(ProgramFaults, OutputPathsThatCannotBeWrittenFailBeforeAnyTreeIsDrawn) {
  const ScratchDir dir;
  const std::string folder = dir.file("folder");
  ::mkdir(folder.c_str(), 0755);
  const std::string unwritable = unwritableDirectory(dir);
  if (unwritable.empty()) GTEST_SKIP() << "no directory here refuses new files";
  const std::set<std::string> before = dir.entries();

  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--png", folder}, folder + ": is a directory; give a file name"},
      {{"--trace", folder}, folder + ": is a directory; give a file name"},
      {{"--png", folder + "/"}, folder + "/: names a directory"},
      {{"--png", dir.file("nowhere/out.png")}, "cannot write " + dir.file("nowhere/out.png")},
      {{"--trace", unwritable + "/out.trace"}, "cannot write " + unwritable + "/out.trace"},
      {{"--png", dir.file("out.png"), "--trace", dir.file("folder/../out.png")},
       "--png and --trace name the same file"},
      // A good output next to a bad one is not written either.
      {{"--trace", dir.file("good.trace"), "--png", folder}, "is a directory"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--seed", "1"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    expectRefused(runProgram(arguments), c.message);
    EXPECT_EQ(dir.entries(), before) << c.message;
    EXPECT_TRUE(std::filesystem::is_empty(folder)) << c.message;
  }
}

// The uniforms a run is drawn from are its input: an output renamed over them
// would replace them with the picture, by name, through a link, or as the trace.
TEST(ProgramFaults, AnOutputNamingTheUniformsFileIsRefused) {
  const ScratchDir dir;
  const std::string numbers =
      readFile(std::string(TILVERA_RENDER_FIXTURES) + "/two-trees.uniforms");
  const std::string uniforms = dir.write("uu.txt", numbers);
  const std::string link = dir.file("link.txt");
  ASSERT_EQ(::symlink("uu.txt", link.c_str()), 0);
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--png", uniforms}, "--uniforms and --png name the same file " + uniforms},
      {{"--png", link}, "--uniforms and --png name the same file " + uniforms},
      {{"--trace", dir.file("./uu.txt")}, "--uniforms and --trace name the same file " + uniforms},
      {{"--png", dir.file("out.png"), "--trace", link},
       "--uniforms and --trace name the same file"},
  };
  for (const auto& [outputs, message] : cases) {
    std::vector<std::string> arguments = {"--uniforms", uniforms, "--trees", "2"};
    arguments.insert(arguments.end(), outputs.begin(), outputs.end());
    expectRefused(runProgram(arguments), message);
    EXPECT_TRUE(readFile(uniforms) == numbers) << message;
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"uu.txt", "link.txt"})) << message;
  }
}

// The trace of seed 1's second tree alone outgrows the stream's buffer, so a
// full device fails it there. Replayed from the numbers of three trees and
// asked for a fourth, a run that went on drawing would run out of numbers
// first; one that stops at the failed tree reports the write error instead.
TEST(ProgramFaults, ATraceThatCannotBeWrittenStopsTheDrawingAtTheTreeItFailedIn) {
  const ScratchDir dir;
  ASSERT_EQ(runProgram({"--seed", "1", "--trees", "3", "--trace", dir.file("three.trace")}).status,
            0);
  std::string numbers;
  for (const std::string& line : linesOf(readFile(dir.file("three.trace"))))
    if (line.starts_with("u ")) numbers += line.substr(2) + "\n";
  const std::string uniforms = dir.write("three.uniforms", numbers);

  const ProgramRun run = runProgram(
      {"--uniforms", uniforms, "--trees", "4", "--trace", "/dev/full", "--png", dir.file("t.png")});
  expectRefused(run, "cannot write /dev/full: No space left on device");
  EXPECT_EQ(linesOf(run.err).size(), 1u) << run.err;
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"three.trace", "three.uniforms"}));
}

// An output named through a symbolic link goes where the link leads, also when
// nothing is there yet; the link itself stays. A loop of links is refused.
TEST(ProgramFaults, AnOutputThroughALinkGoesWhereTheLinkLeads) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> links;  // name, what it points to
    std::string written;  // where the picture ends up, or empty when refused
    std::string message;  // after "cannot write out.png: "
  };
  const std::vector<Case> cases = {
      {{{"out.png", "d1/target.png"}}, "d1/target.png", ""},
      {{{"out.png", "d1/hop"}, {"d1/hop", "../d1/target.png"}}, "d1/target.png", ""},
      {{{"out.png", "missing/target.png"}}, "", "No such file or directory"},
      {{{"out.png", "d1/hop"}, {"d1/hop", "../out.png"}}, "", "Too many levels of symbolic links"},
  };
  for (const Case& c : cases) {
    const ScratchDir dir;
    ::mkdir(dir.file("d1").c_str(), 0755);
    for (const auto& [name, pointsTo] : c.links)
      ASSERT_EQ(::symlink(pointsTo.c_str(), dir.file(name).c_str()), 0);
    const ProgramRun run = runProgram({"--seed", "3", "--png", dir.file("out.png")});
    struct stat link {};
    EXPECT_EQ(::lstat(dir.file("out.png").c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode)) << c.links.back().second << ": the link was replaced";
    if (c.written.empty()) {
      expectRefused(run, "cannot write " + dir.file("out.png") + ": " + c.message);
      std::set<std::string> linksInD1, inD1;
      for (const auto& link : c.links)
        if (link.first.starts_with("d1/")) linksInD1.insert(link.first.substr(3));
      for (const auto& entry : std::filesystem::directory_iterator(dir.file("d1")))
        inD1.insert(entry.path().filename().string());
      EXPECT_EQ(inD1, linksInD1) << c.message;
      EXPECT_EQ(dir.entries(), (std::set<std::string>{"out.png", "d1"})) << c.message;
    } else {
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_TRUE(readFile(dir.file(c.written)).starts_with("\x89PNG\r\n\x1a\n"));
    }
  }
}

// The temporary name adds a dot and a suffix to the output's name; any name
// the file system takes must still work, up to the longest.
TEST(ProgramFaults, OutputNamesUpToTheLongestAllowedAreWritten) {
  for (const std::size_t length : {247u, 248u, 255u}) {
    const ScratchDir dir;
    const std::string png = std::string(length - 4, 'p') + ".png";
    const std::string trace = std::string(length, 't');
    const ProgramRun run =
        runProgram({"--seed", "3", "--png", dir.file(png), "--trace", dir.file(trace)});
    EXPECT_EQ(run.status, 0) << length << ": " << run.err;
    EXPECT_EQ(dir.entries(), (std::set<std::string>{png, trace})) << length;
  }
  // One byte longer is refused before any tree, not by the rename after the last.
  const ScratchDir dir;
  const std::string tooLong = dir.file(std::string(256, 't'));
  expectRefused(runProgram({"--seed", "3", "--trace", tooLong}),
                "cannot write " + tooLong + ": File name too long");
  EXPECT_TRUE(dir.entries().empty());
}

// A copy that any user may read, and run if it is a program: the leak checker
// of a sanitizer build reads the program it runs in, and without it cannot
// tell which library a leak comes from.
std::string readableCopy(const ScratchDir& dir, const std::string& source,
                         const std::string& name) {
  const std::string copy = dir.file(name);
  std::filesystem::copy_file(source, copy);
  using std::filesystem::perms;
  std::filesystem::permissions(copy, perms::owner_all | perms::group_read | perms::group_exec |
                                         perms::others_read | perms::others_exec);
  return copy;
}

// This process's environment, but with the leak checker's suppressions, if
// any, read from a copy in `dir`: the original may lie where that user may not look.
std::vector<std::string> environmentForUser(const ScratchDir& dir) {
  static const std::regex suppressions("suppressions=([^:]+)");
  std::vector<std::string> variables;
  for (char** variable = environ; *variable; ++variable) {
    std::string text = *variable;
    std::smatch found;
    if (text.starts_with("LSAN_OPTIONS=") && std::regex_search(text, found, suppressions)) {
      const auto at = found.position(1), length = found.length(1);
      text.replace(at, length, readableCopy(dir, found[1].str(), "lsan.supp"));
    }
    variables.push_back(std::move(text));
  }
  return variables;
}

std::vector<char*> pointersTo(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Runs the program under an ordinary user's ids, so that permission bits bind
// it even when the tests run as root (who may write anything). That user may
// not reach the build tree (a checkout under /root), so it runs a copy of the
// program from a directory open to all.
ProgramRun runProgramAsUser(const std::vector<std::string>& arguments) {
  if (::geteuid() != 0) return runProgram(arguments);
  const ScratchDir streams, bin;
  std::filesystem::permissions(bin.file(""), std::filesystem::perms::owner_all |
                                                 std::filesystem::perms::group_exec |
                                                 std::filesystem::perms::others_exec);
  const std::string program = readableCopy(bin, TILVERA_RENDER_PROGRAM, "tilvera-render");
  const std::string outPath = streams.file("stdout"), errPath = streams.file("stderr");
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<std::string> variables = environmentForUser(bin);
  const std::vector<char*> argv = pointersTo(words), envp = pointersTo(variables);
  const uid_t nobody = 65534;
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
        ::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)
      ::_exit(127);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  const int waitStatus = waitForProgram(pid);
  ProgramRun run;
  run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
  run.out = readFile(outPath);
  run.err = readFile(errPath);
  return run;
}

// The rename needs only the directory writable, but a file its owner made
// read-only is not the program's to replace, as a shell's `>` would not.
TEST(ProgramFaults, AReadOnlyTargetIsRefusedAndLeftAsItWas) {
  const ScratchDir dir;
  std::filesystem::permissions(dir.file(""), std::filesystem::perms::all);
  for (const char* option : {"--png", "--trace"}) {
    const std::string target = dir.write("kept", "old content");
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    const ProgramRun run = runProgramAsUser({"--seed", "3", option, target});
    expectRefused(run, "cannot write " + target + ": Permission denied");
    EXPECT_TRUE(readFile(target) == "old content") << option;
    EXPECT_EQ(dir.entries(), std::set<std::string>{"kept"}) << option;
    ::unlink(target.c_str());
  }
}

// A replaced file keeps its permission bits; only a new file gets the usual mode.
TEST(ProgramFaults, AReplacedFileKeepsItsMode) {
  const ScratchDir dir;
  for (const mode_t mode : {0600, 0664, 0751}) {
    const std::string target = dir.write("tree.png", "old picture");
    ASSERT_EQ(::chmod(target.c_str(), mode), 0);
    ASSERT_EQ(runProgram({"--seed", "3", "--png", target}).status, 0);
    struct stat status {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, mode) << std::oct << mode;
    EXPECT_TRUE(readFile(target).starts_with("\x89PNG"));
  }
}

// A replaced file keeps its owner and group where the user running the program
// may give them away, as root may; anybody else still replaces a file they may
// write, and it becomes theirs.
TEST(ProgramFaults, AReplacedFileKeepsItsOwnerWherePermitted) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
  const uid_t nobody = 65534;
  const gid_t nogroup = 65534;
  const ScratchDir dir;
  std::filesystem::permissions(dir.file(""), std::filesystem::perms::all);
  const std::string target = dir.write("tree.png", "old picture");
  const auto owner = [&target] {
    struct stat status {};
    EXPECT_EQ(::stat(target.c_str(), &status), 0);
    return std::pair{status.st_uid, status.st_gid};
  };

  ASSERT_EQ(::chown(target.c_str(), nobody, nogroup), 0);
  ASSERT_EQ(runProgram({"--seed", "3", "--png", target}).status, 0);
  EXPECT_EQ(owner(), (std::pair{nobody, nogroup})) << "root replaced another user's file";

  ASSERT_EQ(::chown(target.c_str(), 0, 0), 0);
  ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
  const ProgramRun run = runProgramAsUser({"--seed", "3", "--png", target});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(owner(), (std::pair{nobody, nogroup})) << "an ordinary user replaced root's file";
  EXPECT_TRUE(readFile(target).starts_with("\x89PNG"));
}

TEST(ProgramFaults, ASuccessfulRunLeavesExactlyItsOutputs) {
  const ScratchDir dir;
  const ProgramRun run =
      runProgram({"--seed", "1", "--png", dir.file("tree.png"), "--trace", dir.file("tree.trace")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"tree.png", "tree.trace"}));
  EXPECT_TRUE(readFile(dir.file("tree.png")).starts_with("\x89PNG\r\n\x1a\n"));
  EXPECT_TRUE(readFile(dir.file("tree.trace")).starts_with("clear\ntree 1\nu "));
}

// Without a single face the picture is drawn all the same, and the one warning
// names this program, not the window program.
TEST(ProgramFaults, NoFontWarnsOnceUnderItsOwnNameAndStillDraws) {
  const ScratchDir dir;
  const std::string config =
      dir.write("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
  ASSERT_EQ(::setenv("FONTCONFIG_FILE", config.c_str(), 1), 0);
  const ProgramRun run = runProgram({"--seed", "1", "--png", dir.file("tree.png")});
  ::unsetenv("FONTCONFIG_FILE");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "tilvera-render: no usable font; drawing without the banner\n");
  EXPECT_TRUE(readFile(dir.file("tree.png")).starts_with("\x89PNG\r\n\x1a\n"));
}

TEST(ProgramFaults, AnInterruptedRunLeavesNoTemporaryFileBehind) {
  // SIGQUIT and SIGXCPU dump core by default; no core file belongs in the test's directory.
  struct rlimit core {};
  ::getrlimit(RLIMIT_CORE, &core);
  const struct rlimit noCore = {0, core.rlim_max};
  ::setrlimit(RLIMIT_CORE, &noCore);
  for (const int signalNumber :
       {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU, SIGVTALRM, SIGPROF}) {
    const ScratchDir dir, streams;
    const pid_t pid = startProgram({"--seed", "1", "--trees", "1000000", "--trace", dir.file("t")},
                                   streams.file("out"), streams.file("err"));
    // The temporary trace exists as soon as the outputs are checked, before the first tree.
    for (int wait = 0; wait < 500 && dir.entries().empty(); ++wait) ::usleep(10'000);
    EXPECT_EQ(dir.entries().size(), 1u) << strsignal(signalNumber);
    ::kill(pid, signalNumber);
    const int waitStatus = waitForProgram(pid);
    EXPECT_TRUE(WIFSIGNALED(waitStatus) && WTERMSIG(waitStatus) == signalNumber)
        << strsignal(signalNumber);
    EXPECT_TRUE(dir.entries().empty()) << strsignal(signalNumber);
  }
  ::setrlimit(RLIMIT_CORE, &core);
}

// A signal that comes the moment a temporary is created, before the program
// has noted it as one to remove, still removes it: the signals wait until then.
TEST(ProgramFaults, ASignalAsTheTemporaryIsCreatedLeavesNothingBehind) {
  const char* const given = std::getenv("ASAN_OPTIONS");
  const std::optional<std::string> asanOptions =
      given ? std::optional<std::string>(given) : std::nullopt;
  // A sanitizer build wants its runtime loaded first; here it is second, harmlessly.
  ::setenv("ASAN_OPTIONS", (asanOptions.value_or("") + ":verify_asan_link_order=0").c_str(), 1);
  ::setenv("LD_PRELOAD", TILVERA_SIGNAL_AFTER_MKSTEMP, 1);
  for (const char* option : {"--trace", "--png"}) {
    const ScratchDir dir, streams;
    ::setenv("SIGNAL_AFTER_MKSTEMP_IN", dir.file("").c_str(), 1);
    const pid_t pid = startProgram({"--seed", "1", option, dir.file("out")}, streams.file("out"),
                                   streams.file("err"));
    const int waitStatus = waitForProgram(pid);
    EXPECT_TRUE(WIFSIGNALED(waitStatus) && WTERMSIG(waitStatus) == SIGTERM)
        << option << ": " << readFile(streams.file("err"));
    EXPECT_TRUE(dir.entries().empty()) << option;
  }
  ::unsetenv("SIGNAL_AFTER_MKSTEMP_IN");
  ::unsetenv("LD_PRELOAD");
  if (asanOptions)
    ::setenv("ASAN_OPTIONS", asanOptions->c_str(), 1);
  else
    ::unsetenv("ASAN_OPTIONS");
}

// Past a file size limit (ulimit -f) the write fails and says so, as any other
// write error does, instead of the signal killing the run midway.
TEST(ProgramFaults, AFileSizeLimitFailsTheWriteAndLeavesNothing) {
  const ScratchDir dir, streams;
  struct rlimit size {};
  ::getrlimit(RLIMIT_FSIZE, &size);
  const struct rlimit limited = {100 * 1024, size.rlim_max};
  ::setrlimit(RLIMIT_FSIZE,
              &limited);  // the program inherits it; this process writes nothing meanwhile
  const pid_t pid = startProgram({"--seed", "1", "--trees", "300", "--trace", dir.file("t")},
                                 streams.file("out"), streams.file("err"));
  ::setrlimit(RLIMIT_FSIZE, &size);
  const int waitStatus = waitForProgram(pid);
  ProgramRun run;
  run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
  run.err = readFile(streams.file("err"));
  expectRefused(run, "cannot write " + dir.file("t") + ": File too large");
  EXPECT_EQ(linesOf(run.err).size(), 1u) << run.err;
  EXPECT_TRUE(dir.entries().empty());
}

// Started under nohup, a hang-up does not end the run; a signal it was not
// told to ignore still does, and tidily.
TEST(ProgramFaults, ASignalIgnoredAtStartStaysIgnored) {
  const ScratchDir dir, streams;
  const auto previous = std::signal(SIGHUP, SIG_IGN);  // inherited, as from nohup
  const pid_t pid = startProgram({"--seed", "1", "--trees", "1000000", "--trace", dir.file("t")},
                                 streams.file("out"), streams.file("err"));
  std::signal(SIGHUP, previous);
  for (int wait = 0; wait < 500 && dir.entries().empty(); ++wait) ::usleep(10'000);
  ::kill(pid, SIGHUP);
  ::usleep(200'000);
  int waitStatus = 0;
  const pid_t ended = ::waitpid(pid, &waitStatus, WNOHANG);
  EXPECT_EQ(ended, 0) << "a hang-up ended a run started under nohup";
  if (ended == 0) {
    ::kill(pid, SIGTERM);
    waitStatus = waitForProgram(pid);
  }
  EXPECT_TRUE(WIFSIGNALED(waitStatus) && WTERMSIG(waitStatus) == SIGTERM);
  EXPECT_TRUE(dir.entries().empty());
}

// The program's standard output named by path is written through the
// descriptor it already has, as a shell redirection means it. Opened anew, a
// file behind it would be truncated or replaced, and what the shell had put
// there before would be lost.
class StandardOutput : public ::testing::Test {
 protected:
  // Runs the program with standard input on /dev/null and standard output on
  // `outFd`, which the caller keeps.
  ProgramRun runOn(const std::vector<std::string>& arguments, int outFd,
                   const std::function<void()>& whileRunning = {}) {
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t pid = startProgramOn(arguments, in, outFd, streams_.file("err"));
    ::close(in);
    if (whileRunning) whileRunning();
    const int waitStatus = waitForProgram(pid);
    ProgramRun run;
    run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    run.err = readFile(streams_.file("err"));
    return run;
  }

  // What the program writes into a pipe, read while it runs so that it never blocks.
  ProgramRun runIntoPipe(const std::vector<std::string>& arguments) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    std::string received;
    ProgramRun run = runOn(arguments, ends[1], [&] {
      ::close(ends[1]);
      char buffer[65536];
      for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;) received.append(buffer, n);
    });
    ::close(ends[0]);
    run.out = received;
    return run;
  }

  ScratchDir dir_, streams_;
};

TEST_F(StandardOutput, APipeReceivesExactlyWhatAFileWould) {
  ASSERT_EQ(runProgram(
                {"--seed", "1", "--png", dir_.file("tree.png"), "--trace", dir_.file("tree.trace")})
                .status,
            0);
  for (const char* name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
    const ProgramRun trace = runIntoPipe({"--seed", "1", "--trace", name});
    EXPECT_EQ(trace.status, 0) << name << ": " << trace.err;
    EXPECT_TRUE(trace.out == readFile(dir_.file("tree.trace"))) << name;
    const ProgramRun png = runIntoPipe({"--seed", "1", "--png", name});
    EXPECT_EQ(png.status, 0) << name << ": " << png.err;
    EXPECT_TRUE(png.out == readFile(dir_.file("tree.png"))) << name;
  }
}

TEST_F(StandardOutput, AFileItLeadsToGrowsWhereTheShellLeftIt) {
  const std::string trace = (runProgram({"--seed", "1", "--trace", dir_.file("tree.trace")}),
                             readFile(dir_.file("tree.trace")));
  const std::string log = dir_.write("log", "earlier line\n");
  struct stat before {};
  ASSERT_EQ(::stat(log.c_str(), &before), 0);
  for (const char* name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
    const int out = ::open(log.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    const ProgramRun run = runOn({"--seed", "1", "--trace", name}, out);
    ::write(out, "later line\n", 11);  // the shell goes on writing after it
    ::close(out);
    EXPECT_EQ(run.status, 0) << name << ": " << run.err;
    const std::string content = readFile(log);
    EXPECT_TRUE(content == "earlier line\n" + trace + "later line\n")
        << name << ": " << content.substr(0, 60);
    writeFile(log, "earlier line\n");
    struct stat after {};
    ASSERT_EQ(::stat(log.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << name << ": the file was replaced";
  }
  EXPECT_EQ(dir_.entries(), (std::set<std::string>{"log", "tree.trace"}));
}

// `tilvera-render --png tree.png --trace /dev/stdout | head -1`: the reader
// stops, and the run ends without leaving the unfinished picture behind, under
// a hidden temporary name or its own.
TEST_F(StandardOutput, AReaderThatStopsEarlyLeavesNoOutputBehind) {
  for (const bool pipeSignalIgnored : {false, true}) {
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    ::close(ends[0]);  // the reader has already gone
    // The program inherits the disposition, as it would from a shell.
    const auto previous = std::signal(SIGPIPE, pipeSignalIgnored ? SIG_IGN : SIG_DFL);
    const ProgramRun run = runOn(
        {"--seed", "5", "--trees", "50", "--png", dir_.file("tree.png"), "--trace", "/dev/stdout"},
        ends[1]);
    std::signal(SIGPIPE, previous);
    ::close(ends[1]);
    if (pipeSignalIgnored)
      expectRefused(run, "cannot write /dev/stdout: Broken pipe");
    else
      EXPECT_EQ(run.status, -1) << "ends of SIGPIPE, as a pipeline's writer does";
    EXPECT_TRUE(dir_.entries().empty()) << "SIGPIPE ignored: " << pipeSignalIgnored;
  }
}

// The picture is complete in the stream's buffer when the trace fails to
// finish; a failed run must not deliver it through the descriptor all the same.
TEST_F(StandardOutput, AFailedRunDeliversNothingThroughIt) {
  const std::string out = dir_.write("out.png", "");
  const int fd = ::open(out.c_str(), O_WRONLY | O_CLOEXEC);
  const ProgramRun run = runOn({"--seed", "3", "--png", "/dev/stdout", "--trace", "/dev/full"}, fd);
  ::close(fd);
  expectRefused(run, "cannot write /dev/full: No space left on device");
  EXPECT_EQ(readFile(out).size(), 0u);
}

TEST_F(StandardOutput, ADescriptorThatCannotBeWrittenIsRefusedBeforeAnyTree) {
  const std::string log = dir_.write("log", "");
  const int readOnly = ::open(log.c_str(), O_RDONLY | O_CLOEXEC);
  const ProgramRun run = runOn({"--seed", "1", "--trace", "/dev/stdout"}, readOnly);
  ::close(readOnly);
  expectRefused(run, "cannot write /dev/stdout: Bad file descriptor");
  // A descriptor the program was not given at all.
  const int out = ::open(log.c_str(), O_WRONLY | O_CLOEXEC);
  expectRefused(runOn({"--seed", "1", "--png", "/dev/fd/9"}, out),
                "cannot write /dev/fd/9: Bad file descriptor");
  ::close(out);
  EXPECT_TRUE(readFile(log).empty());
}

}  // namespace
}  // namespace tilvera::testing
