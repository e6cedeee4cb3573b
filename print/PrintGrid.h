#pragma once
// PrintGrid: prints any string grid as a ruled table - the table and column
// views of a document window, the result grids of the SQL and query-by-example
// windows - on Services().Printer(), as one job. The layout is TGridPrintout's.
//
//   if (TPrintout::AskPrinter(title))  // the print dialog; the caller asks first
//     if (const TStatus s = PrintGrid(*grid, title, heading, grid->RowCount() - 1); !s)
//       Services().Warning(TPrintout::Message(s));
//
// `title` names the job (a table's full path lets a file printer propose
// "<table>.pdf" beside the table); `heading` is printed at the top left of every
// page; both may be empty, and then only the date shows. Rows 0 to `rowCount`
// are printed, row 0 as every page's heading row. Returns the job's status:
// the printer's refusal or failure, for the caller to tell the user.
//
// PreviewGrid shows the same pages in "Aperçu avant impression", with
// "Imprimer..." to print them (print dialog first), and returns the status of
// that print.

#include <QString>

#include "TPrintout.h"

class TStringGrid;

TStatus PrintGrid(const TStringGrid& grid, const QString& title, const QString& heading,
                  int rowCount);
TStatus PreviewGrid(const TStringGrid& grid, const QString& title, const QString& heading,
                    int rowCount);
