// Running the native tools of the build tree (ombriskctl, vmouse) from the unit tests.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/temp_folder.h"

namespace ombrisk::testing {

// A tool of the build tree, e.g. tool("ombriskctl/ombriskctl").
inline std::string tool(const std::string& relative) {
  const char* build = std::getenv("OMBRISK_BUILD_DIR");
  return std::string(build ? build : ".") + "/tools/" + relative;
}

struct CommandResult {
  int exitCode = -1;
  std::string out, err;
};

// Runs a command line through the shell, stdout and stderr apart (kept in folder).
inline CommandResult run(const std::string& command, const TempFolder& folder) {
  const std::string outFile = folder.file("out.txt"), errFile = folder.file("err.txt");
  const int status = std::system((command + " >'" + outFile + "' 2>'" + errFile + "'").c_str());
  CommandResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const auto out = readBytes(outFile), err = readBytes(errFile);
  result.out.assign(out.begin(), out.end());
  result.err.assign(err.begin(), err.end());
  return result;
}

}  // namespace ombrisk::testing
