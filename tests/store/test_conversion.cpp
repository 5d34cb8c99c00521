#include "store/conversion.h"

#include <gtest/gtest.h>

TEST(Conversion, placeholder) { EXPECT_EQ(Conversion::NomDuMois(1), QStringLiteral("Janvier")); }
