#include "TStatus.h"

#include "Cp1252.h"

std::string StatusReason(const TStatus& status) {
  switch (status.Cause()) {
    case TFailure::NoSuchField:
      // The name the user typed, as the table would hold it.
      if (status.Detail().empty()) return "aucun champ n'est nommé";
      return "la table n'a pas de champ '" + Cp1252ToUtf8(status.Detail()) + "'";
    case TFailure::UnknownOperator:
      if (status.Detail().empty()) return FailureReason(status.Cause());
      return "l'opérateur « " + Cp1252ToUtf8(status.Detail()) + " » n'est pas reconnu";
    case TFailure::NoSuchSheet:
    case TFailure::TableExists:
    case TFailure::ServerUnreachable:
    case TFailure::ServerRefused:
      // The detail names the sheet or table asked for, or is the server's own
      // reason: the user needs it.
      if (!status.Detail().empty())
        return FailureReason(status.Cause()) + std::string(" (") + status.Detail() + ")";
      return FailureReason(status.Cause());
    case TFailure::Other:
      break;
    default:
      return FailureReason(status.Cause());
  }
  // A detail in Windows-1252 (the engine's own message, passed on) is made UTF-8.
  const std::string& detail = status.Detail();
  TUtf8Detector utf8;
  utf8.Feed(detail.data(), detail.size());
  return utf8.Malformed() ? Cp1252ToUtf8(detail) : detail;
}

std::string FailureSentence(const std::string& action, const TStatus& status) {
  if (status.Cause() == TFailure::OutOfMemory) return "mémoire insuffisante pour " + action;
  // "d'" before a vowel or a mute h, "de " before anything else.
  const char first = action.empty() ? 'x' : action[0];
  const bool elide =
      std::string("aeiouhAEIOUH").find(first) != std::string::npos || action.rfind("é", 0) == 0;
  std::string sentence = elide ? "impossible d'" + action : "impossible de " + action;
  const std::string reason = StatusReason(status);
  if (!reason.empty()) sentence += " : " + reason;
  return sentence;
}
