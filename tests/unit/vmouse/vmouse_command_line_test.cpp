// The vmouse program's command line, run as tests and tools run it.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string vmousePath() {
  const char* build = std::getenv("OMBRISK_BUILD_DIR");
  return std::string(build ? build : ".") + "/tools/vmouse/vmouse";
}

struct RunResult {
  int status;
  std::string output;
};

// Runs vmouse with arguments; its exit status and standard output (standard error dropped).
RunResult run(const std::string& arguments) {
  const std::string command = "'" + vmousePath() + "' " + arguments + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// `vmouse serve --port 0 ...` in the background, and the port it reports.
class Served {
 public:
  explicit Served(const std::string& options) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(fds[1], STDOUT_FILENO);
      close(fds[0]);
      const std::string path = vmousePath();
      const std::string command = "exec '" + path + "' serve --port 0 " + options;
      execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    FILE* out = fdopen(fds[0], "r");
    char line[256] = {};
    if (std::fgets(line, sizeof line, out)) firstLine = line;
    std::fclose(out);
    const std::size_t colon = firstLine.rfind(':');
    if (colon != std::string::npos) port = std::atoi(firstLine.c_str() + colon + 1);
  }
  // Stops it as Ctrl+C would; its exit status.
  int stop() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  ~Served() { stop(); }

  std::string firstLine;
  int port = 0;

 private:
  pid_t pid_ = 0;
};

TEST(VmouseCommandLine, ServeThenActOnItThenStop) {
  Served served("--sensor 2 --command-first");
  ASSERT_GT(served.port, 0) << served.firstLine;
  EXPECT_EQ(served.firstLine, "vmouse: serving on 127.0.0.1:" + std::to_string(served.port) + "\n");
  const std::string port = " --port " + std::to_string(served.port);

  EXPECT_EQ(run("event" + port + " 7 2").status, 0);
  EXPECT_EQ(run("unplug" + port + " --after 2").status, 0);
  EXPECT_NE(run("dump" + port).output.find("\"plugged\": true"), std::string::npos) << "armed, not yet pulled";
  EXPECT_EQ(run("unplug" + port).status, 0);
  const RunResult dump = run("dump" + port);
  EXPECT_EQ(dump.status, 0);
  EXPECT_NE(dump.output.find("\"plugged\": false"), std::string::npos);
  EXPECT_NE(dump.output.find("\"sensor\": [2,1,0,0]"), std::string::npos);
  for (const char* key : {"\"sensor\"", "\"report_interval\"", "\"effect\"", "\"light_sets\"",
                          "\"feature_blocks\"", "\"stage_count\"", "\"stage_codes\"",
                          "\"key_matrices\"", "\"macros\"", "\"log\""})
    EXPECT_NE(dump.output.find(key), std::string::npos) << key;
  EXPECT_EQ(run("plug" + port).status, 0);
  EXPECT_EQ(served.stop(), 0);
  EXPECT_EQ(run("dump" + port).status, 1) << "nothing serves any more";
}

TEST(VmouseCommandLine, UsageErrorsExitWith2) {
  for (const char* arguments :
       {"", "serve", "dump", "event --port 5 7", "event --port 5 7 300", "serve --port 70000",
        "serve --port 0 --sensor 4", "serve --port 0 --silent --hostile", "serve --port 0 --loud",
        "unplug --port 5 --after 0", "unplug --port 5 --after", "serve --port 0 --after 3",
        "fly --port 5", "dump --port 0"}) {
    EXPECT_EQ(run(arguments).status, 2) << arguments;
  }
}

}  // namespace
