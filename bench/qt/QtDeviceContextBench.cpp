// Cost of one full-screen paint through the painter-backed device context:
// the data line's 2040 segments and a dozen texts into a 1920 x 1080 image.
#include <array>
#include <string>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "framework/qt/QtDeviceContext.h"

namespace quolix {
namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;
constexpr int Segments = 2040;
// "ＭＳ Ｐゴシック" in CP932.
const std::string Face = "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";

// amplitude: the vertical swing of the noise in pixels. 400 is a worst case
// of long steep segments; a few pixels is a typical slowly drifting record.
void DrawDataLine(DeviceContext& dc, int32_t penWidth, int32_t amplitude) {
    dc.SelectPen(Pen{penWidth, 0x00FF0000});
    dc.MoveTo(80, Height / 2);
    for (int i = 1; i <= Segments; ++i) {
        // Every segment changes direction, the worst case for joins.
        const int32_t x = 80 + i * (Width - 160) / Segments;
        const int32_t y = Height / 2 + ((i * 7919) % (amplitude + 1)) - amplitude / 2 - i / 20;
        dc.LineTo(x, y);
    }
}

void DrawTexts(DeviceContext& dc) {
    // Two titles, centre frequency, divisions, three comments, axis marks, readout.
    static const std::array<std::string, 12> texts = {
        "Quolix Frequency Counter",
        "( Frequency Data Logger )",
        "10,000,000.0 kHz",
        "1 day",
        "0.1 Hz/div",
        "default data",
        "default data",
        "default data",
        "+",
        "0",
        "-",
        "\x82\x51\x82\x4F\x82\x51\x82\x54\x94\x4E 123,456.7 kHz"};
    const std::array<Font, 2> fonts = {Font{225, Face}, Font{150, Face}};
    for (size_t i = 0; i < texts.size(); ++i) {
        dc.SelectFont(fonts[i % 2]);
        dc.TextOut(100 + static_cast<int32_t>(i) * 30, 40 + static_cast<int32_t>(i) * 70, texts[i]);
    }
}

template <typename Draw>
void Paint(benchmark::State& state, Draw draw) {
    QImage image(Width, Height, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        {
            QtDeviceContext dc(painter, 96);
            draw(dc);
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_FillOnly(benchmark::State& state) {
    Paint(state, [](DeviceContext&) {});
}
BENCHMARK(BM_FillOnly)->Unit(benchmark::kMicrosecond);

// Arguments: pen width, amplitude.
void BM_DataLine(benchmark::State& state) {
    const auto width = static_cast<int32_t>(state.range(0));
    const auto amplitude = static_cast<int32_t>(state.range(1));
    Paint(state, [=](DeviceContext& dc) { DrawDataLine(dc, width, amplitude); });
    state.SetItemsProcessed(state.iterations() * Segments);
}
BENCHMARK(BM_DataLine)
    ->ArgsProduct({{0, 1, 3}, {8, 400}})
    ->ArgNames({"width", "swing"})
    ->Unit(benchmark::kMicrosecond);

void BM_TwelveTexts(benchmark::State& state) {
    Paint(state, [](DeviceContext& dc) { DrawTexts(dc); });
}
BENCHMARK(BM_TwelveTexts)->Unit(benchmark::kMicrosecond);

void BM_GraphPaint(benchmark::State& state) {
    Paint(state, [](DeviceContext& dc) {
        DrawDataLine(dc, 1, 8);
        DrawTexts(dc);
    });
}
BENCHMARK(BM_GraphPaint)->Unit(benchmark::kMicrosecond);

void BM_GraphPaintSteep(benchmark::State& state) {
    Paint(state, [](DeviceContext& dc) {
        DrawDataLine(dc, 1, 400);
        DrawTexts(dc);
    });
}
BENCHMARK(BM_GraphPaintSteep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quolix

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    quolix::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
