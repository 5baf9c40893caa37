#include <gtest/gtest.h>

#include "command_line.h"

using namespace quillory_sync;

namespace {

std::variant<Command, UsageError> Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "quillory-sync");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

}  // namespace

TEST(CommandLine, AcceptsTheFourCommands) {
    auto parsed = Parse({"sync", "--folder", "acct", "--user", "ann"});
    ASSERT_TRUE(std::holds_alternative<Command>(parsed));
    EXPECT_EQ(std::get<Command>(parsed).action, Action::Sync);
    EXPECT_EQ(std::get<Command>(parsed).user, "ann");

    parsed = Parse({"tag", "--id", "5000000003", "--folder", "a", "--text", ""});
    ASSERT_TRUE(std::holds_alternative<Command>(parsed));
    EXPECT_EQ(std::get<Command>(parsed).id, 5000000003);
    EXPECT_EQ(std::get<Command>(parsed).text, "");

    parsed = Parse({"delete", "--folder", "a", "--id", "-7"});
    ASSERT_TRUE(std::holds_alternative<Command>(parsed));
    EXPECT_EQ(std::get<Command>(parsed).id, -7);

    EXPECT_EQ(std::get<Command>(Parse({"list", "--help"})).action, Action::Help);
}

TEST(CommandLine, RejectsWhatItCannotRun) {
    const std::vector<std::vector<const char*>> bad = {
        {},
        {"push", "--folder", "a"},
        {"sync", "--folder", "a"},
        {"list"},
        {"list", "--folder"},
        {"list", "--folder", ""},
        {"list", "--folder", "a", "--folder", "b"},
        {"list", "--folder", "a", "--user", "x"},
        {"tag", "--folder", "a", "--id", "12x", "--text", "t"},
        {"delete", "--folder", "a", "--id", "99999999999999999999"},
        {"delete", "--folder", "a", "--id", ""},
    };
    for (const auto& args : bad) {
        EXPECT_TRUE(std::holds_alternative<UsageError>(Parse(args))) << (args.empty() ? "(none)" : args[0]);
    }
}
