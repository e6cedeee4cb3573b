#pragma once
// Fixture of the desk utilities' window tests: scripted services with their fake
// clock and recording printer, and a temporary folder. It fails on a question
// nobody expected and on an answer nobody asked for.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "PrintQString.h"
#include "TFakeServices.h"

class UtilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetServices(&services);
    ASSERT_TRUE(dir.isValid());
  }
  void TearDown() override {
    EXPECT_TRUE(services.Problems().isEmpty()) << services.Problems().join('\n').toStdString();
    EXPECT_EQ(services.PendingAnswers(), 0);
  }

  // The texts of the boxes shown so far, "Kind: text".
  QStringList Boxes() const {
    QStringList boxes;
    for (const TQuestion& q : services.Questions())
      boxes << (q.kind == TQuestionKind::Error     ? QStringLiteral("Error: ")
                : q.kind == TQuestionKind::Warning ? QStringLiteral("Warning: ")
                                                   : QStringLiteral("Other: ")) +
                   q.text;
    return boxes;
  }

  TFakeServices services;
  QTemporaryDir dir;
};
