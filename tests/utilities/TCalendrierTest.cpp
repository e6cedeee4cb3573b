// The calendar starts on the fake clock's day and pages by months.

#include <QCalendarWidget>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "TCalendrier.h"
#include "UtilityTest.h"

namespace {

class CalendrierTest : public UtilityTest {};

TEST_F(CalendrierTest, StartsOnTodayWithTheFrenchMonthAndYear) {
  services.SetNow(QDateTime(QDate(1998, 10, 20), QTime(18, 23)));
  TCalendrier calendar;
  EXPECT_EQ(calendar.windowTitle(), "Calendrier");
  EXPECT_EQ(calendar.Date(), QDate(1998, 10, 20));
  EXPECT_EQ(calendar.Label1->text(), "octobre  1998");
  EXPECT_EQ(calendar.Calendar1->firstDayOfWeek(), Qt::Sunday);
  // Choosing another day in the grid keeps the heading right.
  calendar.Calendar1->setSelectedDate(QDate(1998, 11, 2));
  EXPECT_EQ(calendar.Label1->text(), "novembre  1998");
}

TEST_F(CalendrierTest, NextMonthKeepsTheDayOrTakesTheMonthsLast) {
  TCalendrier calendar;
  calendar.SetDate(QDate(2024, 1, 31));
  QTest::mouseClick(calendar.BitBtn2, Qt::LeftButton);
  EXPECT_EQ(calendar.Date(), QDate(2024, 2, 29));
  EXPECT_EQ(calendar.Label1->text(), "février  2024");
  calendar.SetDate(QDate(2023, 1, 31));
  QTest::mouseClick(calendar.BitBtn2, Qt::LeftButton);
  EXPECT_EQ(calendar.Date(), QDate(2023, 2, 28));
  QTest::mouseClick(calendar.BitBtn1, Qt::LeftButton);
  EXPECT_EQ(calendar.Date(), QDate(2023, 1, 28));
}

TEST_F(CalendrierTest, PageKeysTurnTheMonthAcrossTheYear) {
  TCalendrier calendar;
  calendar.SetDate(QDate(1998, 12, 15));
  // From the grid itself, where the focus is.
  QWidget* grid =
      calendar.Calendar1->focusProxy() ? calendar.Calendar1->focusProxy() : calendar.Calendar1;
  QTest::keyClick(grid, Qt::Key_PageDown);
  EXPECT_EQ(calendar.Date(), QDate(1999, 1, 15));
  EXPECT_EQ(calendar.Label1->text(), "janvier  1999");
  QTest::keyClick(calendar.Button1, Qt::Key_PageUp);
  EXPECT_EQ(calendar.Label1->text(), "décembre  1998");
}

}  // namespace
