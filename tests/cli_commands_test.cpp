#include "host/project.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&m_actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&m_actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

class CliTest : public ::testing::Test {
protected:
    // Runs explorer-cli with `args`, its output caught in files of the test's directory.
    CliRun Run(const std::vector<std::string>& args) {
        const std::string out = dir.File("cli.out"), err = dir.File("cli.err");
        SpawnActions actions;
        posix_spawn_file_actions_addopen(actions.get(), 1, out.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(actions.get(), 2, err.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char*> argv{const_cast<char*>(EXPLORER_CLI_PATH)};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawn(&pid, EXPLORER_CLI_PATH, actions.get(), nullptr, argv.data(), environ) != 0)
            return {-1, "", "spawn failed"};
        int status = 0;
        waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadFile(out),
                ReadFile(err)};
    }

    // A host project without the folder table, as the host application makes it.
    std::string HostProject(const std::string& name = "projekt.db") {
        refhost::Project::Create(dir.File(name));
        return dir.File(name);
    }

    // A project with the folder table and the folders Bilder (1) > Reisen (2) and Archiv (3).
    std::string FolderProject(const std::string& name = "projekt.db") {
        const std::string db = HostProject(name);
        EXPECT_EQ(Run({"create-table", db}).code, 0);
        EXPECT_EQ(Run({"mkdir", db, "Bilder", "--in", "0"}).out, "1\n");
        EXPECT_EQ(Run({"mkdir", db, "Reisen", "--in", "1"}).out, "2\n");
        EXPECT_EQ(Run({"mkdir", db, "Archiv", "--in=0"}).out, "3\n");
        return db;
    }

    // Bad input: exit 2, nothing on standard output, one message naming the tool.
    void ExpectRefused(const CliRun& run, const std::string& text) {
        EXPECT_EQ(run.code, 2) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("explorer-cli: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
    }

    TempDir dir;
};

TEST_F(CliTest, HelpNamesEveryCommand) {
    const CliRun help = Run({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* command : {"sample", "create-table", "mkdir", "path", "ls", "exists", "tree"})
        EXPECT_NE(help.out.find(std::string("  ") + command + " "), std::string::npos) << command;
    EXPECT_EQ(Run({"-h"}).out, help.out);

    const CliRun mkdir = Run({"mkdir", "--help"});
    EXPECT_EQ(mkdir.code, 0);
    EXPECT_EQ(mkdir.out.rfind("usage: explorer-cli mkdir DB NAME --in KEY [--key K]\n", 0), 0u);
    EXPECT_EQ(Run({"tree", "x.db", "--help"}).code, 0);

    const CliRun nothing = Run({});
    EXPECT_EQ(nothing.code, 2);
    EXPECT_NE(nothing.err.find("usage:"), std::string::npos);
}

TEST_F(CliTest, FolderCommandsWorkOnTheLibrarysTable) {
    const std::string db = FolderProject();
    EXPECT_EQ(Run({"mkdir", db, "Größe", "--in", "2", "--key", "40"}).out, "40\n");
    // The counter moved past the key given, so drawn keys do not collide with it.
    EXPECT_EQ(Run({"mkdir", db, "Café", "--in", "2"}).out, "41\n");

    const CliRun path = Run({"path", db, "40"});
    EXPECT_EQ(path.code, 0);
    EXPECT_EQ(path.out, "\\Bilder\\Reisen\\Größe\n");
    EXPECT_EQ(Run({"path", db, "0"}).out, "\n");

    const CliRun ls = Run({"ls", db, "2"});
    EXPECT_EQ(ls.code, 0);
    EXPECT_EQ(ls.out, "40\tGröße\n41\tCafé\n");
    EXPECT_EQ(Run({"ls", db, "0"}).out, "1\tBilder\n3\tArchiv\n");
    EXPECT_EQ(Run({"ls", db, "41"}).out, "");

    const CliRun yes = Run({"exists", db, "41"});
    EXPECT_EQ(yes.code, 0);
    EXPECT_EQ(yes.out, "yes\n");
    const CliRun no = Run({"exists", db, "42"});
    EXPECT_EQ(no.code, 1);
    EXPECT_EQ(no.out, "no\n");
    EXPECT_EQ(no.err, "");

    // A second create-table is refused with the engine's message and leaves the table as it was.
    ExpectRefused(Run({"create-table", db}), "already exists");
    const CliRun tree = Run({"tree", db});
    EXPECT_EQ(tree.code, 0);
    EXPECT_EQ(tree.out, "0\tROOT\n"
                        "  1\tBilder\n"
                        "    2\tReisen\n"
                        "      40\tGröße\n"
                        "      41\tCafé\n"
                        "  3\tArchiv\n");
}

TEST_F(CliTest, BadFilesAreRefused) {
    ExpectRefused(Run({"ls", dir.File("fehlt.db"), "0"}), "no such file");
    EXPECT_FALSE(std::filesystem::exists(dir.File("fehlt.db")));
    ExpectRefused(Run({"tree", dir.path().string()}), "not a file");

    const std::string text = dir.File("notiz.txt");
    std::ofstream(text) << "Dies ist keine Datenbank, sondern eine Notiz über Größen.\n";
    ExpectRefused(Run({"exists", text, "0"}), "file is not a database");

    const std::string bare = HostProject();
    const std::string noFolderTable = "no table EXPLORER; run 'explorer-cli create-table' first";
    ExpectRefused(Run({"ls", bare, "0"}), noFolderTable);
    ExpectRefused(Run({"exists", bare, "0"}), noFolderTable);
    ExpectRefused(Run({"mkdir", bare, "Neu", "--in", "0"}), noFolderTable);
    ExpectRefused(Run({"tree", bare}), noFolderTable);

    // Without the host's collection record there is no counter to draw a key from; a key given
    // needs none.
    const std::string noCounter = FolderProject("ohne-zaehler.db");
    refhost::Project::Open(noCounter)->database().Execute("DROP TABLE COLLECTION");
    ExpectRefused(Run({"mkdir", noCounter, "Neu", "--in", "0"}),
                  "no table COLLECTION to draw folder keys from");
    EXPECT_EQ(Run({"mkdir", noCounter, "Neu", "--in", "0", "--key", "7"}).out, "7\n");
    EXPECT_EQ(Run({"ls", noCounter, "0"}).out, "1\tBilder\n3\tArchiv\n7\tNeu\n");
}

} // namespace
