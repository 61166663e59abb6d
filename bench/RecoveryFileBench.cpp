#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "acquisition/CQuolixDoc.h"
#include "base/ReplacementFile.h"
#include "framework/RecoveryFile.h"

namespace quolix {
namespace {

int64_t bytesWritten = 0;
int64_t fsyncCount = 0;
ssize_t CountedWrite(int fd, const void* bytes, size_t size) {
    const ssize_t written = ::write(fd, bytes, size);
    bytesWritten += written > 0 ? written : 0;
    return written;
}
int CountedFsync(int fd) {
    ++fsyncCount;
    return ::fsync(fd);
}

// The kernel's count of this process's bytes bound for the disk: pages it
// dirtied (each once until written back, whichever call dirtied them) less
// those that were dropped unwritten with their file.
int64_t DiskBytes() {
    std::ifstream io("/proc/self/io");
    std::string name;
    int64_t value = 0;
    int64_t bytes = 0;
    for (int line = 0; line < 16 && io >> name >> value; ++line) {
        if (name == "write_bytes:") {
            bytes += value;
        } else if (name == "cancelled_write_bytes:") {
            bytes -= value;
        }
    }
    return bytes;
}

// One hour of recording from its start, second by second, as the view
// samples it (interval from the document after each sample); with keep, the
// recovery copy is brought up to date after each sample, on the disk of the
// temporary folder, the clock being the recording's own seconds.
void RecordOneHour(bool keep, benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "quolix-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const ReplacementFile::ScopedSystemCalls counted({CountedWrite, CountedFsync, ::rename});
    bytesWritten = 0;
    fsyncCount = 0;
    int64_t samples = 0;
    const int64_t diskBefore = DiskBytes();
    for (auto _ : state) {
        CQuolixDoc doc;
        int64_t now = 0;
        RecoveryFile recovery(folder, [&now] { return now; });
        int32_t interval = 1;
        int32_t sinceSample = 0;
        for (int32_t second = 0; second < 3600; ++second) {
            now = second;
            if (++sinceSample < interval && second != 0) {
                continue;
            }
            sinceSample = 0;
            doc.Append(second, 1234567 + second % 11);
            ++samples;
            interval = doc.ChooseInterval();
            if (keep) {
                recovery.Update(doc);
            }
        }
        doc.SetModifiedFlag(false);
        recovery.Update(doc);
    }
    const int64_t disk = DiskBytes() - diskBefore;
    std::filesystem::remove_all(folder);
    const auto hours = static_cast<double>(state.iterations());
    state.counters["replaced_bytes_per_hour"] = static_cast<double>(bytesWritten) / hours;
    state.counters["disk_bytes_per_hour"] = static_cast<double>(disk) / hours;
    state.counters["fsyncs_per_hour"] = static_cast<double>(fsyncCount) / hours;
    state.counters["samples_per_hour"] = static_cast<double>(samples) / hours;
}

void BM_HourWithoutRecoveryCopy(benchmark::State& state) {
    RecordOneHour(false, state);
}
BENCHMARK(BM_HourWithoutRecoveryCopy)->Unit(benchmark::kMillisecond);

void BM_HourWithRecoveryCopy(benchmark::State& state) {
    RecordOneHour(true, state);
}
BENCHMARK(BM_HourWithRecoveryCopy)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quolix
