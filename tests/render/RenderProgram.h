#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace tilvera::testing {

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// A fresh directory for one test's files, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tilvera-render-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::string write(const std::string& name, const std::string& content) const {
    writeFile(path_ / name, content);
    return file(name);
  }
  // Every name in the directory, hidden ones included: a left-over temporary shows here.
  std::set<std::string> entries() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      names.insert(entry.path().filename().string());
    return names;
  }

 private:
  std::filesystem::path path_;
};

struct ProgramRun {
  int status = -1;  // exit status, or -1 when the program died of a signal
  std::string out;
  std::string err;
};

// Starts tilvera-render with the given arguments, without a shell, its
// standard streams set up by `actions`; returns its process id.
inline pid_t spawnProgram(const std::vector<std::string>& arguments,
                          posix_spawn_file_actions_t& actions) {
  std::vector<std::string> words{TILVERA_RENDER_PROGRAM};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + words[0]);
  return pid;
}

// Starts tilvera-render with its standard output and error going to the given
// files; returns its process id.
inline pid_t startProgram(const std::vector<std::string>& arguments, const std::string& outPath,
                          const std::string& errPath) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  return spawnProgram(arguments, actions);
}

// Starts tilvera-render with its standard input and output on descriptors of
// the caller's, and its standard error going to a file.
inline pid_t startProgramOn(const std::vector<std::string>& arguments, int inFd, int outFd,
                            const std::string& errPath) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inFd, 0);
  posix_spawn_file_actions_adddup2(&actions, outFd, 1);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  return spawnProgram(arguments, actions);
}

// The raw wait status of a started program.
inline int waitForProgram(pid_t pid) {
  int waitStatus = 0;
  if (::waitpid(pid, &waitStatus, 0) != pid) throw std::runtime_error("waitpid failed");
  return waitStatus;
}

// Runs tilvera-render to its end; its output goes to files in a directory of
// its own, so the caller's directory stays as it was.
inline ProgramRun runProgram(const std::vector<std::string>& arguments) {
  const ScratchDir streams;
  const std::string outPath = streams.file("stdout"), errPath = streams.file("stderr");
  const int waitStatus = waitForProgram(startProgram(arguments, outPath, errPath));
  ProgramRun run;
  run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
  run.out = readFile(outPath);
  run.err = readFile(errPath);
  return run;
}

// The lines of a text, without their newlines.
inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace tilvera::testing
