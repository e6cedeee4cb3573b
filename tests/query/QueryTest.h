#pragma once
// Fixture of the query window tests: the document fixture (scripted services,
// a temporary folder, a document window) with a table of clients and helpers
// that script the query windows and dialogs.

#include <QDialog>
#include <functional>
#include <ostream>

#include "DocumentTest.h"
#include "TQor2.h"

// Texts in failure messages, readable.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

class QueryTest : public DocumentTest {
 protected:
  // Scripts the next dialog as a T.
  template <class T>
  void OnDialog(std::function<void(T&)> script) {
    services.AnswerDialog([script](QDialog& d) {
      T* dialog = dynamic_cast<T*>(&d);
      ASSERT_NE(dialog, nullptr) << d.windowTitle().toStdString();
      script(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
  }

  // The messages shown, in order.
  QStringList Messages() const {
    QStringList texts;
    for (const TQuestion& q : services.Questions()) texts << q.text;
    return texts;
  }

  // Every value and the field names, to tell that nothing changed.
  static std::string Dump(const TQor2& t) {
    std::string s;
    for (int i = 1; i <= t.FieldCount(); ++i)
      s += t.GetFieldName(i) + ':' + t.GetFieldType(i) + '|';
    for (int n = 1; n <= t.RecordCount(); ++n) {
      s += '\n';
      for (int i = 1; i <= t.FieldCount(); ++i) s += t.GetCell(i, n) + '|';
    }
    return s;
  }

  // NOM, VILLE, AGE (FLOAT), PRIX (FLOAT).
  QString WritePeople() {
    return WriteTable("people.qor",
                      {{"NOM", "STRING"}, {"VILLE", "STRING"}, {"AGE", "FLOAT"}, {"PRIX", "FLOAT"}},
                      {{"Dupont", "Paris", "34", "1,5"},
                       {"DUPUIS", "Lyon", "9", "2"},
                       {"du Pont", "Saint Jean ", "18", "abc"},
                       {"Martin", "Paris", "5", "-3"},
                       {"Durand", "paris", "70", "-7"},
                       {"Petit", "Lyon", "4.5", "10"}});
  }
};
