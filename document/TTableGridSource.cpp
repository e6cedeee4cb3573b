#include "TTableGridSource.h"

#include <QFontDatabase>
#include <algorithm>
#include <limits>

#include "TQor2.h"
#include "TStringGrid.h"
#include "TStringGridModel.h"
#include "TTextWidths.h"

namespace {

// Blanks and control characters at both ends go, as the grids show values.
std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

// "System", size 10, bold: the font "FLOAT" values are measured in.
QFont FloatMeasureFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSize(10);
  font.setBold(true);
  return font;
}

}  // namespace

TTableGridSource::TTableGridSource(TQor2& table, TStringGrid& grid)
    : table_(table), grid_(grid), floatWidths_(TTextWidths::For(FloatMeasureFont())) {
  MeasureGrid();
}

void TTableGridSource::MeasureGrid() {
  gridWidths_ = &TTextWidths::For(grid_.font());
  margins_ = grid_.CellMargins();
}

void TTableGridSource::Fill(const TCondition* filter) {
  all_ = !filter;
  recNos_.clear();
  table_.First();
  if (all_) {
    count_ = table_.RecordCount();
    table_.Last();
    table_.Next();
  } else {
    table_.BeginSearch(true);
    while (table_.FindNext(*filter)) recNos_.push_back(table_.RecNo());
    table_.EndSearch();
    recNos_.shrink_to_fit();
    count_ = static_cast<int>(recNos_.size());
  }
  const int fields = table_.FieldCount();
  isFloat_.assign(static_cast<size_t>(fields) + 1, 0);
  for (int i = 1; i <= fields; ++i) isFloat_[i] = table_.GetFieldType(i) == "FLOAT";
  widths_.resize(static_cast<size_t>(grid_.ColCount()));
  for (int c = 0; c < grid_.ColCount(); ++c) widths_[c] = grid_.ColWidth(c);
  MeasureGrid();

  // Room for the number of one more record, which adding gives the grid.
  grid_.FitNumbers(0, table_.RecordCount() + 1);
  grid_.BeginUpdate();
  grid_.SetRowCount(std::max(2, count_ + 1));
  grid_.ForgetRows(1);
  grid_.EndUpdate();
}

int TTableGridSource::RecordOf(int row) const {
  if (row < 1 || row > count_) return 0;
  return all_ ? row : recNos_[static_cast<size_t>(row) - 1];
}

void TTableGridSource::ShowLast(int row, int recNo) {
  if (row < 1) return;
  if (all_ && row == count_ + 1 && recNo == row) {
    ++count_;
  } else {
    if (all_) {
      recNos_.resize(static_cast<size_t>(count_));
      for (int r = 1; r <= count_; ++r) recNos_[static_cast<size_t>(r) - 1] = r;
      all_ = false;
    }
    if (static_cast<size_t>(row) > recNos_.size()) recNos_.resize(static_cast<size_t>(row), 0);
    recNos_[static_cast<size_t>(row) - 1] = recNo;
    count_ = static_cast<int>(recNos_.size());
  }
  grid_.ForgetRows(row);
}

int TTableGridSource::FloatPadding(std::string_view text, int width) const {
  // As many spaces as the measure in "System" asks for, but never so many
  // that the cell would show the number cut. A text longer than the grid
  // draws is wider than any column: not worth measuring.
  if (text.size() > TStringGridModel::kShownLength) return 0;
  const int room = width - margins_;
  return std::min(floatWidths_.PaddingFor(text, width - 10),
                  gridWidths_->SpacesFitting(text, int64_t{room} * 64));
}

void TTableGridSource::Format(std::string_view text, bool isFloat, int width, size_t limit,
                              std::string& out) const {
  const size_t padding = isFloat ? static_cast<size_t>(FloatPadding(text, width)) : 0;
  out.assign(std::min(padding, limit), ' ');
  if (out.size() < limit) out.append(text.substr(0, limit - out.size()));
}

std::string TTableGridSource::Display(std::string_view value, bool isFloat, int width) const {
  std::string out;
  Format(Trim(value), isFloat, width, std::numeric_limits<size_t>::max(), out);
  return out;
}

std::string TTableGridSource::Trimmed(int col, int row) const {
  if (grid_.HasOwnText(col, row)) return std::string(Trim(grid_.CellAnsi(col, row)));
  const int recNo = RecordOf(row);
  if (recNo == 0 || col < 1 || col >= static_cast<int>(isFloat_.size())) return std::string();
  const std::string_view value = table_.GetCell(col, recNo);
  return std::string(Trim(value));
}

int TTableGridSource::FittingWidth(int col) const {
  const TTextWidths& widths = TTextWidths::For(grid_.font());
  std::vector<std::string> texts;
  // What the grid draws of each value: at most its first characters.
  for (int r = 1; r < grid_.RowCount(); ++r)
    texts.push_back(Trimmed(col, r).substr(0, TStringGridModel::kShownLength));
  // Texts whose characters add up are measured by their sum; the others only
  // when kerning (a few pixels at most per character) could make them the
  // widest.
  int64_t w = 0;
  for (const std::string& text : texts)
    if (widths.Additive(text)) w = std::max(w, widths.Estimate64(text));
  for (const std::string& text : texts)
    if (!widths.Additive(text) &&
        widths.Estimate64(text) + 64 * (2 * static_cast<int64_t>(text.size()) + 2) >= w)
      w = std::max(w, widths.Width64(text));
  // Whole pixels that hold the text, and the cell's margins around it.
  const int pixels = static_cast<int>((w + 63) >> 6);
  const int whole = pixels + grid_.CellMargins();
  return pixels >= 64 ? whole : std::max(pixels + 20, whole);
}

void TTableGridSource::Text(int col, int row, size_t limit, std::string& out) const {
  const int recNo = RecordOf(row);
  if (recNo == 0 || col < 0) return;
  if (col == 0) {
    out = std::to_string(recNo);
    return;
  }
  if (col >= static_cast<int>(isFloat_.size())) return;
  const std::string_view value = table_.GetCell(col, recNo);
  const int width = col < static_cast<int>(widths_.size()) ? widths_[col] : grid_.ColWidth(col);
  Format(Trim(value), isFloat_[col], width, limit, out);
}
