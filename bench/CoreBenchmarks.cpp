// How fast the notebook's core works at its sizes, and how the page file
// compares with moving the same bytes without any conversion.
#include "core/desktop/UserDialogs.h"
#include "core/mainwindow/NotebookSearch.h"
#include "core/mainwindow/TextSearch.h"
#include "core/store/BusinessDataTier.h"
#include "core/store/CodePage.h"
#include "core/store/PageFile.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class YesDialogs : public UserDialogs {
public:
    bool askYesNo(const std::string&, const std::string&) override { return true; }
    void tell(const std::string&, const std::string&, Icon) override {}
};

YesDialogs dialogs;

BusinessDataTier storeWith(int pages)
{
    BusinessDataTier store(dialogs);
    for (int i = 1; i < pages; ++i)
        store.vor();
    store.erster();
    return store;
}

// The page-collection benchmarks take the number of pages as their argument.
void cursorArgs(benchmark::internal::Benchmark* b)
{
    b->Arg(1)->Arg(1000)->Arg(kMaxPages);
}

void BM_vor_zurueck(benchmark::State& state)
{
    BusinessDataTier store = storeWith(static_cast<int>(state.range(0)) + 1);
    for (auto _ : state) {
        store.vor();
        store.zurueck();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_vor_zurueck)->Apply(cursorArgs);

void BM_erster_letzter(benchmark::State& state)
{
    BusinessDataTier store = storeWith(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        store.erster();
        store.letzter();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_erster_letzter)->Apply(cursorArgs);

void BM_nachname_get(benchmark::State& state)
{
    BusinessDataTier store = storeWith(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        // What the window does with it: copies the page into its own text.
        std::u16string page(store.nachname());
        benchmark::DoNotOptimize(page);
    }
}
BENCHMARK(BM_nachname_get)->Apply(cursorArgs);

void BM_nachname_let(benchmark::State& state)
{
    BusinessDataTier store = storeWith(static_cast<int>(state.range(0)));
    const std::u16string texts[2] = {std::u16string(1500, u'a'), std::u16string(1500, u'b')};
    int i = 0;
    for (auto _ : state)
        store.nachname(texts[i++ & 1]);
}
BENCHMARK(BM_nachname_let)->Apply(cursorArgs);

void BM_neu_on_page_1(benchmark::State& state)
{
    // One page short of the limit, so that neu always has room.
    BusinessDataTier store = storeWith(std::min<int>(static_cast<int>(state.range(0)), kMaxPages - 1));
    for (auto _ : state) {
        store.erster();
        store.neu();
        state.PauseTiming();
        store.entferne();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_neu_on_page_1)->Apply(cursorArgs);

void BM_entferne_on_page_1(benchmark::State& state)
{
    BusinessDataTier store = storeWith(std::max<int>(2, static_cast<int>(state.range(0))));
    for (auto _ : state) {
        store.erster();
        store.entferne();
        state.PauseTiming();
        store.neu();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_entferne_on_page_1)->Apply(cursorArgs);

// ------------------------------------------------------------- page file

class FullNotebook : public benchmark::Fixture {
public:
    void SetUp(const benchmark::State&) override
    {
        if (!folder.empty())
            return;
        char pattern[] = "/tmp/kelmo-bench-XXXXXX";
        folder = ::mkdtemp(pattern);
        fs::current_path(folder);
        std::string page(PageFile::kRecordSize, ' ');
        for (std::size_t i = 0; i < page.size(); ++i)
            page[i] = static_cast<char>(0x20 + i % 95);
        std::ofstream out(PageFile::kName, std::ios::binary);
        for (int i = 0; i < kMaxPages; ++i)
            out.write(page.data(), static_cast<std::streamsize>(page.size()));
    }
    static std::string folder;
};
std::string FullNotebook::folder;

constexpr std::size_t kFileSize = static_cast<std::size_t>(kMaxPages) * PageFile::kRecordSize;

BENCHMARK_F(FullNotebook, leseDatei)(benchmark::State& state)
{
    for (auto _ : state) {
        BusinessDataTier store(dialogs);
        if (store.leseDatei(PageFile::kName))
            state.SkipWithError("cannot read");
        benchmark::DoNotOptimize(store.pageCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

BENCHMARK_F(FullNotebook, raw_read)(benchmark::State& state)
{
    std::vector<char> bytes(kFileSize);
    for (auto _ : state) {
        const int fd = ::open(PageFile::kName, O_RDONLY);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

// The same, into memory taken afresh, as any program that reads a file must.
BENCHMARK_F(FullNotebook, raw_read_fresh)(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<char[]> bytes(new char[kFileSize]);
        const int fd = ::open(PageFile::kName, O_RDONLY);
        std::size_t done = 0;
        while (done < kFileSize) {
            const ssize_t n = ::read(fd, bytes.get() + done, kFileSize - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(bytes.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

// The same, into memory taken as the notebook takes it: one block, in huge
// pages where there are such.
BENCHMARK_F(FullNotebook, raw_read_block)(benchmark::State& state)
{
    for (auto _ : state) {
        void* memory = ::mmap(nullptr, kFileSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ::madvise(memory, kFileSize, MADV_HUGEPAGE);
        auto* bytes = static_cast<char*>(memory);
        const int fd = ::open(PageFile::kName, O_RDONLY);
        std::size_t done = 0;
        while (done < kFileSize) {
            const ssize_t n = ::read(fd, bytes + done, kFileSize - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(bytes);
        ::munmap(memory, kFileSize);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

BENCHMARK_F(FullNotebook, schreibeDatei)(benchmark::State& state)
{
    BusinessDataTier store(dialogs);
    if (store.leseDatei(PageFile::kName))
        state.SkipWithError("cannot read");
    for (auto _ : state)
        if (store.schreibeDatei("Kelmo-Note"))
            state.SkipWithError("cannot write");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

BENCHMARK_F(FullNotebook, raw_write_sync_rename)(benchmark::State& state)
{
    std::vector<char> bytes(kFileSize, 'x');
    for (auto _ : state) {
        const int fd = ::open("raw.tmp", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::fsync(fd);
        ::close(fd);
        ::rename("raw.tmp", "raw.kel");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

// ------------------------------------------------------------------ search

void BM_search_full_page(benchmark::State& state)
{
    std::u16string text;
    while (text.size() < kPageLength)
        text += u"The quick brown fox jumps over the lazy dog. ";
    text.resize(kPageLength);
    const bool matchCase = state.range(0) != 0;
    for (auto _ : state) {
        // Not there: the search runs through the whole page.
        const auto result = TextSearch::next(text, u"Lazy Cat", matchCase, {});
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_search_full_page)->ArgName("matchCase")->Arg(0)->Arg(1);

// 32767 pages of text, as a notebook of years holds them.
PageList fullOfText()
{
    PageList pages = PageList::inBlock(static_cast<std::size_t>(kMaxPages));
    std::string text;
    while (text.size() < kPageLength)
        text += "The quick brown fox jumps over the lazy dog. ";
    for (std::size_t i = 0; i < pages.size(); ++i)
        std::copy(text.begin(), text.begin() + kPageLength, pages.blockBytes() + i * kPageLength);
    return pages;
}

// A word on no page: every page is searched to its end.
void BM_find_in_all_pages(benchmark::State& state)
{
    static const PageList pages = fullOfText();
    const bool matchCase = state.range(0) != 0;
    // Its first letter stands on every line, so the search cannot skip ahead.
    const std::string term = NotebookSearch::termBytes(u"lazy cat", CodePage::system());
    for (auto _ : state)
        benchmark::DoNotOptimize(NotebookSearch::find(pages, term, matchCase, CodePage::system()));
}
BENCHMARK(BM_find_in_all_pages)->ArgName("matchCase")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What finding it costs at the least: memmem over the same 65 MB.
void BM_memmem_all_pages(benchmark::State& state)
{
    static const PageList pages = fullOfText();
    for (auto _ : state) {
        for (std::size_t i = 0; i < pages.size(); ++i)
            benchmark::DoNotOptimize(::memmem(pages[i].inhalt.data(), kPageLength, "lazy cat", 8));
    }
}
BENCHMARK(BM_memmem_all_pages)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
