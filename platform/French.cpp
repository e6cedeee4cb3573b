#include "French.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cmath>
#include <string>

#include "AnsiCodec.h"
#include "TDecimal.h"

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

QString FormatTwoDecimals(double value) {
  if (!std::isfinite(value)) return FormatFloat(value);
  // 15 significant digits, as the value is shown elsewhere: 2.675 is 2.675
  // here, not the 2.67499... that the binary value holds, and rounds up.
  std::string text = TDecimal::LongDoubleText(value, 2, 0, 15);
  // "#.00" has no digit before the comma when the whole part is 0.
  const size_t zero = text[0] == '-' ? 1 : 0;
  if (text.compare(zero, 2, "0,") == 0) text.erase(zero, 1);
  return QString::fromLatin1(text.c_str());
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

QString FailureText(TFailure cause, const std::string& engineMessage) {
  if (cause == TFailure::None) return FromAnsi(engineMessage);
  return QString::fromUtf8(FailureReason(cause));
}

QString FailureText(const TStatus& status) {
  return FailureText(status.Cause() == TFailure::Other ? TFailure::None : status.Cause(),
                     status.Detail());
}

namespace {

QString TranslationsFolder(const QString& folder) {
  return folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
}

}  // namespace

// Qt's French file lacks the kinds of file its file dialog lists ("Folder",
// "txt File"...); these few are said here.
class TFileKinds : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                    int /*n*/) const override {
    if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return QString();
    static const char* const kKinds[][2] = {{"Folder", "Dossier"},     {"File", "Fichier"},
                                            {"%1 File", "Fichier %1"}, {"Drive", "Lecteur"},
                                            {"Shortcut", "Raccourci"}, {"Alias", "Alias"},
                                            {"Unknown", "Inconnu"}};
    for (const auto& kind : kKinds)
      if (qstrcmp(source, kind[0]) == 0) return QString::fromUtf8(kind[1]);
    return QString();
  }
};

bool InstallFrenchTranslations(QCoreApplication& app, const QString& folder) {
  app.installTranslator(new TFileKinds(&app));
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_fr"), TranslationsFolder(folder))) {
    delete translator;
    return false;
  }
  app.installTranslator(translator);
  return true;
}

QString MissingTranslationsMessage(const QString& folder) {
  return QStringLiteral(
             "vekbase : traductions françaises de Qt (qtbase_fr.qm) introuvables "
             "dans '%1' ; les boîtes de dialogue de Qt resteront en anglais. "
             "Elles viennent du paquet qt6-translations-l10n.")
      .arg(TranslationsFolder(folder));
}
