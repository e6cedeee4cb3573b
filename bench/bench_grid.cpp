// TStringGrid with 100,000 rows of 10 cells (or the count given), on a shown
// grid: over a source, as the table view and the result grids show a table
// (laid out, drawn, paged through, row changes drawn, every cell read back); then the
// same cells set one by one, as the small grids hold their texts.

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "AnsiCodec.h"
#include "BenchTimer.h"
#include "TGridSource.h"
#include "TStringGrid.h"

namespace {

class ValueSource : public TGridSource {
 public:
  ValueSource(const std::vector<std::string>& values, int cols) : values_(values), cols_(cols) {}
  void Text(int col, int row, size_t limit, std::string& out) const override {
    if (row < 1) return;
    if (col == 0)
      out = std::to_string(row);
    else
      out.assign(values_[static_cast<size_t>(row - 1) * cols_ + col - 1], 0, limit);
  }

 private:
  const std::vector<std::string>& values_;
  int cols_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int rows = argc > 1 ? std::atoi(argv[1]) : 100000, cols = 10;
  std::vector<std::string> values;
  values.reserve(static_cast<size_t>(rows) * cols);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
      values.push_back("Val\xE9ur " + std::to_string(r) + "/" + std::to_string(c));
  ValueSource source(values, cols);

  TStringGrid grid;
  grid.resize(800, 600);
  grid.show();
  app.processEvents();

  QElapsedTimer timer;
  timer.start();
  grid.BeginUpdate();
  grid.SetSize(cols + 1, rows + 1);
  grid.SetSource(&source);
  grid.EndUpdate();
  grid.SetRow(1);
  grid.grab();
  std::printf("%d x %d over a source, laid out and drawn: %.3f s\n", rows, cols, Seconds(timer));

  timer.restart();
  int pages = 0;
  for (int row = 1; row < grid.RowCount(); row += 24, ++pages) {
    grid.scrollTo(grid.model()->index(row, 1), QAbstractItemView::PositionAtTop);
    grid.grab();
    if (pages == 200) break;
  }
  std::printf("one page drawn after a jump (mean of %d): %.3f ms\n", pages,
              Seconds(timer) * 1e3 / pages);

  timer.restart();
  for (int i = 0; i < 100; ++i) {
    grid.SetRow(grid.Row() + 1);
    app.processEvents();
  }
  std::printf("a row change, drawn (mean of 100): %.3f ms\n", Seconds(timer) * 1e3 / 100);

  timer.restart();
  size_t bytes = 0;
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= cols; ++c) bytes += grid.CellAnsi(c, r).size();
  std::printf("read back %d values as bytes: %.3f s (%zu bytes)\n", rows * cols, Seconds(timer),
              bytes);

  timer.restart();
  grid.BeginUpdate();
  grid.SetSource(nullptr);
  for (int r = 0; r < rows; ++r) {
    grid.SetCellAnsi(0, r + 1, std::to_string(r + 1));
    for (int c = 0; c < cols; ++c) grid.SetCellAnsi(c + 1, r + 1, values[r * cols + c]);
  }
  grid.EndUpdate();
  app.processEvents();
  std::printf("the same cells set one by one in one update: %.3f s\n", Seconds(timer));

  timer.restart();
  bytes = 0;
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= cols; ++c) bytes += ToAnsi(grid.Cell(c, r)).size();
  std::printf("read back as QString and convert %d values: %.3f s (%zu bytes)\n", rows * cols,
              Seconds(timer), bytes);
  return 0;
}
