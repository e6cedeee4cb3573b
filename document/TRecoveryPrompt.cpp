#include "TRecoveryPrompt.h"

#include <QFileInfo>

#include "FileNames.h"
#include "IServices.h"
#include "TDocument.h"
#include "TJournalReader.h"

QString TRecoveryPrompt::Quoted(const QString& fileName) {
  return QStringLiteral("« ") + QFileInfo(fileName).fileName() + QStringLiteral(" »");
}

bool TRecoveryPrompt::Wanted(TJournalReader& journal) {
  if (journal.Changes() == 0) {
    journal.Remove();  // a program that died before its first change was flushed
    return false;
  }
  const TJournalHeader& header = journal.Header();
  const QString path = FromEnginePath(header.path);
  const QString name = Quoted(path);
  QString text = QStringLiteral("Vek Base s'est arrêté sans enregistrer ") + name +
                 QStringLiteral(". Récupérer les modifications ?");
  if (header.baseline == TJournalHeader::File && !QFileInfo::exists(path))
    text += QStringLiteral("\n\nAttention : ") + name + QStringLiteral(" n'existe plus.");
  else if (header.baseline == TJournalHeader::File && header.FileChanged())
    text += QStringLiteral("\n\nAttention : ") + name +
            QStringLiteral(
                " a été modifié depuis ; les modifications seront reportées sur le "
                "fichier tel qu'il est maintenant.");
  const int choice = Services().ChooseButton(
      text, {QStringLiteral("Récupérer"), QStringLiteral("Ignorer"), QStringLiteral("Plus tard")});
  if (choice == 1 &&
      Services().Confirm(QStringLiteral("Les modifications non enregistrées de ") + name +
                         QStringLiteral(" seront perdues. Supprimer le journal de "
                                        "récupération ?")))
    journal.Remove();
  return choice == 0;  // "Plus tard", or "Ignorer" not confirmed: kept for the next start
}

void TRecoveryPrompt::TellDamage(const QString& tableName, const TRecoveryReport& report) {
  if (!report.damaged) return;
  const QString start = QStringLiteral("Le journal de récupération de ") + Quoted(tableName) +
                        QStringLiteral(" est endommagé : ");
  if (report.changes == 0)
    Services().Warning(start + QStringLiteral("aucune modification n'a pu être récupérée."));
  else if (report.changes == 1)
    Services().Warning(start + QStringLiteral("seule la première modification a été récupérée, "
                                              "la suite est perdue."));
  else
    Services().Warning(start + QStringLiteral("les %1 premières modifications ont été "
                                              "récupérées, la suite est perdue.")
                                   .arg(report.changes));
}

bool TRecoveryPrompt::AskReadOnly(const QString& tableName) {
  return Services().Confirm(Quoted(tableName) +
                            QStringLiteral(" est déjà ouvert dans une autre fenêtre de Vek Base. "
                                           "L'ouvrir en lecture seule ?"));
}
