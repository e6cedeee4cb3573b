#pragma once
// French formatting for the user, whatever the machine's locale: dates dd/MM/yyyy,
// times HH:mm:ss, French month and day names, decimal comma, no thousands separator.

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>
#include <string>

#include "TStatus.h"

class QCoreApplication;

const QLocale& FrenchLocale();

QString FormatDate(const QDate& date);  // "20/10/1998"
QString FormatTime(const QTime& time);  // "18:23:00"
// Up to `precision` significant digits, no trailing zeros: 12.5 -> "12,5".
QString FormatFloat(double value, int precision = 15);
// The pattern "#.00": two decimals, rounded half away from zero on the value's
// first 15 significant digits, no digit before the comma when the whole part is
// 0, no thousands separator: 42.5 -> "42,50", 0.5 -> ",50", -3 -> "-3,00".
QString FormatTwoDecimals(double value);
QString MonthName(int month);         // 1..12 -> "janvier"..; "" otherwise
QString DayName(int dayOfWeek);       // 1 (Monday)..7 -> "lundi"..; "" otherwise
QString ShortDayName(int dayOfWeek);  // "lun."..

// Why a file operation failed, to follow "Impossible d'ouvrir 'x' : ": the
// French reason of `cause`, or the engine's own message when it gave no cause.
QString FailureText(TFailure cause, const std::string& engineMessage);
// The same for a status (StatusReason): a failure without a cause of its own
// (Other) is said by its detail; "" when ok.
QString FailureText(const TStatus& status);
// The whole message for a failed action, as the user reads it in a warning:
// "Impossible d'ouvrir 'clients.qor' : le fichier n'existe pas", or
// "Mémoire insuffisante pour ouvrir 'clients.qor'" (FailureSentence).
QString FailureMessage(const QString& action, const TStatus& status);
// A condition refused before it is used: FailureMessage, followed, when the
// operator is at fault (NoOperator, UnknownOperator), by the operators the
// command accepts: "Impossible de filtrer : l'opérateur « => » n'est pas
// reconnu ; opérateurs acceptés : =, <, >, <=, >= et LIKE".
QString ConditionRefusal(const QString& action, const TStatus& status, const QString& operators);

// Loads Qt's own French texts (the file, print, page set-up, colour and font
// dialogs, context menus, the window menus of document windows) from `folder`,
// Qt's translations folder unless given. Returns false when they are not found
// there; the program works on, with those texts in English.
bool InstallFrenchTranslations(QCoreApplication& app, const QString& folder = QString());
// What the program says once on standard error when they are not found.
QString MissingTranslationsMessage(const QString& folder = QString());
