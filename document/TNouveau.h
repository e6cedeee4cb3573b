#pragma once
// TNouveau: the "Nouvelle table" dialog of the new-table command. It is the
// structure dialog TModif starting with an empty list: the user enters the new
// table's fields one by one. Result() gives one line per field, NAME blank TYPE,
// when confirmed (no line when no field was entered), nothing when cancelled.

#include "TModif.h"

class TNouveau : public TModif {
  Q_OBJECT

 public:
  explicit TNouveau(QWidget* parent = nullptr);
};
