#pragma once
// TCalendrier: the "Calendrier" window. A month grid (weeks from Sunday, French
// day names) holds a date, today's date of Services().Now() at the start; above
// it, the month's French name, two blanks and the year ("janvier  1999"). The
// two "Mois" buttons, or Page Up and Page Down, go to the previous and the next
// month, keeping the day of the month or the month's last day when it is
// shorter. Escape and "Fermer" close.

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QLabel;
class QPushButton;

class TCalendrier : public QDialog {
  Q_OBJECT

 public:
  explicit TCalendrier(QWidget* parent = nullptr);

  QDate Date() const;
  void SetDate(const QDate& date);
  void BitBtn1Click();  // previous month
  void BitBtn2Click();  // next month
  // The heading of a date: "octobre  1998".
  static QString Heading(const QDate& date);

  QCalendarWidget* Calendar1 = nullptr;  // the month's days, the date held highlighted
  QLabel* Label1 = nullptr;              // the month and the year
  QPushButton* BitBtn1 = nullptr;        // "Mois", arrow left: the month before
  QPushButton* BitBtn2 = nullptr;        // "Mois", arrow right: the month after
  QPushButton* Button1 = nullptr;        // "Fermer"

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool PageKey(int key);
  void Calendar1Change();
};
