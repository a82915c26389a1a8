#include "host/cli/commands.h"

#include "host/cli/arguments.h"
#include "host/cli/notifier.h"
#include "host/host.h"
#include "host/project.h"
#include "host/sample.h"
#include "host/schema.h"
#include "interface/explorer.h"
#include "store/chunk_records.h"
#include "store/dao_record.h"
#include "store/folder_records.h"
#include "store/shared_recordsets.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <set>
#include <tuple>

namespace explorer_cli {
namespace {

constexpr const char kExplorerTable[] = "EXPLORER";
constexpr const char kCreateTableHint[] = "; run 'explorer-cli create-table' first";

// An open project with the library initialised on it; the library's context can be set once per
// process, so there is one session per run.
class Session {
public:
    enum class Mode { Open, Create };

    Session(const std::string& path, Mode mode) {
        try {
            m_project = mode == Mode::Create ? refhost::Project::Create(path)
                                             : refhost::Project::Open(path);
        } catch (const CException& error) {
            throw CliError(path + ": " + error.GetErrorMessage().str());
        }
        m_host = std::make_unique<refhost::Host>(m_project->database());
        if (!EXPL_Init(&m_project->database(), refhost::Host::Callbacks(), 0))
            throw CliError("the library could not be initialised");
    }

    refhost::Project& project() { return *m_project; }
    CDaoDatabase& database() { return m_project->database(); }

    void RequireTable(const char* table, const char* hint = "") {
        if (!database().TableExists(table))
            throw CliError(m_project->path() + ": no table " + table + hint);
    }

    // The folder must exist for the command to go on.
    void RequireFolder(FolderId key) {
        RequireTable(kExplorerTable, kCreateTableHint);
        if (!EXPL_IsFolderExist(key))
            throw CliError("unknown folder " + std::to_string(key));
    }

private:
    std::unique_ptr<refhost::Project> m_project;
    std::unique_ptr<refhost::Host> m_host; // ends before the project it works on
};

Session OpenExisting(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status))
        throw CliError(path + ": no such file");
    if (!std::filesystem::is_regular_file(status))
        throw CliError(path + ": not a file");
    return Session(path, Session::Mode::Open);
}

struct Command {
    const char* name;
    const char* synopsis;
    const char* description;
    int (*run)(const CommandLine& line);
    std::vector<std::string> positional;
    std::set<std::string> valueOptions;
    std::set<std::string> flagOptions;
};

int RunSample(const CommandLine& line) {
    const std::string& path = line.positional[0];
    refhost::SampleOptions options;
    if (const auto folders = line.Value("--folders"))
        options.folders = static_cast<int>(ParseNumber(*folders, "folder count", 100000));
    if (const auto chunks = line.Value("--chunks"))
        options.chunks = static_cast<int>(ParseNumber(*chunks, "chunk count", 10000000));
    if (const auto seed = line.Value("--seed"))
        options.seed = ParseNumber(*seed, "seed", UINT64_MAX);
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, error)))
        throw CliError(path + ": exists already; sample makes a new project");

    refhost::SampleSummary summary;
    try {
        Session session(path, Session::Mode::Create);
        summary = refhost::PopulateSample(session.project(), options);
    } catch (...) {
        std::filesystem::remove(path, error);
        throw;
    }
    std::cout << path << ": " << summary.folders.size() << " folders, " << options.chunks
              << " chunks, " << summary.entries << " entries, seed " << options.seed << '\n';
    return kExitOk;
}

int RunCreateTable(const CommandLine& line) {
    Session session = OpenExisting(line.positional[0]);
    // The library shows why it failed, an existing table for instance.
    return EXPL_CreateNewTable() ? kExitOk : kExitError;
}

