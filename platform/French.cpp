#include "French.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

const QLocale& FrenchLocale() {
  static const QLocale locale = [] {
    QLocale l(QLocale::French, QLocale::France);
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
  }();
  return locale;
}

QString FormatDate(const QDate& date) {
  return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString FormatTime(const QTime& time) {
  return time.toString(QStringLiteral("HH:mm:ss"));
}

QString FormatFloat(double value, int precision) {
  return FrenchLocale().toString(value, 'g', precision);
}

QString MonthName(int month) {
  if (month < 1 || month > 12) return QString();
  return FrenchLocale().standaloneMonthName(month, QLocale::LongFormat);
}

QString DayName(int dayOfWeek) {
  if (dayOfWeek < 1 || dayOfWeek > 7) return QString();
  return FrenchLocale().standaloneDayName(dayOfWeek, QLocale::LongFormat);
}

QString ShortDayName(int dayOfWeek) {
  if (dayOfWeek < 1 || dayOfWeek > 7) return QString();
  return FrenchLocale().standaloneDayName(dayOfWeek, QLocale::ShortFormat);
}

bool InstallFrenchTranslations(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_fr"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  app.installTranslator(translator);
  return true;
}
