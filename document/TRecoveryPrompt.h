#pragma once
// TRecoveryPrompt: what the user is asked and told about a journal a program
// that died left behind (TJournalReader), and about a file another Vek Base
// holds. All through Services(), so that tests answer.

#include <QString>

class TJournalReader;
struct TRecoveryReport;

class TRecoveryPrompt {
 public:
  // "Vek Base s'est arrêté sans enregistrer « x ». Récupérer les
  // modifications ?" with "Récupérer", "Ignorer" and "Plus tard", warning when
  // the file has changed or is gone since. True for "Récupérer". "Ignorer"
  // removes the journal after a second question; "Plus tard" keeps it. A
  // journal without a complete change is removed without a word.
  static bool Wanted(TJournalReader& journal);
  // Says how much of a damaged journal came back; nothing when it was whole.
  static void TellDamage(const QString& tableName, const TRecoveryReport& report);
  // "« x » est déjà ouvert dans une autre fenêtre de Vek Base. L'ouvrir en
  // lecture seule ?"
  static bool AskReadOnly(const QString& tableName);
  static QString Quoted(const QString& fileName);  // « name », without its folder
};
