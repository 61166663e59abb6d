#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <benchmark/benchmark.h>

#include "link/ReplyParser.h"

namespace {

// A day's worth of counter traffic in miniature: 8-character readings with
// CR LF, one in 50 malformed, cut into drains of at most 1024 bytes.
std::vector<uint8_t> ReplyStream(size_t replies) {
    std::vector<uint8_t> stream;
    stream.reserve(replies * 11);
    for (size_t i = 0; i < replies; ++i) {
        char text[16];
        const int reading = 10'000'000 + static_cast<int>(i % 997) - 498;
        const bool malformed = i % 50 == 49;
        const int length = malformed ? std::snprintf(text, sizeof text, "%07d\r\n", reading / 10)
                                     : std::snprintf(text, sizeof text, "%08d\r\n", reading);
        stream.insert(stream.end(), text, text + length);
    }
    return stream;
}

void BM_ReplyParserDrains(benchmark::State& state) {
    const std::vector<uint8_t> stream = ReplyStream(100'000);
    quolix::ReplyParser parser;
    int32_t reading = 0;
    for (auto _ : state) {
        int completed = 0;
        for (size_t offset = 0; offset < stream.size(); offset += 1024) {
            const size_t count = std::min<size_t>(1024, stream.size() - offset);
            completed += parser.Feed(stream.data() + offset, count, reading);
        }
        benchmark::DoNotOptimize(completed);
        benchmark::DoNotOptimize(reading);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(stream.size()));
}
BENCHMARK(BM_ReplyParserDrains);

// Line noise: long runs of printable bytes that never form a reply.
void BM_ReplyParserOverlongRuns(benchmark::State& state) {
    std::vector<uint8_t> stream(1 << 20, 'x');
    for (size_t i = 4000; i < stream.size(); i += 4001) {
        stream[i] = '\r';
    }
    quolix::ReplyParser parser;
    int32_t reading = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parser.Feed(stream.data(), stream.size(), reading));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(stream.size()));
}
BENCHMARK(BM_ReplyParserOverlongRuns);

}  // namespace
