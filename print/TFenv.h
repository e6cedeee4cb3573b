#pragma once
// TFenv: the "Enveloppes" dialog. The user types the sender's four lines
// (Edit5-Edit8, group "Expéditeur") and makes each of the four recipient lines
// (Edit1-Edit4, group "Destinataire") from field names, which a double click in
// the list of fields (ListBox1) inserts into the recipient line left last, at
// its caret, over its selected text; the selection stays visible while the
// line has not the focus. Lines take at most 35 characters as typed; a sender
// line given longer by SetExp is kept whole.
//
// SetExp and Init fill the dialog; on showing, each empty recipient line k gets
// the k-th field name. "OK" confirms, "Annuler" (also Escape and closing)
// does not; GetExp gives the sender lines in both cases, Result the recipient
// lines only when confirmed. "Aperçu" calls the preview handler with the lines
// as they stand and leaves the dialog open. Built so that a test can fill it
// and press its buttons without a modal loop.

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class TFenv : public QDialog {
  Q_OBJECT

 public:
  using TLines = std::array<QString, 4>;
  using TPreviewHandler = std::function<void(const TLines& recipients, const TLines& senders)>;

  explicit TFenv(QWidget* parent = nullptr);

  void SetExp(const TLines& senders);
  void Init(const QStringList& fieldNames);
  TLines GetExp() const;
  // The recipient lines when confirmed, nothing otherwise.
  std::optional<TLines> Result() const;
  void SetPreviewHandler(TPreviewHandler handler) { preview_ = std::move(handler); }

  void EditExit(int line);  // recipient line 1-4 lost the focus
  void ListBox1DblClick();  // inserts the current field name
  void Button1Click();      // "Annuler"
  void Button2Click();      // "OK"
  void PreviewClick();      // "Aperçu"

  QGroupBox* GroupBox1 = nullptr;          // "Destinataire"
  QGroupBox* GroupBox2 = nullptr;          // "Expéditeur"
  std::array<QLineEdit*, 4> Recipients{};  // Edit1-Edit4
  std::array<QLineEdit*, 4> Senders{};     // Edit5-Edit8
  QListWidget* ListBox1 = nullptr;
  QPushButton* Button1 = nullptr;  // "Annuler"
  QPushButton* Button2 = nullptr;  // "OK"
  QPushButton* PreviewButton = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TLines Lines(const std::array<QLineEdit*, 4>& edits) const;

  QStringList fieldNames_;
  int insertLine_ = 0;  // the recipient line left last, 0 before any
  TPreviewHandler preview_;
};
