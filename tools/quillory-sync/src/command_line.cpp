#include "command_line.h"

#include <charconv>
#include <map>
#include <set>

namespace quillory_sync {

const char* const kUsageText =
    "Usage:\n"
    "  quillory-sync sync   --folder DIR --user ID\n"
    "  quillory-sync list   --folder DIR\n"
    "  quillory-sync tag    --folder DIR --id ID --text TEXT\n"
    "  quillory-sync delete --folder DIR --id ID\n"
    "  quillory-sync --help\n"
    "\n"
    "Keeps a local copy of the account's Quillory captures in DIR, the account folder\n"
    "(its profile.cfg and its Data folder, which hold the record and the files).\n"
    "\n"
    "  sync    signs in as ID and runs one synchronisation pass: downloads new captures,\n"
    "          removes remote files deleted here, uploads changed tags. The password is\n"
    "          taken from $QUILLORY_PASSWORD, else from the first line of standard input.\n"
    "          Prints one line per event:  added ID NAME CREATED | ready ID NAME CREATED |\n"
    "          removed ID   ('ready' follows 'added' once the file is in DIR/Data).\n"
    "  list    prints one line per record:  ID CREATED NAME TAG\n"
    "  tag     sets the tag of the record with this id; the next sync uploads it.\n"
    "  delete  deletes the local copy; the next sync removes the remote file.\n"
    "\n"
    "Fields are separated by a tab; names and tags are UTF-8, control characters in\n"
    "them are written as \\xHH. CREATED is in seconds since 1970-01-01 UTC.\n"
    "\n"
    "Exit status: 0 success; 2 usage error; 3 sign-in failed (no pass run);\n"
    "4 the pass failed (listing failed, interrupted, or profile.cfg not written);\n"
    "5 no record has that id (tag, delete).\n"
    "\n"
    "Environment: QUILLORY_CONNECT_TO=HOST:PORT and QUILLORY_CA_FILE=PEM send the\n"
    "service's connections to a local emulator.\n";

namespace {

bool ParseId(const std::string& text, std::int64_t& id) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, id);
    return ec == std::errc() && ptr == end && !text.empty();
}

}  // namespace

std::variant<Command, UsageError> ParseCommandLine(int argc, const char* const* argv) {
    if (argc < 2) return UsageError{"no command given"};
    // Help is asked for where a command or an option name stands, never by an option's value.
    const auto isHelp = [](const std::string& arg) { return arg == "--help" || arg == "-h"; };
    const std::string verb = argv[1];
    if (isHelp(verb)) return Command{};
    static const std::map<std::string, std::pair<Action, std::set<std::string>>> kVerbs = {
        {"sync", {Action::Sync, {"--folder", "--user"}}},
        {"list", {Action::List, {"--folder"}}},
        {"tag", {Action::Tag, {"--folder", "--id", "--text"}}},
        {"delete", {Action::Delete, {"--folder", "--id"}}},
    };
    const auto verbIt = kVerbs.find(verb);
    if (verbIt == kVerbs.end()) return UsageError{"unknown command '" + verb + "'"};
    const auto& [action, wanted] = verbIt->second;

    std::map<std::string, std::string> values;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (isHelp(option)) return Command{};
        if (!wanted.count(option)) return UsageError{"unexpected argument '" + option + "' for " + verb};
        if (i + 1 >= argc) return UsageError{"missing value after " + option};
        if (values.count(option)) return UsageError{option + " given twice"};
        values[option] = argv[++i];
    }
    for (const auto& option : wanted) {
        if (!values.count(option)) return UsageError{verb + " needs " + option};
    }

    Command command;
    command.action = action;
    command.folder = values["--folder"];
    if (command.folder.empty()) return UsageError{"--folder must not be empty"};
    command.user = values["--user"];
    command.text = values["--text"];
    if (wanted.count("--id") && !ParseId(values["--id"], command.id)) {
        return UsageError{"--id must be a decimal number, not '" + values["--id"] + "'"};
    }
    return command;
}

}  // namespace quillory_sync
