#include "host/cli/arguments.h"

#include <cctype>
#include <limits>

namespace explorer_cli {

std::optional<std::string> CommandLine::Value(const std::string& option) const {
    const auto found = values.find(option);
    if (found == values.end())
        return std::nullopt;
    return found->second;
}

CommandLine ParseCommandLine(const std::string& command, const std::vector<std::string>& args,
                             const std::vector<std::string>& positionalNames,
                             const std::set<std::string>& valueOptions,
                             const std::set<std::string>& flagOptions) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // A negative number is an argument, for the number check to refuse.
        const bool option =
            arg.size() >= 2 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]));
        if (optionsEnded || !option) {
            line.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (valueOptions.contains(name)) {
            if (equals != std::string::npos)
                line.values[name] = arg.substr(equals + 1);
            else if (i + 1 < args.size())
                line.values[name] = args[++i];
            else
                throw CliError(command + ": option " + name + " needs a value");
        } else if (flagOptions.contains(name) && equals == std::string::npos) {
            line.flags.insert(name);
        } else {
            throw CliError(command + ": unknown option " + arg);
        }
    }
    if (line.help)
        return line;
    if (line.positional.size() < positionalNames.size())
        throw CliError(command + ": missing " + positionalNames[line.positional.size()]);
    if (line.positional.size() > positionalNames.size())
        throw CliError(command + ": unexpected argument '" +
                       line.positional[positionalNames.size()] + "'");
    return line;
}

std::uint64_t ParseNumber(const std::string& text, const std::string& what, std::uint64_t max) {
    if (text.empty() || text.size() > 20)
        throw CliError("malformed " + what + " '" + text + "'");
    std::uint64_t value = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            throw CliError("malformed " + what + " '" + text + "'");
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
            throw CliError(what + " '" + text + "' is too large");
        value = value * 10 + digit;
    }
    if (value > max)
        throw CliError(what + " '" + text + "' is too large (at most " + std::to_string(max) + ")");
    return value;
}

std::uint32_t ParseKey(const std::string& text, const std::string& what) {
    return static_cast<std::uint32_t>(ParseNumber(text, what, 0xFFFFFFFFu));
}

} // namespace explorer_cli
