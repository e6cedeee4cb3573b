#pragma once
// The benchmarks that open documents keep the documents' locks and recovery
// journals in a temporary state folder of their own, removed at the end, as
// the tests do: nothing is written under the user's home folder.

#include <cstdlib>
#include <filesystem>
#include <string>

class TBenchStateFolder {
 public:
  TBenchStateFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vekbench-state-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
    setenv("XDG_STATE_HOME", path_.c_str(), 1);
  }
  ~TBenchStateFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TBenchStateFolder(const TBenchStateFolder&) = delete;
  TBenchStateFolder& operator=(const TBenchStateFolder&) = delete;

 private:
  std::string path_;
};
