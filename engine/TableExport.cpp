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

bool ExportTable(TQor2& table, const std::string& path, TExportFormat format) {
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

std::string SelectionText(TQor2& table, TExportFormat format, const std::string& field,
                          const std::string& op, const std::string& value) {
  std::string out;
  const bool xml = format == TExportFormat::Xml;
  const char separator = format == TExportFormat::Csv ? ';' : '\t';
  if (xml) TXmlWriter::Begin(out);
  table.First();
  table.BeginSearch(true);
  while (table.FindNext(field, op, value)) {
    const int recNo = table.RecNo();
    if (xml) {
      TXmlWriter::AppendRecord(out, table, recNo);
      continue;
    }
    const TKStringList& record = *table.RecordList().Get(recNo - 1);
    for (int i = 0; i < record.Count(); ++i) {
      if (i) out += separator;
      out += record.Get(i);
    }
    out += "\r\n";
  }
  table.EndSearch();
  if (xml) TXmlWriter::End(out);
  return out;
}

bool ExportSelection(TQor2& table, const std::string& path, TExportFormat format,
                     const std::string& field, const std::string& op, const std::string& value) {
  table.ClearError();
  TFailure failure;
  const int r = WriteFileAtomically(path, SelectionText(table, format, field, op, value), &failure);
  if (r != 0) table.SetError(3, AtomicWriteMessage(r), failure);
  return r == 0;
}
