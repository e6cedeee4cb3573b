#pragma once
// VekTool: the command-line companion for scripting and batch work on table
// files. Run takes the arguments after the program name and returns the exit
// status: 0 on success, 1 when the engine reports a failure (its message goes to
// err), 2 for a command line that cannot be understood (usage goes to err).

#include <iosfwd>
#include <string>
#include <vector>

class TQor2;

class VekTool {
 public:
  VekTool(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
  int Run(const std::vector<std::string>& args);

 private:
  int Help();
  int Usage(const std::string& message);
  int Fail(const std::string& message);
  bool Load(const std::string& path, TQor2& table);
  bool Save(TQor2& table, const std::string& path);
  int Info(const std::vector<std::string>& a);
  int Convert(const std::vector<std::string>& a);
  int Sort(const std::vector<std::string>& a);
  int Dedup(const std::vector<std::string>& a);
  int Sql(const std::vector<std::string>& a);
  int Import(const std::vector<std::string>& a);
  int Export(const std::vector<std::string>& a);

  std::ostream& out_;
  std::ostream& err_;
};
