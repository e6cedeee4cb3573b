// Linked into every test binary: the process keeps its locks and recovery
// journals in a temporary state folder of its own ($XDG_STATE_HOME), removed
// when it ends, so that no test writes under the home folder. A test that
// starts a program of its own passes the folder on with
// VEK_TEST_INHERIT_STATE=1, and that program uses it as it is.

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct TTestStateFolder {
  std::string path;
  TTestStateFolder() {
    const char* inherit = std::getenv("VEK_TEST_INHERIT_STATE");
    if (inherit && std::string(inherit) == "1" && std::getenv("XDG_STATE_HOME")) return;
    std::string pattern = (std::filesystem::temp_directory_path() / "vekstate-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();  // never the user's own folder
    path = pattern;
    setenv("XDG_STATE_HOME", path.c_str(), 1);
  }
  ~TTestStateFolder() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
};

const TTestStateFolder folder;

}  // namespace
