// Filling TStringGrid with 100,000 rows of 10 cells, as the table view does after
// every change, on a shown grid: from Windows-1252 bytes in one update; the same
// through QString; then grown one row at a time without an update bracket.

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "AnsiCodec.h"
#include "TStringGrid.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int rows = 100000, cols = 10;
  std::vector<std::string> values;
  values.reserve(static_cast<size_t>(rows) * cols);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
      values.push_back("Val\xE9ur " + std::to_string(r) + "/" + std::to_string(c));

  TStringGrid grid;
  grid.resize(800, 600);
  grid.show();
  app.processEvents();

  QElapsedTimer timer;
  timer.start();
  grid.BeginUpdate();
  grid.SetSize(cols + 1, rows + 1);
  for (int r = 0; r < rows; ++r) {
    grid.SetCellAnsi(0, r + 1, std::to_string(r + 1));
    for (int c = 0; c < cols; ++c) grid.SetCellAnsi(c + 1, r + 1, values[r * cols + c]);
  }
  grid.EndUpdate();
  grid.SetRow(1);
  app.processEvents();
  std::printf("fill %d x %d from bytes in one update: %.3f s\n", rows, cols,
              timer.nsecsElapsed() / 1e9);

  timer.restart();
  grid.BeginUpdate();
  grid.SetSize(2, 2);
  grid.SetSize(cols + 1, rows + 1);
  for (int r = 0; r < rows; ++r) {
    grid.SetCell(0, r + 1, QString::number(r + 1));
    for (int c = 0; c < cols; ++c) grid.SetCell(c + 1, r + 1, FromAnsi(values[r * cols + c]));
  }
  grid.EndUpdate();
  app.processEvents();
  std::printf("fill %d x %d through QString in one update: %.3f s\n", rows, cols,
              timer.nsecsElapsed() / 1e9);

  timer.restart();
  grid.SetRowCount(2);
  for (int r = 0; r < rows; ++r) {
    if (grid.RowCount() - 1 < r + 1) grid.SetRowCount(grid.RowCount() + 1);
    for (int c = 0; c < cols; ++c) grid.SetCellAnsi(c + 1, r + 1, values[r * cols + c]);
    grid.SetCellAnsi(0, r + 1, std::to_string(r + 1));
  }
  app.processEvents();
  std::printf("fill %d x %d row by row from bytes, no update bracket: %.3f s\n", rows, cols,
              timer.nsecsElapsed() / 1e9);

  timer.restart();
  size_t bytes = 0;
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= cols; ++c) bytes += ToAnsi(grid.Cell(c, r)).size();
  std::printf("read back as QString and convert %d values: %.3f s (%zu bytes)\n", rows * cols,
              timer.nsecsElapsed() / 1e9, bytes);
  return 0;
}
