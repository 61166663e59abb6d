#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "framework/DeviceContext.h"
#include "framework/Rect.h"
#include "graph/GraphScale.h"
#include "graph/PageLayout.h"
#include "graph/SampleSeries.h"

namespace quolix {

class SettingsRecord;

// The four pens of one paint.
struct GraphPens {
    Pen frame;
    Pen centre;
    Pen grid;
    Pen data;
};

// Draws the deviation graph for one paint, on screen (printing 0) or on a
// printer page (printing not 0), laid out by PageLayout. It only reads what
// it is given.
class GraphRenderer {
  public:
    // Data coordinates are clamped to this many units either side, far enough
    // outside the frame to be invisible and near enough that MapX and MapY
    // cannot overflow 32 bits for any window up to 40000 pixels.
    static constexpr int32_t CoordinateLimit = 100000;

    // The document's five comment lines; the picture shows the first three.
    using Comments = std::array<std::string, 5>;

    // settings is the view's record and must outlive the renderer, which
    // lives for one paint.
    GraphRenderer(int printing, Rect windowRect, const SettingsRecord& settings);
    GraphRenderer(int printing, Rect windowRect, SettingsRecord&& settings) = delete;

    const PageLayout& Layout() const { return layout_; }
    GraphPens MakePens() const;

    void DrawCenterLine(DeviceContext& dc, const Pen& pen) const;
    void DrawGrid(DeviceContext& dc, GraphScale scale, const Pen& pen) const;
    void DrawDataLine(DeviceContext& dc, GraphScale scale, const Pen& pen,
                      const SampleSeries& samples) const;
    void DrawFrame(DeviceContext& dc, const Pen& pen) const;
    void DrawLabels(DeviceContext& dc, const GraphScale& scale, const Comments& comments) const;

    // One whole paint of the samples on the given scale; liveReadout, when
    // given, is the view's readout, drawn before the graph.
    void OnDraw(DeviceContext& dc, const GraphScale& scale, const SampleSeries& samples,
                const Comments& comments, const std::function<void()>& liveReadout) const;

    // The picture of one sample more on the same axes: dc shows a whole paint
    // of the same scale with one sample less. Draws the data line's last
    // segment and again what a whole paint draws over it (the frame's edges
    // near it, the labels), so that the pixels equal a whole paint's.
    void DrawNewSample(DeviceContext& dc, const GraphScale& scale, const SampleSeries& samples,
                       const Comments& comments) const;
    // True when a whole paint of next may be had by DrawNewSample over one of
    // drawn: same axes and labels, one sample more.
    static bool AddsOneSample(const GraphScale& drawn, const GraphScale& next);

  private:
    // Where the data line passes the sample at index i; false when the scale
    // places no sample there.
    bool DataPoint(const GraphScale& scale, const SampleSeries& samples, int32_t i, int32_t& x,
                   int32_t& y) const;

    int32_t MapX(int32_t x) const { return layout_.MapX(x); }
    int32_t MapY(int32_t y) const { return layout_.MapY(y); }

    PageLayout layout_;
    const SettingsRecord& settings_;
};

}  // namespace quolix
