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
  return QString::fromUtf8(StatusReason(status));
}

QString FailureMessage(const QString& action, const TStatus& status) {
  QString sentence = QString::fromUtf8(FailureSentence(action.toStdString(), status));
  if (!sentence.isEmpty()) sentence[0] = sentence[0].toUpper();
  return sentence;
}

QString ConditionRefusal(const QString& action, const TStatus& status, const QString& operators) {
  QString text = FailureMessage(action, status);
  if (status.Cause() == TFailure::NoOperator || status.Cause() == TFailure::UnknownOperator)
    text += QStringLiteral(" ; opérateurs acceptés : ") + operators;
  return text;
}

namespace {

QString TranslationsFolder(const QString& folder) {
  return folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
}

}  // namespace

// What Qt's French file lacks: the kinds of file its file dialog lists
// ("Folder", "txt File"...) and the texts of the printer properties dialog
// that the print dialog opens ("Printer Properties", "Advanced"...).
class TMissingTexts : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                    int /*n*/) const override {
    static const char* const kTexts[][3] = {
        {"QAbstractFileIconProvider", "Folder", "Dossier"},
        {"QAbstractFileIconProvider", "File", "Fichier"},
        {"QAbstractFileIconProvider", "%1 File", "Fichier %1"},
        {"QAbstractFileIconProvider", "Drive", "Lecteur"},
        {"QAbstractFileIconProvider", "Shortcut", "Raccourci"},
        {"QAbstractFileIconProvider", "Alias", "Alias"},
        {"QAbstractFileIconProvider", "Unknown", "Inconnu"},
        {"QPrintPropertiesDialog", "Printer Properties", "Propriétés de l'imprimante"},
        {"QPrintPropertiesDialog", "Page Setup Conflicts", "Conflits de mise en page"},
        {"QPrintPropertiesDialog", "Advanced Option Conflicts", "Conflits d'options avancées"},
        {"QPrintPropertiesDialog",
         "There are conflicts in page setup options. Do you want to fix them?",
         "Des options de mise en page sont en conflit. Voulez-vous les corriger ?"},
        {"QPrintPropertiesDialog",
         "There are conflicts in some advanced options. Do you want to fix them?",
         "Des options avancées sont en conflit. Voulez-vous les corriger ?"},
        {"QPrintPropertiesWidget", "Advanced", "Avancé"},
        {"QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.",
         "Des options sont en conflit. Veuillez les corriger."},
        {"QPrintDialog", "Invalid Pages Definition", "Pages mal définies"},
        {"QPrintDialog", "Duplex Settings Conflicts", "Conflit de réglages recto verso"},
        {"QPrintDialog", "There are conflicts in duplex settings. Do you want to fix them?",
         "Les réglages recto verso sont en conflit. Voulez-vous les corriger ?"},
        {"QPrintDialog",
         "%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, "
         "'-' to define ranges and make sure ranges do not intersect with each other.",
         "%1 n'est pas écrit correctement. Séparez les pages et les plages de pages par des "
         "virgules, écrivez une plage avec un tiret, et qu'aucune plage n'en chevauche une "
         "autre."},
        {"QPrintSettingsOutput", "Double Sided Printing", "Impression recto verso"},
        {"QPrintSettingsOutput", "Long side binding", "Reliure côté long"},
        {"QPrintSettingsOutput", "Short side binding", "Reliure côté court"},
        {"QPrintSettingsOutput",
         "Specify pages or ranges separated by commas. Ranges are specified by two numbers "
         "separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
         "Pages ou plages de pages séparées par des virgules ; une plage est deux numéros "
         "séparés par un tiret. Par exemple, 3,5-7,9 imprime les pages 3, 5, 6, 7 et 9."},
    };
    for (const auto& text : kTexts)
      if (qstrcmp(context, text[0]) == 0 && qstrcmp(source, text[1]) == 0)
        return QString::fromUtf8(text[2]);
    return QString();
  }
};

bool InstallFrenchTranslations(QCoreApplication& app, const QString& folder) {
  app.installTranslator(new TMissingTexts(&app));
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
