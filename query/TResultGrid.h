#pragma once
// TResultGrid: the result grid of the SQL and query-by-example windows
// ("StringGrid1"): font Arial, columns 192 wide, column 0 48 wide and headed
// "Enr", row 0 the field names. Cells can be edited; nothing reads them back,
// so an edit changes no table and is never saved.
//
// Remplit shows a table: one row per record with its position in that table in
// column 0, values without the spaces around them; a table without record gives
// the header and one empty row, never rows of an earlier fill. It reads the
// table by record number, when the rows are drawn, and does not move its
// cursor: the caller keeps the table alive, with the records it had at the
// fill, until the next Remplit or the grid's end.

#include "TGridSource.h"
#include "TStringGrid.h"

class TQor2;

class TResultGrid : public TStringGrid, private TGridSource {
  Q_OBJECT

 public:
  explicit TResultGrid(QWidget* parent = nullptr);

  void Remplit(const TQor2& table);

  // "Imprimer": the print dialog, then the whole grid, header row included, as
  // a ruled list with no title and no heading.
  void Imprimer();

 private:
  void Text(int col, int row, size_t limit, std::string& out) const override;

  const TQor2* table_ = nullptr;
  int records_ = 0;
  int fields_ = 0;
};
