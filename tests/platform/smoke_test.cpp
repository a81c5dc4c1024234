#include "platform/errors/AppError.h"

#include <gtest/gtest.h>

TEST(AppError, CarriesNumberSourceAndDescription) {
    tarnis::AppError e(3022, "DB", "doppelt");
    EXPECT_EQ(e.number, 3022);
    EXPECT_STREQ(e.what(), "doppelt");
}
