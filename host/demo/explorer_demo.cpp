// explorer-demo: opens the browser dialog on a reference-host project with the wxWidgets backend,
// as an authoring application would, and prints what the host received.
//
//   explorer-demo DB [--mode folder|target|chunk|saveas] [--folder KEY] [--chunk KEY]
//                    [--name TEXT] [--screenshot FILE]
//
// With --screenshot the dialog is saved as a PNG after its first paint and then cancelled.
#include "host/chunk_list.h"
#include "host/host.h"
#include "host/project.h"
#include "interface/explorer.h"
#include "platform/window.h"
#include "platform/window_system.h"
#include "platform/wx/wx_backend.h"
#include "store/chunk_records.h"
#include "store/folder_records.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

struct Options {
    std::string database;
    std::string mode = "chunk";
    std::optional<std::uint32_t> folder;
    std::uint32_t chunk = kNone;
    std::string name;
    std::string screenshot;
};

[[noreturn]] void Usage(const std::string& problem) {
    if (!problem.empty())
        std::cerr << "explorer-demo: " << problem << '\n';
    std::cerr << "usage: explorer-demo DB [--mode folder|target|chunk|saveas] [--folder KEY]\n"
                 "                        [--chunk KEY] [--name TEXT] [--screenshot FILE]\n";
    std::exit(2);
}

std::uint32_t ParseKey(const std::string& text) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value > 0xFFFFFFFFull)
        Usage("not a key: " + text);
    return static_cast<std::uint32_t>(value);
}

Options Parse(int argc, char** argv) {
    Options options;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= args.size())
                Usage(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--mode")
            options.mode = value();
        else if (arg == "--folder")
            options.folder = ParseKey(value());
        else if (arg == "--chunk")
            options.chunk = ParseKey(value());
        else if (arg == "--name")
            options.name = value();
        else if (arg == "--screenshot")
            options.screenshot = value();
        else if (arg == "--help" || arg == "-h")
            Usage("");
        else if (!arg.empty() && arg[0] == '-')
            Usage("unknown option " + arg);
        else if (options.database.empty())
            options.database = arg;
        else
            Usage("one database only");
    }
    if (options.database.empty())
        Usage("no database given");
    if (options.mode != "folder" && options.mode != "target" && options.mode != "chunk" &&
        options.mode != "saveas")
        Usage("unknown mode " + options.mode);
    return options;
}

std::string Key(std::uint32_t key) {
    return key == kNone ? "none" : std::to_string(key);
}

// The start folder when none is given: the one holding the most stills, so that the list shows
// something worth looking at.
std::uint32_t DefaultFolder() {
    std::uint32_t best = 0;
    int bestCount = -1;
    std::vector<FolderId> pending{0};
    while (!pending.empty()) {
        const FolderId folder = pending.back();
        pending.pop_back();
        CDWordArray chunks;
        GetFolderChunks(folder, chunks, nullptr);
        if (folder != 0 && chunks.GetSize() > bestCount) {
            best = folder;
            bestCount = chunks.GetSize();
        }
        CDWordArray children;
        GetSubFolders(folder, children, nullptr);
        for (int i = children.GetSize() - 1; i >= 0; --i)
            pending.push_back(children[i]);
    }
    return best;
}

void PrintChunkList(void* block) {
    if (!block) {
        std::cout << "picked chunks: none (single choice)\n";
        return;
    }
    const std::vector<std::uint32_t> keys = refhost::TakeChunkList(block);
    std::cout << "picked chunks (block of " << keys.size() << "):";
    for (std::uint32_t key : keys)
        std::cout << ' ' << key;
    std::cout << '\n';
}

int Run(const Options& options) {
    std::unique_ptr<refhost::Project> project = refhost::Project::Open(options.database);
    refhost::Host host(project->database());
    if (!EXPL_Init(&project->database(), refhost::Host::Callbacks(), 0)) {
        std::cerr << "explorer-demo: the library could not be initialised\n";
        return 1;
    }
    std::string error;
    std::unique_ptr<wxui::WxInstallation> toolkit = wxui::InstallWxBackend(&error);
    if (!toolkit) {
        std::cerr << "explorer-demo: " << error << '\n';
        return 1;
    }
    bool shot = false;
    if (!options.screenshot.empty()) {
        toolkit->Backend().SetPaintObserver([&](HWND window) {
            WindowData* data = winsys::Live(window);
            if (shot || !data || data->kind != WindowKind::Dialog)
                return;
            shot = true;
            if (!toolkit->Backend().SaveWindowImage(window, options.screenshot))
                std::cerr << "explorer-demo: could not write " << options.screenshot << '\n';
            else
                std::cout << "screenshot: " << options.screenshot << '\n';
            CWnd::FromHandle(window)->PostMessage(WM_COMMAND, IDCANCEL);
        });
    }

    std::uint32_t folder = options.folder ? *options.folder : DefaultFolder();
    const std::string title = "Tarvosil Explorer";
    std::cout << "mode " << options.mode << ", start folder " << Key(folder) << '\n';
    int result = 0;
    if (options.mode == "folder") {
        std::uint32_t item = kNone;
        result = EXPL_GetFolder(item, folder, title.c_str());
        if (result)
            std::cout << "host received: folder " << Key(item) << ", current folder " << Key(folder)
                      << '\n';
    } else if (options.mode == "target") {
        std::uint32_t item = kNone;
        std::uint32_t entry = kNone;
        result = EXPL_GetTarget(item, entry, folder, title.c_str());
        if (result)
            std::cout << "host received: chunk " << Key(item) << ", entry " << Key(entry)
                      << ", folder " << Key(folder) << '\n';
    } else if (options.mode == "chunk") {
        std::uint32_t chunk = kNone;
        int readOnlyCheck = 0;
        void* chunkList = nullptr;
        result = EXPL_GetChunk(chunk, readOnlyCheck, folder, chunkList, title.c_str());
        if (result) {
            std::cout << "host received: chunk " << Key(chunk) << ", folder " << Key(folder)
                      << ", read-only check " << readOnlyCheck << '\n';
            PrintChunkList(chunkList);
        }
    } else {
        std::uint32_t chunk = options.chunk;
        CString name(options.name.c_str());
        result = EXPL_ChunkSaveAs(chunk, name, folder, title.c_str());
        if (result)
            std::cout << "host received: save as \"" << name.c_str() << "\" in folder "
                      << Key(folder) << ", chunk " << Key(chunk) << '\n';
    }
    if (!result)
        std::cout << "cancelled: the host received nothing\n";
    if (!options.screenshot.empty() && !shot) {
        std::cerr << "explorer-demo: the dialog was never painted\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const Options options = Parse(argc, argv);
    try {
        return Run(options);
    } catch (const CException& error) {
        std::cerr << "explorer-demo: " << options.database << ": "
                  << error.GetErrorMessage().c_str() << '\n';
    } catch (const std::exception& error) {
        std::cerr << "explorer-demo: " << error.what() << '\n';
    }
    return 1;
}
