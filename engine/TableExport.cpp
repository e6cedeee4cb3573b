#include "TableExport.h"

#include "TAtomicFile.h"
#include "TQor2.h"
#include "TXmlWriter.h"

bool ExportFormatOf(const std::string& path, TExportFormat& format) {
  // FileKind is the last three characters: the dot before them makes the ending.
  if (path.size() < 4 || path[path.size() - 4] != '.') return false;
  const std::string kind = TQor2::FileKind(path);
  const bool known = kind == "CSV" || kind == "TXT" || kind == "XML";
  if (known)
    format = kind == "CSV"   ? TExportFormat::Csv
             : kind == "TXT" ? TExportFormat::Txt
                             : TExportFormat::Xml;
  return known;
}

TStatus ExportTable(TQor2& table, const std::string& path, TExportFormat format) {
  switch (format) {
    case TExportFormat::Csv:
      return table.SaveCsvFile(path);
    case TExportFormat::Txt:
      return table.SaveTxtFile(path);
    case TExportFormat::Xml:
      break;
  }
  return SaveXmlFile(table, path);
}

TStatus ExportSelection(TQor2& table, const std::string& path, TExportFormat format,
                        const std::string& field, const std::string& op, const std::string& value) {
  table.ClearError();
  const bool xml = format == TExportFormat::Xml;
  const char separator = format == TExportFormat::Csv ? ';' : '\t';
  TStatus written;
  try {
    written = WriteFileInPieces(path, [&](std::string& out, auto flush) {
      if (xml) TXmlWriter::Begin(out);
      table.First();
      table.BeginSearch(true);
      while (table.FindNext(field, op, value)) {
        const int recNo = table.RecNo();
        if (xml) {
          TXmlWriter::AppendRecord(out, table, recNo);
        } else {
          const TKStringList& record = *table.RecordList().Get(recNo - 1);
          for (int i = 0; i < record.Count(); ++i) {
            if (i) out += separator;
            out += record.Get(i);
          }
          out += "\r\n";
        }
        flush();
      }
      table.EndSearch();
      if (xml) TXmlWriter::End(out);
    });
  } catch (const std::bad_alloc&) {
    written = TStatus(TFailure::OutOfMemory, "7-Out of memory");
  }
  return written ? written : table.SetError(3, written);
}
