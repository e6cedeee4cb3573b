#pragma once
// TInputBox: the input box of the services (IServices::InputBox): a prompt
// above a line of text, then "Annuler" (also Escape) and "OK" (also Enter in
// the line), the plain buttons of every dialog of the program (TDialogParts).
// Init fills it; Result gives the text confirmed with "OK", nothing otherwise.
// Built in code, so that a test can fill it and press its buttons.

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

class TInputBox : public QDialog {
  Q_OBJECT

 public:
  explicit TInputBox(QWidget* parent = nullptr);

  void Init(const QString& caption, const QString& prompt, const QString& text);
  std::optional<QString> Result() const;

  QLabel* PromptLabel;        // the prompt
  QLineEdit* AnswerEdit;      // the answer
  QPushButton* OkButton;      // "OK"
  QPushButton* CancelButton;  // "Annuler"
};
