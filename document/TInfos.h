#pragma once
// TInfos: the "Propriétés de la table" dialog. Init shows the table's file name,
// its fields (one line NAME tab TYPE each), whether it holds duplicate records,
// and its record and field counts. The size is that of the file on disk as last
// saved, in whole kilobytes; a table without a file (never saved, or its file
// gone) shows "Taille : 0 Ko". "Fermer" closes it; it gives no answer.

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;
class QTreeWidget;

class TInfos : public QDialog {
  Q_OBJECT

 public:
  explicit TInfos(QWidget* parent = nullptr);

  void Init(const QString& fileName, const QStringList& fields, bool duplicates, int recordCount,
            int fieldCount);

  QLabel* FileLabel = nullptr;       // the table file, full path, in the top panel
  QPushButton* Button1 = nullptr;    // "Fermer"
  QTreeWidget* ListView1 = nullptr;  // the fields: "Nom" and "Type"
  QLabel* Label1 = nullptr;          // field count
  QLabel* Label2 = nullptr;          // record count
  QLabel* Label3 = nullptr;          // size
  QLabel* Label4 = nullptr;          // duplicates
};
