// Reading every member of a ~20 MB pack through the engine's whole-file read, beside the same reads
// done straight with zziplib.
#include "BenchRatio.h"
#include "support/ZipWriter.h"
#include "tk2v/file/file.h"
#include "tk2v/platform/System.h"

#include <benchmark/benchmark.h>
#include <zzip/zzip.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>

namespace {

constexpr int kMembers = 320;

struct BenchPack {
    std::string folder;
    std::vector<std::string> members;
    size_t packBytes = 0;

    BenchPack() {
        std::string pattern = platform::tempDir() + "rvh-bench-XXXXXX";
        folder = std::string(mkdtemp(pattern.data())) + "/";
        const char* words[] = {"lantern ", "ledger ",  "alibi ", "footprint ", "cellar ", "ink ",
                               "pocket ",  "whisper ", "clock ", "ribbon ",    "key ",    "station "};
        std::mt19937 rng(7);
        ZipWriter zip;
        for (int i = 0; i < kMembers; ++i) {
            std::string name = (i % 3 ? "Images/" : "Sounds/") + std::to_string(i) + ".dat";
            std::string content;
            size_t size = 32 * 1024 + rng() % (128 * 1024);
            while (content.size() < size)
                content += rng() % 4 ? words[rng() % 12] : std::to_string(rng());
            zip.add(name, content, i % 2 ? ZipWriter::Method::Stored : ZipWriter::Method::Deflated);
            members.push_back(name);
        }
        zip.save(folder + "Pack.zip");
        // Dated back, as installed game data is, so the run sees a settled folder.
        timespec old{std::time(nullptr) - 3600, 0};
        timespec times[2] = {old, old};
        utimensat(AT_FDCWD, folder.c_str(), times, 0);
        packBytes = std::filesystem::file_size(folder + "Pack.zip");
    }
    ~BenchPack() {
        file_closePacks();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

BenchPack& pack() {
    static BenchPack p;
    return p;
}

void BM_EngineReadFull(benchmark::State& state) {
    BenchPack& p = pack();
    for (auto _ : state) {
        for (const std::string& m : p.members) {
            u32 size = 0;
            void* data = file_readFullAndMalloc(p.folder + "Pack/" + m, &size);
            benchmark::DoNotOptimize(data);
            std::free(data);
        }
    }
    state.counters["packMB"] = double(p.packBytes) / 1e6;
}

void BM_RawZziplib(benchmark::State& state) {
    BenchPack& p = pack();
    zzip_error_t error;
    ZZIP_DIR* dir = zzip_dir_open((p.folder + "Pack.zip").c_str(), &error);
    for (auto _ : state) {
        for (const std::string& m : p.members) {
            ZZIP_FILE* fp = zzip_file_open(dir, m.c_str(), 0);
            ZZIP_STAT st;
            zzip_file_stat(fp, &st);
            void* data = std::malloc(size_t(st.st_size));
            for (zzip_ssize_t done = 0, n = 1; done < st.st_size && n > 0; done += n)
                n = zzip_file_read(fp, static_cast<char*>(data) + done, zzip_size_t(st.st_size - done));
            benchmark::DoNotOptimize(data);
            std::free(data);
            zzip_file_close(fp);
        }
    }
    zzip_dir_close(dir);
}

BENCHMARK(BM_EngineReadFull)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5);
BENCHMARK(BM_RawZziplib)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    const double ours = figures["BM_EngineReadFull"].bestWall, raw = figures["BM_RawZziplib"].bestWall;
    if (ours > 0 && raw > 0)
        std::printf("best of 5: engine %.2f ms, raw zziplib %.2f ms, ratio %.3f (target <= 1.10)\n", ours,
                    raw, ours / raw);
    return 0;
}
