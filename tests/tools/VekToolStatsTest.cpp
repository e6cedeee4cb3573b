// vektool stats: the statistics of a table file as semicolon text for scripts.

#include <gtest/gtest.h>

#include <sstream>

#include "TQor2.h"
#include "TestFiles.h"
#include "VekTool.h"

namespace {

struct ToolRun {
  int code;
  std::string out, err;
};

class StatsTool : public ::testing::Test {
 protected:
  void SetUp() override {
    TQor2 t;
    t.AddField("Ville");
    t.AddField("Montant");
    t.SetFieldType(2, "FLOAT");
    const char* rows[][2] = {{"Paris", "12 450,5"},
                             {"Lyon", "abc"},
                             {"Paris", "-3"},
                             {"Lyon", "7"},
                             {"Orl\xE9"
                              "ans",
                              ""},
                             {"Lyon", "x"}};
    for (auto& r : rows) {
      t.Append();
      t.SetFieldValue(1, r[0]);
      t.SetFieldValue(2, r[1]);
    }
    ASSERT_TRUE(t.SaveQorFile(dir.File("v.qor")));
  }
  ToolRun Tool(std::vector<std::string> args) {
    args.insert(args.begin(), {"stats", dir.File("v.qor")});
    std::ostringstream out, err;
    VekTool tool(out, err);
    const int code = tool.Run(args);
    return {code, out.str(), err.str()};
  }
  TempDir dir;
};

TEST_F(StatsTool, OneLinePerGroupAfterTheHeader) {
  const ToolRun r = Tool({"--by", "Ville", "--field", "Montant"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out,
            "Ville;Nombre;Somme;Moyenne;Minimum;Maximum;Part (%)\r\n"
            "Lyon;3;7,00;7,00;7,00;7,00;50,00\r\n"
            "Orl\xE9"
            "ans;1;0,00;;;;16,67\r\n"
            "Paris;2;12447,50;6223,75;-3,00;12450,50;33,33\r\n");
  EXPECT_EQ(r.err, "vektool: 2 valeurs non numériques ignorées\n");

  // Counts only; a field name typed in UTF-8; a selection compared as text.
  EXPECT_EQ(Tool({"--by", "Ville"}).out,
            "Ville;Nombre;Part (%)\r\nLyon;3;50,00\r\nOrl\xE9"
            "ans;1;16,67\r\nParis;2;33,33\r\n");
  EXPECT_EQ(Tool({"--field", "Montant", "--where", "Ville", ">=", "Orléans"}).out,
            "Nombre;Somme;Moyenne;Minimum;Maximum;Part "
            "(%)\r\n3;12447,50;6223,75;-3,00;12450,50;100,00\r\n");
  EXPECT_EQ(Tool({}).out, "Nombre;Part (%)\r\n6;100,00\r\n");
}

TEST_F(StatsTool, UnknownFieldsAndBadOptionsFail) {
  const ToolRun missing = Tool({"--by", "Pays"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, "vektool: impossible de calculer : la table n'a pas de champ 'Pays'\n");
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(Tool({"--where", "Pays", "=", "x"}).code, 1);
  EXPECT_EQ(Tool({"--by"}).code, 2);
  EXPECT_EQ(Tool({"--sum", "Montant"}).code, 2);
  std::ostringstream out, err;
  EXPECT_EQ(VekTool(out, err).Run({"stats", dir.File("absent.qor")}), 1);
}

}  // namespace
