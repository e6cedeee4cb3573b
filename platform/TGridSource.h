#pragma once
// TGridSource: where a TStringGrid finds the texts of the cells nobody set, so
// that a grid can show a large table without holding a copy of it. The grid
// asks only for the cells it draws or that a caller reads, each time anew: a
// source whose texts change shows the change at the next drawing.
//
// The grid keeps the source's row and column counts itself (SetSize); a source
// answers for any cell inside the grid, with an empty text where it has none.
// The caller keeps the source alive while a grid uses it.

#include <cstddef>
#include <string>

class TGridSource {
 public:
  virtual ~TGridSource() = default;

  // Puts into `out` (given empty) the first `limit` bytes of the text of cell
  // (col, row), as Windows-1252 bytes.
  virtual void Text(int col, int row, size_t limit, std::string& out) const = 0;
};
