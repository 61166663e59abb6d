#include "graph/GraphRenderer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <tuple>

#include "graph/FrequencyText.h"
#include "settings/SettingsRecord.h"

namespace quolix {

namespace {

// "ΔF=" with the Greek capital delta in CP932 (0x83 0xA2).
constexpr std::string_view DeltaF =
    "\x83\xA2"
    "F=";

int32_t ClampCoordinate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, -GraphRenderer::CoordinateLimit,
                                                    GraphRenderer::CoordinateLimit));
}

// Printed lines are three times as wide as on screen. Widths come from the
// settings file, so the product is saturated rather than left to overflow.
int32_t PrintedWidth(int32_t width) {
    const int64_t printed = static_cast<int64_t>(width) * 30 / 10;
    return static_cast<int32_t>(std::clamp<int64_t>(printed, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

GraphRenderer::GraphRenderer(int printing, Rect windowRect, const SettingsRecord& settings)
    : layout_(printing, windowRect), settings_(settings) {}

GraphPens GraphRenderer::MakePens() const {
    const auto pen = [this](int colourSlot, int widthSlot) {
        const int32_t width = settings_.Int(widthSlot);
        const Colour colour = static_cast<Colour>(settings_.Int(colourSlot));
        if (layout_.Printing() == 0) {
            return Pen{width, colour};
        }
        // Only a colour printer (exactly 1) gets the screen colours.
        const bool colourPrinter = settings_.Int(SettingsRecord::ColourPrinter) == 1;
        return Pen{PrintedWidth(width), colourPrinter ? colour : Colour{0}};
    };
    return GraphPens{
        pen(SettingsRecord::FrameColour, SettingsRecord::FrameWidth),
        pen(SettingsRecord::CentreColour, SettingsRecord::CentreWidth),
        pen(SettingsRecord::GridColour, SettingsRecord::GridWidth),
        pen(SettingsRecord::DataColour, SettingsRecord::DataWidth),
    };
}

void GraphRenderer::DrawCenterLine(DeviceContext& dc, const Pen& pen) const {
    dc.SelectPen(pen);
    dc.MoveTo(MapX(0), MapY(0));
    dc.LineTo(MapX(1000), MapY(0));
}

void GraphRenderer::DrawGrid(DeviceContext& dc, GraphScale scale, const Pen& pen) const {
    dc.SelectPen(pen);
    const int32_t n = scale.timeDivisions;
    if (n > 1) {
        for (int32_t i = 1; i < n; ++i) {
            const auto x = static_cast<int32_t>(static_cast<int64_t>(i) * 1000 / n);
            dc.MoveTo(MapX(x), MapY(1000));
            dc.LineTo(MapX(x), MapY(-1000));
        }
    }
    const int32_t m = scale.deviationDivisions;
    if (m > 1) {
        for (int32_t i = 1; i < m; ++i) {
            const auto y = static_cast<int32_t>(static_cast<int64_t>(i) * 1000 / m);
            dc.MoveTo(MapX(0), MapY(y));
            dc.LineTo(MapX(1000), MapY(y));
            dc.MoveTo(MapX(0), MapY(-y));
            dc.LineTo(MapX(1000), MapY(-y));
        }
    }
}

bool GraphRenderer::DataPoint(const GraphScale& scale, const SampleSeries& samples, int32_t i,
                              int32_t& x, int32_t& y) const {
    // A scale that cannot place samples (no samples, or a span that is not
    // positive) draws no data line at all.
    if (scale.sampleCount <= 0 || scale.timeSpan <= 0 || scale.deviationSpan <= 0 || i < 0 ||
        i >= scale.sampleCount) {
        return false;
    }
    const int64_t span = scale.timeSpan;
    // The x position is the sample's own time, not its distance from the
    // first sample. Everything is formed in 64 bits and clamped, so times and
    // readings of any 32-bit size stay drawable. The line starts on the
    // centre line at the first time.
    if (i == 0) {
        x = MapX(ClampCoordinate(int64_t{scale.firstTime} * 1000 / span));
        y = MapY(0);
        return true;
    }
    if (i >= samples.Count()) {
        return false;  // fewer samples than the scale says
    }
    const int32_t time = samples.times[static_cast<size_t>(i)];
    const int64_t deviation =
        int64_t{samples.readings[static_cast<size_t>(i)]} - scale.firstReading;
    x = MapX(ClampCoordinate(int64_t{time} * 1000 / span));
    y = MapY(ClampCoordinate(deviation * 1000 / scale.deviationSpan));
    return true;
}

void GraphRenderer::DrawDataLine(DeviceContext& dc, GraphScale scale, const Pen& pen,
                                 const SampleSeries& samples) const {
    int32_t x = 0;
    int32_t y = 0;
    if (!DataPoint(scale, samples, 0, x, y)) {
        return;
    }
    dc.SelectPen(pen);
    dc.MoveTo(x, y);
    for (int32_t i = 1; DataPoint(scale, samples, i, x, y); ++i) {
        dc.LineTo(x, y);
    }
}

void GraphRenderer::DrawFrame(DeviceContext& dc, const Pen& pen) const {
    dc.SelectPen(pen);
    dc.MoveTo(MapX(0), MapY(-1000));
    dc.LineTo(MapX(0), MapY(1000));
    dc.LineTo(MapX(1000), MapY(1000));
    dc.LineTo(MapX(1000), MapY(-1000));
    dc.LineTo(MapX(0), MapY(-1000));
}

void GraphRenderer::DrawLabels(DeviceContext& dc, const GraphScale& scale,
                               const Comments& comments) const {
    const Font baseFont = PageLayout::MakeFont(layout_.BaseFontSize());
    const Font previousFont = dc.SelectFont(baseFont);
    const int32_t h = dc.FontHeight(baseFont);
    const int32_t resolution = settings_.Int(SettingsRecord::Resolution);

    if (scale.sampleCount != 0) {
        std::string text = "Center Frequency=";
        text += FormatFrequency(scale.firstReading, resolution);
        text += "kHz ";
        dc.TextOut(MapX(0), MapY(1000) - h * 12 / 10, text);

        text = "Time=";
        text += scale.timeLabel;
        text += "/div    ";
        dc.TextOut(MapX(0), MapY(-1000) + h * 5 / 10, text);

        // The unit shows as the last nine characters of the shared frequency
        // text, cut in place.
        FormatFrequency(scale.deviationUnit, resolution);
        std::string& shared = FrequencyText();
        if (shared.size() > 9) {
            shared.erase(0, shared.size() - 9);
        }
        text = DeltaF;
        text += shared;
        text += "kHz/div    ";
        dc.TextOut(MapX(700), MapY(-1000) + h * 5 / 10, text);
    }

    dc.TextOut(MapX(0), MapY(1000) - h * 25 / 10, settings_.Text(SettingsRecord::Title1));
    dc.TextOut(MapX(600), MapY(1000) - h * 12 / 10, settings_.Text(SettingsRecord::Title2));
    // Only the first three comments belong to the picture.
    dc.TextOut(MapX(0), MapY(-1000) + h * 20 / 10, comments[0]);
    dc.TextOut(MapX(0), MapY(-1000) + h * 35 / 10, comments[1]);
    dc.TextOut(MapX(0), MapY(-1000) + h * 50 / 10, comments[2]);

    // Axis marks sit one mark-height left of the frame, centred on their line.
    const Font markFont = PageLayout::MakeFont(layout_.BaseFontSize() * 12 / 10);
    dc.SelectFont(markFont);
    const int32_t h2 = dc.FontHeight(markFont);
    const int32_t markX = MapX(0) - h2 * 10 / 10;
    dc.TextOut(markX, MapY(1000) - h2 * 5 / 10, "+");
    dc.TextOut(markX, MapY(-1000) - h2 * 5 / 10, "-");
    dc.TextOut(markX, MapY(0) - h2 * 5 / 10, "0");

    dc.SelectFont(previousFont);
}

void GraphRenderer::OnDraw(DeviceContext& dc, const GraphScale& scale, const SampleSeries& samples,
                           const Comments& comments,
                           const std::function<void()>& liveReadout) const {
    const GraphPens pens = MakePens();
    const Pen previousPen = dc.SelectPen(pens.frame);
    if (liveReadout) {
        liveReadout();
    }
    DrawCenterLine(dc, pens.centre);
    DrawGrid(dc, scale, pens.grid);
    DrawDataLine(dc, scale, pens.data, samples);
    DrawFrame(dc, pens.frame);
    dc.SelectPen(previousPen);
    DrawLabels(dc, scale, comments);
}

bool GraphRenderer::AddsOneSample(const GraphScale& drawn, const GraphScale& next) {
    const auto axes = [](const GraphScale& scale) {
        return std::tie(scale.firstReading, scale.firstTime, scale.timeSpan, scale.timeDivisions,
                        scale.timeLabel, scale.deviationSpan, scale.deviationDivisions,
                        scale.deviationUnit);
    };
    return drawn.sampleCount >= 1 && next.sampleCount == drawn.sampleCount + 1 &&
           axes(drawn) == axes(next);
}

void GraphRenderer::DrawNewSample(DeviceContext& dc, const GraphScale& scale,
                                  const SampleSeries& samples, const Comments& comments) const {
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = 0;
    int32_t y1 = 0;
    const int32_t last = scale.sampleCount - 1;
    if (!DataPoint(scale, samples, last - 1, x0, y0) || !DataPoint(scale, samples, last, x1, y1)) {
        return;
    }
    const GraphPens pens = MakePens();
    const Pen previousPen = dc.SelectPen(pens.data);
    dc.MoveTo(x0, y0);
    dc.LineTo(x1, y1);

    // The frame is drawn after the data line: its edges that the segment may
    // have touched go over it again, each as a whole paint draws it. Margins
    // cover half of either pen and a pixel of rounding.
    const auto reach = [](const Pen& pen) { return std::max(pen.width, 1) / 2 + 1; };
    const int32_t near = reach(pens.data) + reach(pens.frame);
    const int32_t left = std::min(x0, x1) - near;
    const int32_t right = std::max(x0, x1) + near;
    const int32_t top = std::min(y0, y1) - near;
    const int32_t bottom = std::max(y0, y1) + near;
    const std::array<std::array<int32_t, 2>, 5> corners = {{{MapX(0), MapY(-1000)},
                                                            {MapX(0), MapY(1000)},
                                                            {MapX(1000), MapY(1000)},
                                                            {MapX(1000), MapY(-1000)},
                                                            {MapX(0), MapY(-1000)}}};
    dc.SelectPen(pens.frame);
    for (size_t i = 1; i < corners.size(); ++i) {
        const auto [ax, ay] = corners[i - 1];
        const auto [bx, by] = corners[i];
        if (std::max(ax, bx) >= left && std::min(ax, bx) <= right && std::max(ay, by) >= top &&
            std::min(ay, by) <= bottom) {
            dc.MoveTo(ax, ay);
            dc.LineTo(bx, by);
        }
    }
    dc.SelectPen(previousPen);
    // The labels, too, lie over the data line; a device that knows which of
    // them are still shown as drawn skips those.
    DrawLabels(dc, scale, comments);
}

}  // namespace quolix
