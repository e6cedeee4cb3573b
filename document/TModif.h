#pragma once
// TModif: the "Modifier structure" dialog, which edits the list of a table's
// fields. Init takes one line per field, NAME tab TYPE. The user fills the name
// box (letters and digits only, TNameEdit) and the type box and presses the
// small "OK" (SpeedButton1, also Enter in the type box): with no entry selected
// that appends an entry, with one selected it replaces that entry's name and
// type. Clicking an entry copies it into the boxes; "Supprimer" (also Delete in
// the list) removes the selected entry. "OK" confirms and closes, "Annuler" or
// Escape closes without an answer.
//
// Result() gives one line per entry in list order, NAME blank TYPE, when "OK"
// closed the dialog, and nothing otherwise. Entries() gives the same entries
// with name and type apart
// (a name read from a file may hold a blank) and with the field each came from:
// its line number in Init, from 1, or 0 for an entry added here. A renamed
// entry keeps its origin, so that the field can keep its values. Built in code
// so that a test can fill it and press its buttons.

#include <QDialog>
#include <QStringList>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;
class QTreeWidget;
class TNameEdit;

class TModif : public QDialog {
  Q_OBJECT

 public:
  explicit TModif(QWidget* parent = nullptr);

  struct TEntry {
    QString name;
    QString type;
    int origin = 0;
  };

  void Init(const QStringList& fields);
  std::optional<QStringList> Result() const;
  std::optional<std::vector<TEntry>> Entries() const;

  void Button1Click();       // "Annuler"
  void Button2Click();       // "OK"
  void Button3Click();       // "Supprimer"
  void SpeedButton1Click();  // the small "OK" beside the boxes
  void ListView1Click();

  QLabel* Label1 = nullptr;             // "Nom"
  QLabel* Label2 = nullptr;             // "Type"
  TNameEdit* Edit1 = nullptr;           // the name of the entry being made
  QComboBox* ComboBox1 = nullptr;       // its type
  QToolButton* SpeedButton1 = nullptr;  // the small "OK": the boxes into the list
  QTreeWidget* ListView1 = nullptr;     // the fields, "Nom" and "Type"
  QPushButton* Button1 = nullptr;       // "Annuler"
  QPushButton* Button2 = nullptr;       // "OK"
  QPushButton* Button3 = nullptr;       // "Supprimer" the selected entry

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddEntry(const QString& name, const QString& type, int origin);
};
