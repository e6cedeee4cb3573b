#pragma once
// TSheetBuilder: gathers the cells of a sheet as a reader streams them, then
// makes the table. A sheet's width, whether its first line names the fields
// (HeaderRule.h) and each field's type are known only at its end, so the
// lines are kept meanwhile in a compact form (a length and the bytes of each
// value, Windows-1252), in pieces of a few megabytes that are freed as the
// records are made from them: a sheet costs about its text once more at most.
//
// Cells come in line order, left to right, by 0-based column; skipped columns
// are empty, and a cell at or left of one already given is dropped. An empty
// line is dropped. Fields: named by the header line, or "Champ1", "Champ2"...
// (UniqueFieldNames).
// A field is FLOAT when its column holds numbers and no other text, else
// STRING. A failure leaves the table as it was.
//
// The first line is also a header, whatever the lines below hold, when the
// sheet marks it as one - frozen above the rest (MarkHeader), or every cell
// of it bold - and its cells are all texts: a sheet kept as a table, as the
// program writes its own, reads back with its names even when every column
// is text.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "HeaderRule.h"
#include "TStatus.h"

class TQor2;

class TSheetBuilder {
 public:
  static constexpr uint32_t kMaxColumns = 16384;
  static constexpr uint32_t kMaxRows = 1048576;
  static constexpr size_t kMaxCell = 10 * 1000 * 1000;
  // What a sheet may grow to once its repeats (a line the file repeats, a
  // shared string used over and over) are spelled out: past these a few
  // kilobytes of file would ask for more memory than the machine has.
  static constexpr uint64_t kMaxValues = 500 * 1000 * 1000;
  static constexpr uint64_t kMaxText = uint64_t{4} << 30;

  TSheetBuilder();
  ~TSheetBuilder();
  // TooManyColumns beyond kMaxColumns; CellTooLarge beyond kMaxCell bytes;
  // OutOfMemory beyond kMaxValues values or kMaxText bytes in all.
  // A Text cell that reads as a number (NumberText.h) counts as a number for
  // the header rule but stays text in its field's type.
  // `bold`: the cell is shown in bold.
  TStatus Cell(uint32_t column, TCellKind kind, std::string_view value, bool bold = false);
  // The sheet keeps its first line in view above the others (a frozen pane).
  void MarkHeader() { headerMarked_ = true; }
  // Ends the line, `repeat` times over (a line a file repeats).
  TStatus EndRow(uint32_t repeat = 1);
  size_t Rows() const { return rows_; }
  // Makes the table; OutOfMemory when the records cannot be had.
  TStatus Finish(const std::string& tableName, TQor2& table);

 private:
  struct Column {
    bool number = false;  // a number below the first line
    bool text = false;    // another text below the first line
  };
  void Store(const std::string& row);

  std::string row_;          // the open line: a length and the bytes of each value
  uint32_t rowColumns_ = 0;  // values in row_
  bool rowEmpty_ = true;
  std::vector<TCellKind> rowKinds_;  // of the first line only
  std::vector<TCellKind> firstKinds_;
  std::vector<bool> firstText_;  // the first line's cells that are texts
  bool rowBold_ = true;          // every cell of the open line so far is bold
  bool firstBold_ = false;       // every cell of the first line is bold
  bool headerMarked_ = false;
  std::vector<Column> columns_;
  uint32_t width_ = 0;
  size_t rows_ = 0;
  size_t textBytes_ = 0;
  std::vector<std::unique_ptr<std::string>> pieces_;
};
