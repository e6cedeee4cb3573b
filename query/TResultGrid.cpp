#include "TResultGrid.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "PrintGrid.h"
#include "TPrintout.h"
#include "TQor2.h"

namespace {

// Spaces (code 32) go at both ends, as TrimBlanks does, without a copy.
std::string_view TrimSpaces(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return std::string_view(s).substr(b, e - b);
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
}

void TResultGrid::Remplit(const TQor2& table) {
  const int fields = table.FieldCount();
  const int records = table.RecordCount();
  BeginUpdate();
  // Back to one empty data row first: nothing of an earlier fill survives.
  SetSize(2, 2);
  for (int c = 0; c < 2; ++c) SetCellAnsi(c, 1, "");
  SetCellAnsi(1, 0, "");
  SetSize(std::max(2, fields + 1), std::max(2, records + 1));
  for (int i = 1; i <= fields; ++i) SetCellAnsi(i, 0, table.GetFieldName(i));
  SetColWidth(0, 48);
  for (int n = 1; n <= records; ++n) {
    for (int i = 1; i <= fields; ++i) SetCellAnsi(i, n, TrimSpaces(table.GetCell(i, n)));
    SetCellAnsi(0, n, std::to_string(n));
  }
  EndUpdate();
}

void TResultGrid::Imprimer() {
  if (TPrintout::AskPrinter(QString())) PrintGrid(*this, QString(), QString(), RowCount() - 1);
}