int RunMkdir(const CommandLine& line) {
    const std::string& name = line.positional[1];
    const auto owner = line.Value("--in");
    if (!owner)
        throw CliError("mkdir: --in KEY is required (0 is the root)");
    const FolderId parent = ParseKey(*owner, "folder key");
    std::int32_t key = -1;
    if (const auto given = line.Value("--key")) {
        key = static_cast<std::int32_t>(ParseNumber(*given, "new folder key", refhost::kMaxKey));
        if (key == 0)
            throw CliError("mkdir: 0 is the root's key");
    }
    if (name.empty() || name.size() > static_cast<std::size_t>(refhost::kMaxNameLength))
        throw CliError("mkdir: a folder name has 1 to 255 bytes");

    Session session = OpenExisting(line.positional[0]);
    session.RequireFolder(parent);
    if (key == -1)
        session.RequireTable(refhost::kCollectionTable, " to draw folder keys from");
    else if (EXPL_IsFolderExist(static_cast<FolderId>(key)))
        throw CliError("folder " + std::to_string(key) + " exists already");

    const std::int32_t created =
        EXPL_CreateFolder(name.c_str(), static_cast<std::int32_t>(parent), key);
    if (created == 0 || created == -1)
        throw CliError("the folder could not be created");
    if (key != -1 && session.database().TableExists(refhost::kCollectionTable))
        session.project().RaiseFolderCounter(key);
    std::cout << static_cast<FolderId>(created) << '\n';
    return kExitOk;
}

int RunPath(const CommandLine& line) {
    const FolderId key = ParseKey(line.positional[1], "folder key");
    Session session = OpenExisting(line.positional[0]);
    session.RequireFolder(key);
    CString path;
    if (!EXPL_GetPath(key, path))
        throw CliError("the owners of folder " + std::to_string(key) + " do not lead to the root");
    std::cout << path.str() << '\n';
    return kExitOk;
}

int RunLs(const CommandLine& line) {
    const FolderId key = ParseKey(line.positional[1], "folder key");
    Session session = OpenExisting(line.positional[0]);
    session.RequireFolder(key);
    CDWordArray keys;
    CStringArray names;
    if (!GetSubFolders(key, keys, &names))
        throw CliError("the sub-folders of folder " + std::to_string(key) + " could not be read");
    for (int i = 0; i < keys.GetSize(); ++i)
        std::cout << keys[i] << '\t' << names[i].str() << '\n';
    return kExitOk;
}

int RunExists(const CommandLine& line) {
    const FolderId key = ParseKey(line.positional[1], "folder key");
    Session session = OpenExisting(line.positional[0]);
    session.RequireTable(kExplorerTable, kCreateTableHint);
    const bool exists = EXPL_IsFolderExist(key) != 0;
    std::cout << (exists ? "yes" : "no") << '\n';
    return exists ? kExitOk : kExitNo;
}

CString FolderName(CDaoDatabase& database, FolderId key) {
    ExplorerTableScope scope(&database);
    CString name;
    if (SeekFolder(key)) {
        CDaoRecord record(&ExplorerRecordset);
        record.GetField(explorer_field::Name, name);
    }
    return name;
}

