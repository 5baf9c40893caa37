#include <gtest/gtest.h>

#include <string>

#include "tokener/nib_tokener.h"

using tidewell::CNibTokener;

TEST(NibTokener, FreshHolderHandsOutNothingAndLeavesTheLengthAlone) {
    CNibTokener tokener;
    int length = 77;
    EXPECT_EQ(tokener.GetBytes(&length), nullptr);
    EXPECT_EQ(length, 77);
    EXPECT_EQ(tokener.GetValue(), 0);
}

TEST(NibTokener, KeepsAPrivateCopyOfTheLastBytesOnly) {
    CNibTokener tokener;
    std::string first = "token-one////relay////";
    EXPECT_EQ(tokener.SetBytes(first.data(), static_cast<int>(first.size())), 0);
    first[0] = 'X';  // the holder must not see the caller's later changes
    const char second[] = {'a', '\0', 'b'};
    tokener.SetBytes(second, 3);
    int length = 0;
    const char* bytes = tokener.GetBytes(&length);
    ASSERT_EQ(length, 3);
    EXPECT_EQ(std::string(bytes, 3), std::string(second, 3));

    EXPECT_EQ(tokener.SetBytes("ignored", 0), 0);  // length 0 keeps what is held
    bytes = tokener.GetBytes(&length);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(std::string(bytes, 3), std::string(second, 3));

    const std::string record = "a-token-long-enough-to-span-several-words////info////web////gate////";
    tokener.SetBytes(record.data(), static_cast<int>(record.size()));
    bytes = tokener.GetBytes(&length);
    tokener.SetBytes(bytes, length);  // handing back what it holds keeps it
    bytes = tokener.GetBytes(&length);
    EXPECT_EQ(std::string(bytes, static_cast<std::size_t>(length)), record);
}

TEST(NibTokener, ClearAndReleaseFollowTheHolderLifecycle) {
    CNibTokener tokener;
    EXPECT_EQ(tokener.Clear(), 0);  // creates an empty holder
    int length = 5;
    EXPECT_EQ(tokener.GetBytes(&length), nullptr);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(tokener.Init(), 1);

    tokener.SetBytes("abc", 3);
    EXPECT_EQ(tokener.Release(), 0);
    length = 9;
    EXPECT_EQ(tokener.GetBytes(&length), nullptr);
    EXPECT_EQ(length, 9);  // like a fresh holder
    EXPECT_EQ(tokener.Init(), 0);
}

TEST(NibTokener, StopValueIsStoredAsGiven) {
    CNibTokener tokener;
    EXPECT_EQ(tokener.SetValue(-3), 0);
    EXPECT_EQ(tokener.GetValue(), -3);
}
