#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "acquisition/CQuolixDoc.h"
#include "framework/Archive.h"
#include "framework/DocumentFile.h"

namespace quolix {
namespace {

void FillRecording(CQuolixDoc& doc, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        doc.times[static_cast<size_t>(i)] = i * 4;
        doc.readings[static_cast<size_t>(i)] = 1234567 + (i % 97) - 48;
    }
    doc.count = count;
    doc.comments = {"\x8b\x4c\x98\x5e comment line one", "comment line two", "comment line three",
                    "", ""};
}

// An append below the limit: store the pair, no decimation.
void BM_AppendPlain(benchmark::State& state) {
    CQuolixDoc doc;
    for (auto _ : state) {
        if (doc.count >= CQuolixDoc::SampleLimit - 1) {
            doc.count = 0;
        }
        doc.Append(doc.count, 1234567);
    }
    benchmark::DoNotOptimize(doc.count);
}
BENCHMARK(BM_AppendPlain);

// The append that finds 2040 samples and thins them to 1021. Setting the
// count back is all it takes to repeat it: the times stay far below the
// last interval, so every round decimates again.
void BM_AppendDecimating(benchmark::State& state) {
    CQuolixDoc doc;
    FillRecording(doc, CQuolixDoc::SampleLimit);
    for (auto _ : state) {
        doc.count = CQuolixDoc::SampleLimit;
        doc.Append(CQuolixDoc::SampleLimit * 4, 1234567);
        benchmark::DoNotOptimize(doc.times.data());
    }
}
BENCHMARK(BM_AppendDecimating);

void BM_SerializeStore2100(benchmark::State& state) {
    CQuolixDoc doc;
    FillRecording(doc, CQuolixDoc::SampleCapacity);
    size_t size = 0;
    for (auto _ : state) {
        Archive archive = Archive::ForStoring();
        doc.Serialize(archive);
        size = archive.Bytes().size();
        benchmark::DoNotOptimize(archive.Bytes().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_SerializeStore2100);

void BM_SerializeLoad2100(benchmark::State& state) {
    CQuolixDoc source;
    FillRecording(source, CQuolixDoc::SampleCapacity);
    Archive out = Archive::ForStoring();
    source.Serialize(out);
    const std::vector<uint8_t> bytes = out.TakeBytes();
    CQuolixDoc doc;
    for (auto _ : state) {
        Archive archive = Archive::ForLoading(bytes);
        doc.Serialize(archive);
        if (archive.Failed()) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(doc.count);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_SerializeLoad2100);

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quolix-bench-XXXXXX");
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ignored);
        }
    }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// Through the file commands: includes the fsync that makes a save durable,
// which dominates and depends on the disk.
void BM_DocumentFileSave2100(benchmark::State& state) {
    const TempFolder folder;
    CQuolixDoc doc;
    FillRecording(doc, CQuolixDoc::SampleCapacity);
    const std::string path = folder.Path() + "/bench.qlx";
    for (auto _ : state) {
        if (!docfile::SaveAs(doc, path).ok) {
            state.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(BM_DocumentFileSave2100)->Unit(benchmark::kMicrosecond);

void BM_DocumentFileOpen2100(benchmark::State& state) {
    const TempFolder folder;
    CQuolixDoc source;
    FillRecording(source, CQuolixDoc::SampleCapacity);
    const std::string path = folder.Path() + "/bench.qlx";
    if (!docfile::SaveAs(source, path).ok) {
        state.SkipWithError("save failed");
        return;
    }
    CQuolixDoc doc;
    for (auto _ : state) {
        if (!docfile::Open(doc, path).ok) {
            state.SkipWithError("open failed");
            break;
        }
    }
}
BENCHMARK(BM_DocumentFileOpen2100)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quolix
