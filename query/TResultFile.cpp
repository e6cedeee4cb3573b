#include "TResultFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <optional>

#include "AnsiCodec.h"
#include "FileNames.h"
#include "ForeignTable.h"
#include "French.h"
#include "IServices.h"
#include "TAtomicFile.h"
#include "THourglass.h"
#include "TQor2.h"
#include "TXlsWriter.h"

namespace {

struct TKindInfo {
  const char* label;
  const char* pattern;
  const char* extension;
};

const TKindInfo kKinds[] = {
    {"Requête SQL (*.sql)", "*.sql", ".sql"},
    {"Résultat en texte+tab (*.txt)", "*.txt", ".txt"},
    {"Résultat en csv (*.csv)", "*.csv", ".csv"},
    {"Résultat en xls", "*.xls", ".xls"},
    {"Classeur Excel (*.xlsx)", "*.xlsx", ".xlsx"},
};

std::string StatementBytes(const QString& statement) {
  std::string bytes;
  for (const QString& line : statement.split(QLatin1Char('\n'))) bytes += ToAnsi(line) + "\r\n";
  return bytes;
}

}  // namespace

bool TResultFile::Save(const std::vector<Kind>& kinds, TQor2& result, const QString& statement) {
  TFileDialogRequest request;
  request.kind = TFileDialogKind::Save;
  for (const Kind k : kinds)
    request.filters.push_back(
        {QString::fromUtf8(kKinds[k].label), QString::fromLatin1(kKinds[k].pattern)});
  const std::optional<TFileChoice> choice = Services().FileDialog(request);
  if (!choice) return false;
  const int index =
      choice->filterIndex >= 1 && choice->filterIndex <= static_cast<int>(kinds.size())
          ? choice->filterIndex
          : 1;
  const Kind kind = kinds[static_cast<size_t>(index) - 1];
  const QString name = WithoutExtension(choice->path) + QLatin1String(kKinds[kind].extension);
  if (QFileInfo::exists(name) &&
      !Services().Confirm(QStringLiteral("Ce fichier existe déjà. Le remplacer ?")))
    return false;

  const std::string path = QFile::encodeName(name).toStdString();
  TStatus written;
  {
    THourglass hourglass;
    switch (kind) {
      case kStatement:
        written = WriteFileAtomically(path, StatementBytes(statement));
        break;
      case kTxt:
        written = result.SaveTxtFile(path);
        break;
      case kCsv:
        written = result.SaveCsvFile(path);
        break;
      case kXls:
        written = SaveXlsFile(result, path);
        break;
      case kXlsx:
        written = WriteForeignTable(result, path);
        break;
    }
  }
  if (written) return true;
  Services().Warning(
      FailureMessage(QStringLiteral("enregistrer '") + name + QLatin1Char('\''), written));
  return false;
}
