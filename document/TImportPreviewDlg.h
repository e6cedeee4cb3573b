#pragma once
// TImportPreviewDlg: what "Importer" will do with a text file, shown before it
// does it: the first 20 records as they will be appended, under the table's
// field names, with the separator, the encoding and the header line the
// reader found. Each can be changed, and the preview follows at once. It
// reads the start of the file only (PreviewTextImport: a megabyte at most),
// whatever the file's size.
//
// Init reads the file; a file that cannot be read, or is no text, gives its
// status, for the caller to report instead of showing the dialog. "Importer"
// confirms and closes, "Annuler" or Escape closes without an answer. Result
// gives the choices for AppendTextFile: a choice the user left as found stays
// to be detected (0 or Auto), so that the import settles it as the preview
// did. Built in code so that a test can fill it, change its choices and press
// its buttons without exec().

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "TStatus.h"
#include "TextTable.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TStringGrid;

class TImportPreviewDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kRecords = 20;

  explicit TImportPreviewDlg(QWidget* parent = nullptr);

  // `fieldNames`: the table's fields, Windows-1252.
  TStatus Init(const QString& path, const std::vector<std::string>& fieldNames);
  // The choices when confirmed, nothing otherwise.
  std::optional<TTextOptions> Result() const;
  const TTextPreview& Preview() const { return preview_; }

  void SeparatorBoxChange();
  void EncodingBoxChange();
  void HeaderBoxClick();
  void Button1Click();  // "Annuler"
  void Button2Click();  // "Importer"

  QLabel* FileLabel = nullptr;        // "Fichier : " and the file's name
  QLabel* SeparatorLabel = nullptr;   // "Séparateur"
  QComboBox* SeparatorBox = nullptr;  // the separator found, or chosen
  QLabel* EncodingLabel = nullptr;    // "Encodage"
  QComboBox* EncodingBox = nullptr;   // the encoding found, or chosen
  QCheckBox* HeaderBox = nullptr;     // the first line names the columns
  TStringGrid* Grid = nullptr;        // the first records as they will be appended
  QLabel* Notes = nullptr;            // what the import will drop or keep, in words
  QPushButton* Button1 = nullptr;     // "Annuler"
  QPushButton* Button2 = nullptr;     // "Importer"

 private:
  // Reads the preview with the choices made, then shows it and what was found.
  TStatus Refresh();
  void ShowChoices();
  void FillGrid();
  QString NotesText() const;
  TTextOptions Choices() const;

  std::string path_;
  std::vector<std::string> fieldNames_;
  TTextPreview preview_;
  bool separatorChosen_ = false;
  bool encodingChosen_ = false;
  bool headerChosen_ = false;
};
