// The command line of one explorer-cli command: positional arguments, options with values, flags.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace explorer_cli {

// Bad input or a failed command: the message goes to standard error and the tool exits with 2.
class CliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    bool help = false;

    std::optional<std::string> Value(const std::string& option) const;
    bool Flag(const std::string& flag) const { return flags.contains(flag); }
};

// Splits `args` for `command`: "--name value", "--name=value" for the options in `valueOptions`,
// "--name" for those in `flagOptions`, "--help" or "-h" anywhere; "--" ends the options. Throws
// CliError for an unknown option, a missing value or a wrong number of positional arguments.
CommandLine ParseCommandLine(const std::string& command, const std::vector<std::string>& args,
                             const std::vector<std::string>& positionalNames,
                             const std::set<std::string>& valueOptions,
                             const std::set<std::string>& flagOptions = {});

// Decimal numbers without sign or blanks; CliError names `what` when `text` is not one or
// exceeds `max`.
std::uint64_t ParseNumber(const std::string& text, const std::string& what, std::uint64_t max);
std::uint32_t ParseKey(const std::string& text, const std::string& what);

} // namespace explorer_cli