int RunTree(const CommandLine& line) {
    Session session = OpenExisting(line.positional[0]);
    const bool counts = line.Flag("--counts");
    session.RequireFolder(0);
    if (counts)
        session.RequireTable(refhost::kChunksTable);

    // Depth first without recursion, and each folder once even if the owners form a cycle.
    std::vector<std::tuple<FolderId, CString, int>> pending{
        {0, FolderName(session.database(), 0), 0}};
    std::set<FolderId> seen;
    while (!pending.empty()) {
        auto [key, name, depth] = pending.back();
        pending.pop_back();
        if (!seen.insert(key).second)
            continue;
        std::cout << std::string(2 * depth, ' ') << key << '\t' << name.str();
        if (counts) {
            CDWordArray chunks;
            if (!GetFolderChunks(key, chunks, nullptr))
                throw CliError("the chunks of folder " + std::to_string(key) +
                               " could not be read");
            std::cout << '\t' << chunks.GetSize();
        }
        std::cout << '\n';
        CDWordArray keys;
        CStringArray names;
        if (!GetSubFolders(key, keys, &names))
            throw CliError("the sub-folders of folder " + std::to_string(key) +
                           " could not be read");
        for (int i = keys.GetSize() - 1; i >= 0; --i)
            pending.emplace_back(keys[i], names[i], depth + 1);
    }
    return kExitOk;
}

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands{
        {"sample",
         "sample DB [--folders N] [--chunks M] [--seed S]",
         "Makes a new project database DB as the reference host does, with N nested folders\n"
         "(default 12) and M chunks (default 40) with pictures, texts and entries; the same seed\n"
         "(default 1) gives the same project. DB must not exist yet.\n",
         RunSample,
         {"DB"},
         {"--folders", "--chunks", "--seed"},
         {}},
        {"create-table",
         "create-table DB",
         "Creates the folder table EXPLORER with its root folder 0 in DB.\n",
         RunCreateTable,
         {"DB"},
         {},
         {}},
        {"mkdir",
         "mkdir DB NAME --in KEY [--key K]",
         "Creates folder NAME inside folder KEY (0: the root) and prints its key: K, or the next\n"
         "key of the project's folder counter.\n",
         RunMkdir,
         {"DB", "NAME"},
         {"--in", "--key"},
         {}},
        {"path",
         "path DB KEY",
         "Prints the path of folder KEY, as \\A\\B; the root's path is empty.\n",
         RunPath,
         {"DB", "KEY"},
         {},
         {}},
        {"ls",
         "ls DB KEY",
         "Lists the sub-folders of folder KEY, one \"key<TAB>name\" a line.\n",
         RunLs,
         {"DB", "KEY"},
         {},
         {}},
        {"exists",
         "exists DB KEY",
         "Prints yes and exits with 0 when folder KEY exists; prints no and exits with 1 when\n"
         "not.\n",
         RunExists,
         {"DB", "KEY"},
         {},
         {}},
        {"tree",
         "tree DB [--counts]",
         "Prints the folder tree from the root, two blanks of indent a level, one\n"
         "\"key<TAB>name\" a line; --counts adds a column with the number of chunks filed in\n"
         "each folder.\n",
         RunTree,
         {"DB"},
         {},
         {"--counts"}},
    };
    return commands;
}

void PrintUsage(std::ostream& out) {
    out << "usage: explorer-cli COMMAND ARGUMENTS...\n\n"
           "Reads and changes the folder tree of a project database and makes sample projects.\n\n"
           "commands:\n";
    for (const Command& command : Commands())
        out << "  " << command.synopsis << '\n';
    out << "\n'explorer-cli COMMAND --help' describes a command.\n"
           "Exit codes: 0 done, 1 no (exists of a missing folder), 2 bad input or failure.\n";
}

} // namespace

int Run(const std::vector<std::string>& args) {
    if (args.empty()) {
        PrintUsage(std::cerr);
        return kExitError;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(std::cout);
        return kExitOk;
    }

    StderrNotifier notifier;
    ScopedUserNotifier scope(notifier);
    try {
        for (const Command& command : Commands()) {
            if (args[0] != command.name)
                continue;
            const CommandLine line =
                ParseCommandLine(command.name, {args.begin() + 1, args.end()}, command.positional,
                                 command.valueOptions, command.flagOptions);
            if (line.help) {
                std::cout << "usage: explorer-cli " << command.synopsis << "\n\n"
                          << command.description;
                return kExitOk;
            }
            const int code = command.run(line);
            return notifier.reported() ? kExitError : code;
        }
        throw CliError("unknown command '" + args[0] + "'; see explorer-cli --help");
    } catch (const CliError& error) {
        std::cerr << "explorer-cli: " << error.what() << '\n';
    } catch (const CException& error) {
        std::cerr << "explorer-cli: " << error.GetErrorMessage().str() << '\n';
    } catch (const std::exception& error) {
        std::cerr << "explorer-cli: " << error.what() << '\n';
    }
    return kExitError;
}

} // namespace explorer_cli
