// Reading every member of a 50 MB archive, each into a new buffer, against a plain read of the
// same file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "storage/Bytes.h"
#include "storage/UPak.h"
#include "storage/VfsPAK.h"

namespace {

constexpr int kMembers = 400;
constexpr std::size_t kMemberSize = 128 * 1024;  // 400 x 128 KB = 50 MB

const std::string& ArchivePath() {
    static const std::string path = [] {
        std::string made = "/tmp/oplix_bench_XXXXXX.skt";
        const int fd = mkstemps(made.data(), 4);
        if (fd < 0) {
            std::abort();
        }
        close(fd);
        oplix::TVfsPAK archive;
        oplix::Bytes member(kMemberSize, 0);
        if (!oplix::CreateArchiveForWriting(made, archive)) {
            std::abort();
        }
        for (int i = 0; i < kMembers; ++i) {
            member[0] = static_cast<std::uint8_t>(i);
            if (!archive.AddMember("", "obraz" + std::to_string(i) + ".JPG", member)) {
                std::abort();
            }
        }
        std::atexit([] { unlink(ArchivePath().c_str()); });
        return made;
    }();
    return path;
}

void ArchiveReadEveryMember(benchmark::State& state) {
    const std::string& path = ArchivePath();
    for (auto _ : state) {
        oplix::TVfsPAK archive;
        if (!oplix::OpenArchiveForReading(path, archive)) {
            state.SkipWithError("cannot open the archive");
            return;
        }
        std::size_t total = 0;
        for (int i = 0; i < archive.Count(); ++i) {
            oplix::Result<oplix::Bytes> member = archive.ReadMember(i);
            total += member ? member->size() : 0;
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * kMembers * static_cast<std::int64_t>(kMemberSize));
}
BENCHMARK(ArchiveReadEveryMember)->Unit(benchmark::kMillisecond);

// The file read front to back in member-sized pieces into one reused buffer: no archive, no
// allocation, the least any reader of these bytes must do.
void PlainReadOfTheFile(benchmark::State& state) {
    const std::string& path = ArchivePath();
    oplix::Bytes buffer(kMemberSize, 0);
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_RDONLY);
        std::size_t total = 0;
        ssize_t count = 0;
        while ((count = read(fd, buffer.data(), buffer.size())) > 0) {
            total += static_cast<std::size_t>(count);
        }
        close(fd);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * kMembers * static_cast<std::int64_t>(kMemberSize));
}
BENCHMARK(PlainReadOfTheFile)->Unit(benchmark::kMillisecond);

}  // namespace
