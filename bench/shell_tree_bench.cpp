// The folder tree with a folder of 10,000 subfolders on /tmp: reading the folder alone (and,
// as the baseline, reading it the naive way: listing every child to see whether it has
// subfolders), expanding its node for the first time and again (reading it and building or merging
// its child nodes, then the view's layout and painting), and a path write deep below it.
//
// usage: shell_tree_bench [--benchmark_...]
#include "gui/panes/core/folder_reader.h"
#include "gui/panes/folder_tree.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;
using tralvo::FolderTree;

constexpr int Subfolders = 10'000;

// root/big/d00000 .. d09999, and root/big/d05000/a/b/c/d/e.
class BigFolder {
public:
    BigFolder() {
        std::string pattern = "/tmp/tralvo-tree-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        root = pattern;
        big = root + "/big";
        fs::create_directory(big);
        char name[16];
        for (int i = 0; i < Subfolders; ++i) {
            std::snprintf(name, sizeof name, "/d%05d", i);
            fs::create_directory(big + name);
        }
        deep = big + "/d05000/a/b/c/d/e";
        fs::create_directories(deep);
    }
    ~BigFolder() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    BigFolder(const BigFolder&) = delete;
    BigFolder& operator=(const BigFolder&) = delete;

    std::string root;
    std::string big;
    std::string deep;
};

BigFolder& Folder() {
    static BigFolder folder;
    return folder;
}

std::unique_ptr<FolderTree> TreeOnRoot() {
    auto tree = std::make_unique<FolderTree>();
    tree->resize(300, 600);
    tree->show();
    tree->SetRootDir(Folder().root);
    QCoreApplication::processEvents();
    return tree;
}

QModelIndex BigNode(const FolderTree& tree) {
    return tree.model()->index(0, 0, tree.model()->index(0, 0));
}

void ReadSubfolders(benchmark::State& state) {
    std::vector<tralvo::Subfolder> subfolders;
    for (auto _ : state) {
        (void)tralvo::ReadSubfolders(tralvo::SystemFileSystem(), Folder().big, {}, {}, subfolders);
        benchmark::DoNotOptimize(subfolders.data());
    }
    state.counters["folders"] = static_cast<double>(subfolders.size());
}

void ReadListingEveryChild(benchmark::State& state) {
    tralvo::FileSystem& fs = tralvo::SystemFileSystem();
    std::vector<tralvo::DirectoryEntry> entries;
    std::vector<tralvo::DirectoryEntry> grandchildren;
    for (auto _ : state) {
        (void)fs.Enumerate(Folder().big, tralvo::EnumerateFilter::FilesAndFolders, false, entries);
        int expandable = 0;
        for (const tralvo::DirectoryEntry& entry : entries) {
            (void)fs.Enumerate(Folder().big + "/" + entry.name,
                               tralvo::EnumerateFilter::FilesAndFolders, false, grandchildren);
            expandable += grandchildren.empty() ? 0 : 1;
        }
        benchmark::DoNotOptimize(expandable);
    }
}

void ExpandFirstTime(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<FolderTree> tree = TreeOnRoot();
        state.ResumeTiming();
        tree->expand(BigNode(*tree));
        QCoreApplication::processEvents(); // the view's layout and painting
        state.PauseTiming();
        if (tree->model()->rowCount(BigNode(*tree)) != Subfolders) {
            state.SkipWithError("the node did not get its children");
        }
        tree.reset();
        state.ResumeTiming();
    }
}

void ExpandAgain(benchmark::State& state) {
    std::unique_ptr<FolderTree> tree = TreeOnRoot();
    tree->expand(BigNode(*tree));
    for (auto _ : state) {
        state.PauseTiming();
        tree->collapse(BigNode(*tree));
        QCoreApplication::processEvents();
        state.ResumeTiming();
        tree->expand(BigNode(*tree)); // reads the folder again and merges
        QCoreApplication::processEvents();
    }
}

void PathWriteDeep(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<FolderTree> tree = TreeOnRoot();
        state.ResumeTiming();
        tree->SetPath(Folder().deep);
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (tree->Path() != Folder().deep) {
            state.SkipWithError("the deep folder was not selected");
        }
        tree.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(ReadSubfolders)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadListingEveryChild)->Unit(benchmark::kMillisecond);
BENCHMARK(ExpandFirstTime)->Unit(benchmark::kMillisecond);
BENCHMARK(ExpandAgain)->Unit(benchmark::kMillisecond);
BENCHMARK(PathWriteDeep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    Folder(); // made before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
