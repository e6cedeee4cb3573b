#include "TFailure.h"

#include <cerrno>

TFailure ReadFailure(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:  // a folder of the path is a file
      return TFailure::NotFound;
    case EACCES:
    case EPERM:
      return TFailure::PermissionDenied;
    case EISDIR:
      return TFailure::IsFolder;
    default:
      return TFailure::ReadError;
  }
}

TFailure CreateFailure(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return TFailure::FolderNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return TFailure::FolderRefuses;
    case EISDIR:
      return TFailure::IsFolder;
    default:
      return WriteFailure(error);
  }
}

TFailure WriteFailure(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return TFailure::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return TFailure::FolderRefuses;
    case EISDIR:
      return TFailure::IsFolder;
    default:
      return TFailure::WriteError;
  }
}

const char* FailureReason(TFailure failure) {
  switch (failure) {
    case TFailure::None:
      return "";
    case TFailure::Truncated:
      return "le fichier se termine trop tôt : il est incomplet ou abîmé";
    case TFailure::NotATable:
      return "ce n'est pas une table Vek Base";
    case TFailure::IsFolder:
      return "c'est un dossier, pas un fichier";
    case TFailure::NotFound:
      return "le fichier n'existe pas";
    case TFailure::FolderNotFound:
      return "le dossier n'existe pas";
    case TFailure::PermissionDenied:
      return "permission refusée";
    case TFailure::FolderRefuses:
      return "le dossier n'accepte pas de nouveau fichier (l'enregistrement y écrit "
             "d'abord un fichier temporaire)";
    case TFailure::DiskFull:
      return "le disque est plein";
    case TFailure::ReadError:
      return "erreur de lecture du fichier";
    case TFailure::WriteError:
      return "erreur d'écriture du fichier";
    case TFailure::NotADbfTable:
      return "ce n'est pas une table dBase lisible";
    case TFailure::TooLargeForXls:
      return "trop de données pour le format Excel : 65 535 enregistrements et 256 champs au "
             "plus";
    case TFailure::StatementWithoutSelect:
      return "elle doit commencer par SELECT";
    case TFailure::StatementWithoutWhere:
      return "SELECT [DISTINCT] champs WHERE condition attendu";
    case TFailure::OutOfMemory:
      return "mémoire insuffisante";
    case TFailure::NotText:
      return "ce n'est pas un fichier texte";
    case TFailure::NotAWorkbook:
      return "ce n'est pas un classeur du format que dit son nom";
    case TFailure::EncryptedFile:
      return "le fichier est protégé par un mot de passe";
    case TFailure::DamagedFile:
      return "le fichier est abîmé";
    case TFailure::ZipBomb:
      return "une partie du classeur se décompresse en bien plus que sa taille (plus de 100 fois, "
             "ou plus de 2 Go) : refusée";
    case TFailure::TooManyColumns:
      return "la feuille a plus de 16 384 colonnes";
    case TFailure::TooManyRows:
      return "la feuille a plus de 1 048 576 lignes";
    case TFailure::CellTooLarge:
      return "une cellule dépasse 10 Mo";
    case TFailure::NoSuchSheet:
      return "il n'y a pas de feuille ou de table de ce nom";
    case TFailure::NoTable:
      return "il ne contient aucune feuille ni table";
    case TFailure::TableExists:
      return "une table de ce nom existe déjà";
    case TFailure::NotADatabase:
      return "ce n'est pas une base SQLite (ou elle est chiffrée)";
    case TFailure::DatabaseLocked:
      return "la base est verrouillée par un autre programme";
    case TFailure::TooLargeForXlsx:
      return "trop de données pour une feuille Excel : 1 048 575 enregistrements, 16 384 champs "
             "et 32 767 caractères par valeur au plus";
    case TFailure::ServerUnreachable:
      return "connexion au serveur impossible";
    case TFailure::ServerRefused:
      return "le serveur refuse";
    case TFailure::PasswordInAddress:
      return "l'adresse contient un mot de passe : donnez-le par PGPASSWORD ou ~/.pgpass";
    case TFailure::Other:
      return "";
    case TFailure::NotADbfName:
      return "ce n'est pas une table dBase (.dbf)";
    case TFailure::UnknownImportKind:
      return "seuls les fichiers .txt, .csv et .dbf sont reconnus";
    case TFailure::DbfHeaderUnreadable:
      return "en-tête de la table dBase illisible";
    case TFailure::DbfRecordUnreadable:
      return "enregistrement dBase illisible";
    case TFailure::DbfMemoUnreadable:
      return "mémo dBase illisible";
    case TFailure::DbfMemoFileUnreadable:
      return "le fichier des mémos (.dbt) de la table dBase ne peut pas être ouvert";
    case TFailure::DbfRecordTooLong:
      return "enregistrements dBase trop longs";
    case TFailure::DbfTooManyFields:
      return "table dBase de plus de 128 champs";
    case TFailure::DbfNotOpen:
      return "la table dBase n'est pas ouverte";
    case TFailure::NoSuchField:
      return "le champ n'existe pas";
    case TFailure::NoOperator:
      return "la condition n'a pas d'opérateur";
    case TFailure::UnknownOperator:
      return "l'opérateur n'est pas reconnu";
  }
  return "";
}
