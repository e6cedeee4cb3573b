#include "TXlsxWriter.h"

#include <xlsxwriter.h>

#include <cerrno>

#include "NumberText.h"
#include "RecordWalk.h"
#include "SheetLayout.h"
#include "TQor2.h"
#include "TStagedFile.h"
#include "Utf8Text.h"

namespace {

TFailure LibraryFailure(lxw_error error, int system) {
  if (error == LXW_ERROR_MEMORY_MALLOC_FAILED) return TFailure::OutOfMemory;
  if (system == ENOSPC || system == EDQUOT) return TFailure::DiskFull;
  return TFailure::WriteError;
}

}  // namespace

TStatus TXlsxWriter::Write(const TQor2& table, const std::string& path) {
  const int fields = table.FieldCount();
  if (table.RecordCount() >= LXW_ROW_MAX || fields > LXW_COL_MAX)
    return TStatus(TFailure::TooLargeForXlsx);
  const TSheetLayout layout = TSheetLayout::Of(table);
  if (layout.longest > 32767) return TStatus(TFailure::TooLargeForXlsx);

  TStagedFile file;
  TStatus s = file.Open(path);
  if (!s) return s;
  lxw_workbook_options options = {};
  options.constant_memory = LXW_TRUE;
  options.use_zip64 = LXW_TRUE;
  errno = 0;
  lxw_workbook* book = workbook_new_opt(file.Path().c_str(), &options);
  if (!book) return TStatus(TFailure::OutOfMemory);
  lxw_worksheet* sheet = workbook_add_worksheet(book, layout.sheetName.c_str());
  lxw_format* bold = workbook_add_format(book);
  lxw_error error = LXW_NO_ERROR;
  if (!sheet || !bold) {
    error = LXW_ERROR_MEMORY_MALLOC_FAILED;
  } else {
    format_set_bold(bold);
    worksheet_freeze_panes(sheet, 1, 0);
    for (int c = 0; c < fields; ++c)
      worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                           layout.widths[c], nullptr);
    std::string utf8;
    for (int c = 0; c < fields && !error; ++c) {
      utf8.clear();
      AppendAsUtf8(utf8, table.Names().Get(c));
      error = worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), utf8.c_str(), bold);
    }
    WalkRecords(table.RecordList().Items(), 0, [&](size_t k, const TKStringList& r) {
      const lxw_row_t row = static_cast<lxw_row_t>(k + 1);
      for (int c = 0; c < fields && !error; ++c) {
        const TValueView v = r.Get(c);
        if (v.empty()) continue;
        double number;
        if (layout.numbers[c] && ParseTableNumber(v, number)) {
          error = worksheet_write_number(sheet, row, static_cast<lxw_col_t>(c), number, nullptr);
        } else {
          utf8.clear();
          AppendAsUtf8(utf8, v);
          // The table's line breaks (CR LF) as Excel's own (LF).
          if (v.find('\r') != std::string_view::npos) {
            size_t w = 0;
            for (size_t i = 0; i < utf8.size(); ++i)
              if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n'))
                utf8[w++] = utf8[i];
            utf8.resize(w);
          }
          error = worksheet_write_string(sheet, row, static_cast<lxw_col_t>(c), utf8.c_str(),
                                         nullptr);
        }
      }
    });
  }
  const int system = errno;
  const lxw_error closed = workbook_close(book);
  if (error != LXW_NO_ERROR) return TStatus(LibraryFailure(error, system));
  if (closed != LXW_NO_ERROR)
    return TStatus(LibraryFailure(closed, errno), lxw_strerror(closed));
  return file.Commit();
}
