#include "TNouveau.h"

TNouveau::TNouveau(QWidget* parent) : TModif(parent) {
  setWindowTitle(QStringLiteral("Nouvelle table"));
}
