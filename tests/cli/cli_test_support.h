// Runs the real lumetra-cli binary through the shell and collects its output and status.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "test_support.h"

namespace lumetra::testing {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// How a run differs from a plain one.
struct RunOptions {
  std::string cwd = {};          // the working directory, when not the test's own
  std::string shell_setup = {};  // shell commands before the program ("ulimit -f 4; ")
  std::string program = LUMETRA_CLI_PATH;
  std::string wrapper = {};    // a command the program runs under (setpriv ...)
  std::string stdout_to = {};  // standard output goes to this file instead of the pipe
};

class CliTest : public ::testing::Test {
 protected:
  RunResult Run(const std::vector<std::string>& args, const RunOptions& options = {}) {
    std::string command = options.shell_setup;
    if (!options.cwd.empty()) command = "cd " + Quote(options.cwd) + " && " + command;
    if (!options.wrapper.empty()) command += options.wrapper + " ";
    command += Quote(options.program);
    for (const std::string& arg : args) command += " " + Quote(arg);
    const std::string err_path = dir.File("stderr.txt");
    command += " 2>" + Quote(err_path);
    if (!options.stdout_to.empty()) command += " >" + Quote(options.stdout_to);
    RunResult result;
    FILE* pipe = popen(("{ " + command + "; }").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = ReadFile(err_path);
    return result;
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    WriteFile(dir.File(name), bytes);
    return dir.File(name);
  }

  TempDir dir;
};

}  // namespace lumetra::testing
