#pragma once
// TDualListDlg: "Choix des champs", two lists and four buttons to move field
// names between them. "Champs disponibles" keeps its names sorted (without
// regard to the case of a to z); "Champs sélectionnés" keeps them in the order
// they arrive. Both lists allow several selected names.
//
// ">" and "<" move the selected names from the bottom one up, so that several
// moved at once arrive in reverse order; ">>" and "<<" move every name in list
// order. A move selects the name now at the first moved one's place (or the
// last one) in the list left. ">" and ">>" are enabled while the left list has
// names, "<" and "<<" while the right one has.
//
// Init fills the left list; Result gives the right list's names, in order,
// when "OK" closed the dialog, and nothing otherwise.

#include <QDialog>
#include <QStringList>
#include <optional>

class QLabel;
class QListWidget;
class QPushButton;

class TDualListDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TDualListDlg(QWidget* parent = nullptr);

  void Init(const QStringList& list);
  std::optional<QStringList> Result() const;

  void IncludeBtnClick();  // ">"
  void ExcludeBtnClick();  // "<"
  void IncAllBtnClick();   // ">>"
  void ExcAllBtnClick();   // "<<"

  QLabel* SrcLabel = nullptr;         // "Champs disponibles"
  QLabel* DstLabel = nullptr;         // "Champs sélectionnés"
  QListWidget* SrcList = nullptr;     // the names not chosen, sorted
  QListWidget* DstList = nullptr;     // the names chosen, in order
  QPushButton* IncludeBtn = nullptr;  // ">"
  QPushButton* IncAllBtn = nullptr;   // ">>"
  QPushButton* ExcludeBtn = nullptr;  // "<"
  QPushButton* ExAllBtn = nullptr;    // "<<"
  QPushButton* OKBtn = nullptr;       // "OK"
  QPushButton* CancelBtn = nullptr;   // "Annuler"

 private:
  void AddItem(QListWidget* list, const QString& name);  // sorted into SrcList
  void MoveSelected(QListWidget* from, QListWidget* to);
  void MoveAll(QListWidget* from, QListWidget* to);
  void SetItem(QListWidget* list, int index);
  void SetButtons();
  static int GetFirstSelection(const QListWidget* list);
};
