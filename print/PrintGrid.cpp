#include "PrintGrid.h"

#include "TGridPrintout.h"

bool PrintGrid(const TStringGrid& grid, const QString& title, const QString& heading,
               int rowCount) {
  return TGridPrintout(grid, title, heading, rowCount).Print();
}

void PreviewGrid(const TStringGrid& grid, const QString& title, const QString& heading,
                 int rowCount) {
  TGridPrintout(grid, title, heading, rowCount).Preview(true);
}
