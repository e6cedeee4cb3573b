#include "TCalendrier.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextCharFormat>
#include <QVBoxLayout>

#include "French.h"
#include "IServices.h"
#include "TUtilityParts.h"

TCalendrier::TCalendrier(QWidget* parent) : QDialog(parent) {
  TUtilityParts::SetFixedDialog(this, QStringLiteral("Calendrier"));

  auto* panel = new QWidget(this);
  TUtilityParts::Paint(panel, TUtilityParts::Teal);
  Label1 = new QLabel(panel);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setFont(TUtilityParts::Arial(16, true));
  Label1->setMinimumWidth(372);
  TUtilityParts::Paint(Label1, TUtilityParts::Teal, TUtilityParts::Red);

  BitBtn1 = TUtilityParts::Button(panel, QStringLiteral("Mois"), QStringLiteral("BitBtn1"),
                                  QStringLiteral("Mois précédent"));
  BitBtn1->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
  BitBtn1->setAccessibleName(QStringLiteral("Mois précédent"));
  BitBtn2 = TUtilityParts::Button(panel, QStringLiteral("Mois"), QStringLiteral("BitBtn2"),
                                  QStringLiteral("Mois suivant"));
  BitBtn2->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
  BitBtn2->setLayoutDirection(Qt::RightToLeft);  // the arrow after the caption
  BitBtn2->setAccessibleName(QStringLiteral("Mois suivant"));
  Button1 = TUtilityParts::Button(panel, QStringLiteral("Fermer"), QStringLiteral("Button1"));
  for (QPushButton* button : {BitBtn1, BitBtn2, Button1}) button->setAutoDefault(false);
  connect(BitBtn1, &QPushButton::clicked, this, &TCalendrier::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TCalendrier::BitBtn2Click);
  connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

  Calendar1 = new QCalendarWidget(this);
  Calendar1->setObjectName(QStringLiteral("Calendar1"));
  Calendar1->setAccessibleName(QStringLiteral("Calendrier"));
  Calendar1->setLocale(FrenchLocale());
  Calendar1->setFirstDayOfWeek(Qt::Sunday);
  Calendar1->setNavigationBarVisible(false);  // the heading and the "Mois" buttons page
  Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  Calendar1->setHorizontalHeaderFormat(QCalendarWidget::LongDayNames);
  Calendar1->setGridVisible(true);
  Calendar1->setDateEditEnabled(false);  // days are chosen by click or arrow keys
  Calendar1->setMinimumSize(420, 220);
  // Weekends in the same colour as the other days, on the lime ground.
  QTextCharFormat days;
  days.setForeground(Qt::black);
  for (Qt::DayOfWeek d : {Qt::Saturday, Qt::Sunday}) Calendar1->setWeekdayTextFormat(d, days);
  Calendar1->setStyleSheet(
      QStringLiteral("QCalendarWidget QAbstractItemView { background-color: #00FF00; }"));
  // Page Up and Page Down page through months here as on the buttons.
  Calendar1->installEventFilter(this);
  for (QWidget* child : Calendar1->findChildren<QWidget*>()) child->installEventFilter(this);
  connect(Calendar1, &QCalendarWidget::selectionChanged, this, &TCalendrier::Calendar1Change);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BitBtn1);
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  buttons->addStretch(1);
  buttons->addWidget(BitBtn2);
  auto* panelLayout = new QVBoxLayout(panel);
  panelLayout->addWidget(Label1);
  panelLayout->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(panel);
  layout->addWidget(Calendar1);

  SetDate(Services().Now().date());
  Calendar1->setFocus();
}

QString TCalendrier::Heading(const QDate& date) {
  return MonthName(date.month()) + QStringLiteral("  ") + QString::number(date.year());
}

QDate TCalendrier::Date() const {
  return Calendar1->selectedDate();
}

void TCalendrier::SetDate(const QDate& date) {
  Calendar1->setSelectedDate(date);
  Calendar1->setCurrentPage(date.year(), date.month());
  Calendar1Change();
}

void TCalendrier::Calendar1Change() {
  const QDate date = Date();
  // A click on a day of the next or previous month shows that month.
  if (Calendar1->monthShown() != date.month() || Calendar1->yearShown() != date.year())
    Calendar1->setCurrentPage(date.year(), date.month());
  Label1->setText(Heading(date));
}

void TCalendrier::BitBtn1Click() {
  SetDate(Date().addMonths(-1));
}

void TCalendrier::BitBtn2Click() {
  SetDate(Date().addMonths(1));
}

bool TCalendrier::PageKey(int key) {
  if (key == Qt::Key_PageUp)
    BitBtn1Click();
  else if (key == Qt::Key_PageDown)
    BitBtn2Click();
  else
    return false;
  return true;
}

bool TCalendrier::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && PageKey(static_cast<QKeyEvent*>(event)->key()))
    return true;
  return QDialog::eventFilter(watched, event);
}

void TCalendrier::keyPressEvent(QKeyEvent* event) {
  if (!PageKey(event->key())) QDialog::keyPressEvent(event);
}
