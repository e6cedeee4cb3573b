#include "TQbe.h"

#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "AnsiCodec.h"
#include "IServices.h"
#include "TDualListDlg.h"
#include "THourglass.h"
#include "TQbeQuery.h"
#include "TQueryToolBar.h"
#include "TResultFile.h"
#include "TResultGrid.h"

TQbe::TQbe(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Interrogation QBE"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  resize(640, 440);

  Panel1 = new TQueryToolBar(this);
  SaveBtn = Panel1->AddButton("SaveBtn", TToolPicture::Save, QStringLiteral("Enregistrer"));
  SpeedButton11 =
      Panel1->AddButton("SpeedButton11", TToolPicture::Print, QStringLiteral("Imprimer"));
  Panel1->AddSeparator();
  SpeedButton1 = Panel1->AddButton("SpeedButton1", TToolPicture::ChooseFields,
                                   QStringLiteral("Sélectionner champs"));
  SpeedButton2 =
      Panel1->AddButton("SpeedButton2", TToolPicture::RunQuery, QStringLiteral("Exécuter requête"));
  Button1 = Panel1->AddClose();

  StringGrid2 = new TStringGrid(this);
  StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
  StringGrid2->setAccessibleName(QStringLiteral("Critères"));
  StringGrid2->SetFixedCols(0);
  StringGrid2->SetFixedRows(1);
  StringGrid2->SetSize(1, 2);
  StringGrid2->SetDefaultColWidth(128);
  StringGrid2->SetRowHeight(20);
  StringGrid2->SetEditable(true);
  // The header and the row of conditions, with room for a scroll bar.
  StringGrid2->setFixedHeight(2 * 20 + 2 * StringGrid2->frameWidth() + 20);
  StringGrid1 = new TResultGrid(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(Panel1);
  layout->addWidget(StringGrid2);
  layout->addWidget(StringGrid1, 1);

  connect(Button1, &QPushButton::clicked, this, &TQbe::Button1Click);
  connect(SaveBtn, &QToolButton::clicked, this, &TQbe::SaveBtnClick);
  connect(SpeedButton11, &QToolButton::clicked, this, &TQbe::SpeedButton11Click);
  connect(SpeedButton1, &QToolButton::clicked, this, &TQbe::SpeedButton1Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &TQbe::SpeedButton2Click);
}

TQbe::~TQbe() {
  // The result grid reads the tables below: it goes before them.
  delete StringGrid1;
}

void TQbe::Init(const TQor2& table) {
  sourceCopy_.Assign(table);
  Remplit();
}

void TQbe::Remplit() {
  StringGrid1->Remplit(resultTable_);
}

void TQbe::Button1Click() {
  reject();
}

void TQbe::SaveBtnClick() {
  TResultFile::Save({TResultFile::kTxt, TResultFile::kCsv, TResultFile::kXls, TResultFile::kXlsx},
                    resultTable_, QString());
}

void TQbe::SpeedButton11Click() {
  StringGrid1->Imprimer();
}

void TQbe::SpeedButton1Click() {
  QStringList names;
  for (int i = 1; i <= sourceCopy_.FieldCount(); ++i)
    names << FromAnsi(sourceCopy_.GetFieldName(i));
  {
    TDualListDlg dialog(this);
    dialog.Init(names);
    Services().RunDialog(dialog);
    names = dialog.Result().value_or(QStringList());
  }
  if (names.isEmpty()) return;
  // One column per chosen field; the conditions typed stay where they were.
  StringGrid2->SetColCount(static_cast<int>(names.size()));
  for (int c = 0; c < names.size(); ++c) StringGrid2->SetCell(c, 0, names[c]);
}

void TQbe::SpeedButton2Click() {
  std::vector<TQbeQuery::TCriterion> criteria;
  for (int c = 0; c < StringGrid2->ColCount(); ++c)
    criteria.push_back({StringGrid2->CellAnsi(c, 0), StringGrid2->CellAnsi(c, 1)});
  THourglass hourglass;
  TQbeQuery::Run(sourceCopy_, criteria, resultTable_);
  Remplit();
}
