// Starting the FFTW planner helper and reading back its wisdom.
// Tested by: platform/spl/tests/FftPlanningTest.cpp
#include "platform/spl/FftwPlannerProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

extern char** environ;

namespace spl {

namespace {

constexpr const char* kPlannerName = "orvel_fftw_planner";

bool IsProgram(const std::string& path) { return !path.empty() && ::access(path.c_str(), X_OK) == 0; }

// Closes a descriptor when it goes out of scope.
struct TFd {
  int Fd = -1;
  ~TFd() {
    if (Fd >= 0) ::close(Fd);
  }
};

}  // namespace

std::string FftwPlannerProgram() {
  if (const char* set = std::getenv("ORVEL_FFTW_PLANNER")) return set;
#ifdef ORVEL_FFTW_PLANNER_PATH
  if (IsProgram(ORVEL_FFTW_PLANNER_PATH)) return ORVEL_FFTW_PLANNER_PATH;
#endif
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  const std::string beside = (self.parent_path() / kPlannerName).string();
  return IsProgram(beside) ? beside : std::string();
}

bool MeasureInHelper(const std::vector<TFftwProblem>& problems,
                     const std::function<void(const std::string& wisdom)>& onWisdom) {
  const std::string program = FftwPlannerProgram();
  if (program.empty()) return false;

  std::vector<std::string> arguments{kPlannerName, std::to_string(::getpid())};
  for (const TFftwProblem& problem : problems) arguments.push_back(problem.Text());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  // Close-on-exec, so that programs other threads start meanwhile do not keep
  // the pipe open.
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return false;
  TFd readEnd{ends[0]};
  TFd writeEnd{ends[1]};

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return false;
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, writeEnd.Fd, STDOUT_FILENO);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  ::close(writeEnd.Fd);
  writeEnd.Fd = -1;

  // The helper ends each wisdom with a NUL; a part cut off by its end is dropped.
  std::string pending;
  char buffer[1 << 14];
  for (;;) {
    const ssize_t n = ::read(readEnd.Fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    pending.append(buffer, static_cast<std::size_t>(n));
    for (std::size_t end; (end = pending.find('\0')) != std::string::npos;) {
      onWisdom(pending.substr(0, end));
      pending.erase(0, end + 1);
    }
  }
  // A program that reaps every child may have taken the status already: what
  // the helper wrote is all that counts.
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return true;
}

}  // namespace spl
