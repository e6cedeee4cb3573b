#include "PrintGrid.h"

#include "TGridPrintout.h"

TStatus PrintGrid(const TStringGrid& grid, const QString& title, const QString& heading,
                  int rowCount) {
  return TGridPrintout(grid, title, heading, rowCount).Print();
}

TStatus PreviewGrid(const TStringGrid& grid, const QString& title, const QString& heading,
                    int rowCount) {
  return TGridPrintout(grid, title, heading, rowCount).Preview(true);
}
