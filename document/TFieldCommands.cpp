#include "TFieldCommands.h"

#include <optional>

#include "AnsiCodec.h"
#include "FileNames.h"
#include "IDocumentView.h"
#include "IServices.h"
#include "TDocument.h"
#include "THourglass.h"
#include "TInfos.h"
#include "TModif.h"
#include "TRenum.h"

QStringList TFieldCommands::FieldList(const TDocument& doc, char separator) {
  QStringList lines;
  for (const std::string& line : doc.FieldList(separator)) lines << FromAnsi(line);
  return lines;
}

void TFieldCommands::Rebuilt() {
  view_.InitGrilles();
  view_.LitOnglet();
}

void TFieldCommands::AjoutChamp(int number) {
  view_.EcritOnglet();
  doc_.Memorise();
  const TView view = view_.GetOnglet();
  if (view == TView::Form) doc_.SetModified(true);
  if (view != TView::Table && view != TView::Column) return;
  const std::optional<QString> answer =
      Services().InputBox(QStringLiteral("Ajouter un champ"), QStringLiteral("Nom du champ"),
                          QStringLiteral("Champ") + QString::number(number));
  // Cancelled (no answer) or emptied: no field.
  if (!answer || answer->isEmpty()) return;
  doc_.AddField(ToAnsi(*answer));
  Rebuilt();
}

void TFieldCommands::SupChamp() {
  if (!Services().Confirm(QStringLiteral("Supprimer le champ courant ?"))) return;
  view_.EcritOnglet();
  doc_.DeleteField(view_.FieldUnderCursor());
  if (view_.GetOnglet() == TView::Table || view_.GetOnglet() == TView::Column) Rebuilt();
}

void TFieldCommands::Renommer() {
  view_.EcritOnglet();
  const int k = view_.FieldUnderCursor();
  std::optional<TRenum::TAnswer> answer;
  {
    TRenum dialog;
    dialog.Init(FromAnsi(doc_.Table().GetFieldName(k)), FromAnsi(doc_.Table().GetFieldType(k)));
    Services().RunDialog(dialog);
    answer = dialog.Result();
  }
  if (!answer || answer->name.isEmpty()) return;
  if (doc_.RenameField(k, ToAnsi(answer->name), ToAnsi(answer->type))) Rebuilt();
}

void TFieldCommands::Proprietes() {
  const TQor2& table = doc_.Table();
  bool duplicates;
  {
    THourglass hourglass;
    duplicates = table.HasDuplicates();
  }
  TInfos dialog;
  dialog.Init(FromEnginePath(doc_.FileName()), FieldList(doc_, '\t'), duplicates,
              table.RecordCount(), table.FieldCount());
  Services().RunDialog(dialog);
}

void TFieldCommands::ModiStru() {
  // What was typed belongs to the table being rebuilt.
  view_.EcritOnglet();
  std::optional<std::vector<TModif::TEntry>> entries;
  {
    TModif dialog;
    dialog.Init(FieldList(doc_, '\t'));
    Services().RunDialog(dialog);
    entries = dialog.Entries();
  }
  if (!entries || entries->empty()) return;
  THourglass hourglass;
  std::vector<TFieldSource> structure;
  for (const TModif::TEntry& entry : *entries)
    structure.push_back({ToAnsi(entry.name), ToAnsi(entry.type), entry.origin});
  doc_.Restructure(structure);
  Rebuilt();
}
