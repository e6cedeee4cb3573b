#pragma once
// Measuring whole processes for the benchmarks that set a figure beside a
// peer's: wall time, processor time (the machine is shared: a slow wall time
// with a small processor time is the neighbours'), peak resident memory.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

struct BenchRun {
  double seconds = 0;
  double cpuSeconds = 0;  // user and system time
  double peakBytes = 0;   // peak resident memory of the process
  bool ok = false;
};

inline double BenchNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

inline double CpuSeconds(const struct rusage& u) {
  return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec +
         u.ru_stime.tv_usec / 1e6;
}

// The resident memory of this process now, from the kernel's account.
inline double ResidentBytes() {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return 0;
  char line[256];
  double kb = 0;
  while (std::fgets(line, sizeof line, f))
    if (std::sscanf(line, "VmRSS: %lf kB", &kb) == 1) break;
  std::fclose(f);
  return kb * 1024;
}

// A shell command as a whole process.
inline BenchRun RunProcess(const std::string& command) {
  const double t0 = BenchNow();
  BenchRun run;
  const pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  run.seconds = BenchNow() - t0;
  run.cpuSeconds = CpuSeconds(usage);
  run.peakBytes = usage.ru_maxrss * 1024.0;
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

// Runs argv[0], found on the PATH, with its output sent to /dev/null; the
// child's own figures. Not ok when it cannot start or fails.
inline BenchRun Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  BenchRun run;
  const double t0 = BenchNow();
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    run.seconds = BenchNow() - t0;
    run.cpuSeconds = CpuSeconds(usage);
    run.peakBytes = usage.ru_maxrss * 1024.0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  posix_spawn_file_actions_destroy(&actions);
  return run;
}

// The peer of opening a CSV: the sqlite3 shell importing it into memory, the
// best of `runs`. Not ok when the shell is not installed.
inline BenchRun SqliteImport(const std::string& csv, int runs = 3) {
  BenchRun best;
  if (RunProcess("command -v sqlite3 >/dev/null 2>&1").ok == false) return best;
  best.seconds = 1e30;
  for (int i = 0; i < runs; ++i) {
    const BenchRun r = RunProcess("sqlite3 :memory: -cmd '.mode csv' '.import " + csv + " t'");
    if (r.ok && r.seconds < best.seconds) best = r;
  }
  return best;
}

// The peer's three lines: its time, its processor time, its peak memory
// against the file's size.
inline void ReportSqlitePeer(const BenchRun& peer, double fileBytes) {
  std::printf("%-44s %8.4f s   (peer: whole sqlite3 process, same file)\n",
              "sqlite3 :memory: .import", peer.seconds);
  std::printf("%-44s %8.4f s\n", "  processor time", peer.cpuSeconds);
  std::printf("%-44s %8.2f x the file (%.1f MB peak)\n", "peak memory of sqlite3",
              peer.peakBytes / fileBytes, peer.peakBytes / 1e6);
}
