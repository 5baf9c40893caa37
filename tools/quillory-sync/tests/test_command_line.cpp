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
    EXPECT_EQ(std::get<Command>(Parse({"--help"})).action, Action::Help);
}

TEST(CommandLine, AValueThatLooksLikeHelpIsAValue) {
    for (const char* value : {"--help", "-h"}) {
        const auto parsed = Parse({"tag", "--folder", "a", "--id", "1", "--text", value});
        ASSERT_TRUE(std::holds_alternative<Command>(parsed)) << value;
        EXPECT_EQ(std::get<Command>(parsed).action, Action::Tag) << value;
        EXPECT_EQ(std::get<Command>(parsed).text, value);
    }
    const auto parsed = Parse({"sync", "--folder", "-h", "--user", "--help"});
    ASSERT_TRUE(std::holds_alternative<Command>(parsed));
    EXPECT_EQ(std::get<Command>(parsed).folder, "-h");
    EXPECT_EQ(std::get<Command>(parsed).user, "--help");
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
