// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qzm {
namespace {

Result<int> parsedDigit(char c) {
    if (c < '0' || c > '9') {
        return Error{std::string("not a digit: ") + c, 22};
    }
    return c - '0';
}

TEST(Result, CarriesEitherTheValueOrTheError) {
    const Result<int> good = parsedDigit('7');
    ASSERT_TRUE(good.ok());
    EXPECT_EQ(good.value(), 7);
    EXPECT_EQ(good.valueOr(-1), 7);

    const Result<int> bad = parsedDigit('x');
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().text, "not a digit: x");
    EXPECT_EQ(bad.error().code, 22);
    EXPECT_EQ(bad.valueOr(-1), -1);
}

TEST(Result, MovesAValueThatCannotBeCopied) {
    Result<std::unique_ptr<int>> made = std::make_unique<int>(5);
    ASSERT_TRUE(made);
    const std::unique_ptr<int> taken = std::move(made).value();
    EXPECT_EQ(*taken, 5);
}

TEST(Result, AnErrorTypeValueIsStillAValue) {
    // A Result<std::string> holding text is a success, not an error.
    const Result<std::string> text = std::string("fine");
    EXPECT_TRUE(text.ok());
    EXPECT_EQ(text.value(), "fine");
}

TEST(Status, IsSuccessUntilGivenAnError) {
    const Status done;
    EXPECT_TRUE(done.ok());
    const Status failed = Error{"the disk is full", 28};
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.error().text, "the disk is full");
}

}  // namespace
}  // namespace qzm
