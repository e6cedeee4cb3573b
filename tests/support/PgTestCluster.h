#pragma once
// PgTestCluster: a PostgreSQL server of the test's own, in a temporary
// folder, listening on a Unix socket in that folder only (no TCP port), with
// fsync off; stopped and removed with the object. initdb and postgres refuse
// to run as root: as root (CI) they run as the "postgres" user through
// runuser, the folder handed to it.
//
// Available() is false, with Why() saying so, when the server's programs are
// not installed or the server does not start; tests then skip.
//
//   PgTestCluster pg;
//   if (!pg.Available()) GTEST_SKIP() << pg.Why();
//   Convert(..., pg.Uri("postgres"));

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class PgTestCluster {
 public:
  PgTestCluster() {
    const std::string bin = FindBin();
    if (bin.empty()) {
      why_ = "the PostgreSQL server (package postgresql) is not installed";
      return;
    }
    std::string tmpl = (std::filesystem::temp_directory_path() / "vekpg-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
      why_ = "no temporary folder";
      return;
    }
    dir_ = tmpl;
    as_ = geteuid() == 0 ? "runuser -u postgres -- " : "";
    if (geteuid() == 0 && std::system(("chown postgres " + dir_).c_str()) != 0) {
      why_ = "cannot hand the folder to the postgres user";
      return;
    }
    chmod(dir_.c_str(), 0755);
    const std::string data = dir_ + "/data";
    if (Sh(as_ + bin + "/initdb -D " + data +
           " -A trust -U postgres -E UTF8 --locale=C --no-sync >" + dir_ + "/initdb.log 2>&1") !=
        0) {
      why_ = "initdb failed (see " + dir_ + "/initdb.log)";
      return;
    }
    ctl_ = as_ + bin + "/pg_ctl -D " + data;
    if (Sh(ctl_ + " -w -t 30 -l " + dir_ + "/server.log -o \"-k " + dir_ +
           " -c listen_addresses='' -c fsync=off -c synchronous_commit=off"
           " -c full_page_writes=off\" start >/dev/null 2>&1") != 0) {
      why_ = "the server did not start (see " + dir_ + "/server.log)";
      return;
    }
    started_ = true;
  }
  ~PgTestCluster() {
    if (started_) Sh(ctl_ + " -m immediate stop >/dev/null 2>&1");
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }
  PgTestCluster(const PgTestCluster&) = delete;
  PgTestCluster& operator=(const PgTestCluster&) = delete;

  bool Available() const { return started_; }
  const std::string& Why() const { return why_; }
  const std::string& Folder() const { return dir_; }
  // A libpq address of a database of this server, as `user`.
  std::string Uri(const std::string& db = "postgres", const std::string& user = "postgres") const {
    return "postgresql:///" + db + "?host=" + dir_ + "&user=" + user;
  }
  // psql on it, as the superuser; its output.
  std::string Psql(const std::string& sql, const std::string& db = "postgres") const {
    const std::string file = dir_ + "/q.sql";
    FILE* f = std::fopen(file.c_str(), "w");
    if (!f) return {};
    std::fputs(sql.c_str(), f);
    std::fclose(f);
    std::string out;
    FILE* p = popen(
        ("psql -X -q -A -t -h " + dir_ + " -U postgres -d " + db + " -f " + file + " 2>&1").c_str(),
        "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
  }

 private:
  static int Sh(const std::string& command) { return std::system(command.c_str()); }
  static std::string FindBin() {
    std::string best;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator("/usr/lib/postgresql", ec)) {
      const std::string bin = e.path().string() + "/bin";
      if (std::filesystem::exists(bin + "/initdb") && bin > best) best = bin;
    }
    return best;
  }

  std::string dir_, as_, ctl_, why_;
  bool started_ = false;
};
