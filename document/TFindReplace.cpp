#include "TFindReplace.h"

#include <optional>

#include "AnsiCodec.h"
#include "IDocumentView.h"
#include "IServices.h"
#include "TDocument.h"
#include "TFindDlg.h"
#include "THourglass.h"
#include "TReplaceDlg.h"

namespace {

QStringList FieldNames(const TDocument& doc) {
  QStringList names;
  for (const std::string& name : doc.FieldNames()) names << FromAnsi(name);
  return names;
}

}  // namespace

void TFindReplace::SetFieldUnderCursor() {
  const TView view = view_.GetOnglet();
  if (view == TView::Table || view == TView::Column)
    doc_.Find().Search.Field = doc_.Table().GetFieldName(view_.FieldUnderCursor());
}

bool TFindReplace::FindStep(bool fromFirst) {
  if (view_.GetOnglet() == TView::None) return false;
  view_.EcritOnglet();
  if (view_.GetOnglet() == TView::Table)
    return view_.FindRow(fromFirst, [this](int recNo) { return doc_.MatchesSearch(recNo); });
  if (!doc_.FindFrom(fromFirst ? 1 : doc_.Table().RecNo() + 1)) return false;
  view_.LitOnglet();
  return true;
}

void TFindReplace::Rechercher() {
  const QStringList names = FieldNames(doc_);
  TFindState& find = doc_.Find();
  SetFieldUnderCursor();
  std::optional<TFindDlg::TAnswer> answer;
  {
    TFindDlg dialog;
    dialog.Init(FromAnsi(find.Search.Value), FromAnsi(find.Search.Field), names, find.WholeWord);
    Services().RunDialog(dialog);
    answer = dialog.Result();
  }
  if (!answer) return;
  find.Search.Field = ToAnsi(answer->field);
  find.WholeWord = answer->wholeWord;
  if (answer->text.isEmpty()) return;
  doc_.StartFind(ToAnsi(answer->text), false);
  FindStep(true);
}

void TFindReplace::Continuer() {
  if (doc_.Find().Replacing)
    Continuer2();
  else
    FindStep(false);
}

void TFindReplace::Remplacer() {
  const QStringList names = FieldNames(doc_);
  TFindState& find = doc_.Find();
  SetFieldUnderCursor();
  std::optional<TReplaceDlg::TAnswer> answer;
  {
    TReplaceDlg dialog;
    dialog.Init(FromAnsi(find.Search.Value), FromAnsi(find.ReplaceValue), names,
                find.ReplaceAllOption, find.WholeWord, FromAnsi(find.Search.Field));
    Services().RunDialog(dialog);
    answer = dialog.Result();
  }
  if (!answer) return;
  find.ReplaceValue = ToAnsi(answer->replacement);
  find.ReplaceAllOption = answer->replaceAll;
  find.WholeWord = answer->wholeWord;
  find.Search.Field = ToAnsi(answer->field);
  if (answer->text.isEmpty()) return;
  doc_.StartFind(ToAnsi(answer->text), true);
  if (find.ReplaceAllOption) {
    // What was typed must not be lost under the replaced values.
    view_.EcritOnglet();
    ReplaceAll();
  } else if (FindStep(true)) {
    Replace();
  }
}

void TFindReplace::Continuer2() {
  if (FindStep(false)) Replace();
}

void TFindReplace::Replace() {
  if (Services().ConfirmCancel(QStringLiteral("Remplacer ?")) != TAnswer::Yes) return;
  doc_.ReplaceCurrent();
  if (view_.GetOnglet() == TView::Table)
    view_.LitEnr(view_.RecNo());
  else
    view_.LitOnglet();
}

void TFindReplace::ReplaceAll() {
  THourglass hourglass;
  doc_.ReplaceAll();
  view_.LitOnglet();
}
