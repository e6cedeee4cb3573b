#include "TInfos.h"

#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "TDialogParts.h"

TInfos::TInfos(QWidget* parent) : QDialog(parent) {
  TDialogParts::SetTitle(this, QStringLiteral("Propriétés de la table"));

  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  FileLabel = new QLabel(panel);
  FileLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  FileLabel->setTextFormat(Qt::PlainText);
  Button1 = new QPushButton(QStringLiteral("Fermer"), panel);
  auto* top = new QHBoxLayout(panel);
  top->addWidget(FileLabel, 1);
  top->addWidget(Button1);

  ListView1 = TDialogParts::FieldList(this, 156, 90);

  Label1 = new QLabel(this);
  Label2 = new QLabel(this);
  Label3 = new QLabel(this);
  Label4 = new QLabel(QStringLiteral("Pas de doublons"), this);
  auto* labels = new QVBoxLayout;
  for (QLabel* label : {Label1, Label2, Label3, Label4}) {
    label->setTextFormat(Qt::PlainText);
    labels->addWidget(label);
  }
  labels->addStretch(1);

  auto* body = new QHBoxLayout;
  body->addWidget(ListView1, 1);
  body->addLayout(labels);
  QVBoxLayout* layout = TDialogParts::FixedLayout(this);
  layout->addWidget(panel);
  layout->addLayout(body, 1);

  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TInfos::Init(const QString& fileName, const QStringList& fields, bool duplicates,
                  int recordCount, int fieldCount) {
  FileLabel->setText(fileName);
  ListView1->clear();
  for (const QString& line : fields) {
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    new QTreeWidgetItem(ListView1,
                        {tab < 0 ? line : line.left(tab), tab < 0 ? QString() : line.mid(tab + 1)});
  }
  Label1->setText(QStringLiteral("Nbr champs : ") + QString::number(fieldCount));
  Label2->setText(QStringLiteral("Nbr lignes : ") + QString::number(recordCount));
  // A table never saved has no file: nothing on disk, so 0.
  const QFileInfo info(fileName);
  const qint64 bytes = !fileName.isEmpty() && info.isFile() ? info.size() : 0;
  Label3->setText(QStringLiteral("Taille : ") + QString::number(bytes / 1024) +
                  QStringLiteral(" Ko"));
  Label4->setText(duplicates ? QStringLiteral("Il y a des doublons")
                             : QStringLiteral("Pas de doublons"));
}
