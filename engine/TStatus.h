#pragma once
// TStatus: what an operation below the windows answers: ok, or a failure with
// its cause (TFailure.h) and a detail text (a file name, the line of a layout,
// a server's own words, the engine's English message kept for the table's
// ErrorMessage). Readers, writers, importers and the printer return one; the
// windows word it in French in one place (FailureText) and vektool the same way.
//
// It converts to bool explicitly, so that `if (!table.LoadFromFile(name))`
// reads as before; the cause and detail stay for whoever tells the user.
// The engine's detail is never shown beside the cause: the French words come
// from the cause alone, except for Other, which is said by its detail, and for
// the few causes whose detail is the user's own name for a sheet, a table, a
// field or an operator, or a server's own words (StatusReason).

#include <string>
#include <utility>

#include "TFailure.h"

class TStatus {
 public:
  TStatus() = default;  // ok
  explicit TStatus(TFailure cause, std::string detail = std::string())
      : cause_(cause), detail_(std::move(detail)) {}

  static TStatus Ok() { return TStatus(); }

  bool ok() const { return cause_ == TFailure::None; }
  explicit operator bool() const { return ok(); }
  TFailure Cause() const { return cause_; }
  const std::string& Detail() const { return detail_; }

 private:
  TFailure cause_ = TFailure::None;
  std::string detail_;
};

// Why, in French (UTF-8, no capital, no full stop): the cause's reason, or the
// detail for Other (made UTF-8 when it is not); "" when ok. A field or an
// operator the user typed is named (Windows-1252 detail made UTF-8):
//   "la table n'a pas de champ 'Vile'", "l'opérateur « => » n'est pas reconnu".
std::string StatusReason(const TStatus& status);

// The one sentence that tells a failure, UTF-8, without a capital or a full
// stop; `action` is what was being done ("ouvrir 'clients.qor'", "trier la
// table"):
//   "impossible d'ouvrir 'clients.qor' : le fichier n'existe pas"
//   "mémoire insuffisante pour ouvrir 'clients.qor'"   (OutOfMemory)
std::string FailureSentence(const std::string& action, const TStatus& status);
