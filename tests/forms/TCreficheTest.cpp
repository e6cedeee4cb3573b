#include <gtest/gtest.h>
TEST(TCreficheTest, Placeholder) {}
