#include "TResultGrid.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "PrintGrid.h"
#include "TPrintout.h"
#include "TQor2.h"

namespace {

// Spaces (code 32) go at both ends, as TrimBlanks does, without a copy.
std::string_view TrimSpaces(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return s.substr(b, e - b);
}

}  // namespace

TResultGrid::TResultGrid(QWidget* parent) : TStringGrid(parent) {
  setObjectName(QStringLiteral("StringGrid1"));
  setAccessibleName(QStringLiteral("Résultat"));
  QFont arial(QStringLiteral("Arial"));
  setFont(arial);
  SetSize(2, 2);
  SetFixedCols(1);
  SetFixedRows(1);
  SetDefaultColWidth(192);
  SetColWidth(0, 48);
  SetCell(0, 0, QStringLiteral("Enr"));
  SetEditable(true);
  SetSource(this);
}

void TResultGrid::Remplit(const TQor2& table) {
  const int fields = table.FieldCount();
  const int records = table.RecordCount();
  BeginUpdate();
  // Back to one empty data row first: nothing of an earlier fill survives.
  SetSize(2, 2);
  ForgetRows(1);
  SetCellAnsi(1, 0, "");
  table_ = &table;
  records_ = records;
  fields_ = fields;
  SetSize(std::max(2, fields + 1), std::max(2, records + 1));
  for (int i = 1; i <= fields; ++i) SetCellAnsi(i, 0, table.GetFieldName(i));
  SetColWidth(0, 48);
  FitNumbers(0, records);
  EndUpdate();
}

void TResultGrid::Text(int col, int row, size_t limit, std::string& out) const {
  if (!table_ || row < 1 || row > records_ || col < 0 || col > fields_) return;
  if (col == 0) {
    out = std::to_string(row);
    return;
  }
  out.assign(TrimSpaces(table_->GetCell(col, row)).substr(0, limit));
}

void TResultGrid::Imprimer() {
  if (TPrintout::AskPrinter(QString()))
    TPrintout::Tell(PrintGrid(*this, QString(), QString(), RowCount() - 1));
}
