#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "acquisition/CQuolixDoc.h"
#include "framework/DeviceContext.h"
#include "framework/Rect.h"
#include "graph/GraphScale.h"

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
// printer page (printing not 0). Graph coordinates: x from 0 (left edge) to
// 1000 (right edge) along time, y from -1000 (bottom) to 1000 (top) along the
// deviation, 0 on the centre line.
class GraphRenderer {
  public:
    // "ＭＳ Ｐゴシック" in CP932: the face of every font of the graph and the
    // live readout.
    static constexpr std::string_view FontFace =
        "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
    // Data coordinates are clamped to this many units either side, far enough
    // outside the frame to be invisible and near enough that MapX and MapY
    // cannot overflow 32 bits for any window up to 40000 pixels.
    static constexpr int32_t CoordinateLimit = 100000;

    using Comments = CQuolixDoc::Comments;

    // settings is the view's record and must outlive the renderer, which
    // lives for one paint.
    GraphRenderer(int printing, Rect windowRect, const SettingsRecord& settings);
    GraphRenderer(int printing, Rect windowRect, SettingsRecord&& settings) = delete;

    static Font MakeFont(int32_t sizeTenths) { return Font{sizeTenths, std::string(FontFace)}; }

    // Graph coordinates to device pixels, 32-bit and truncating exactly as
    // written; on screen the picture fills a 600 x 480 canvas stretched to the
    // window rectangle, on paper a fixed 1800 x 1800 frame at (370, 500).
    int32_t MapX(int32_t x) const;
    int32_t MapY(int32_t y) const;
    // Tenths of a point: 10 points per 480 pixels of window height on screen.
    int32_t BaseFontSize() const;

    GraphPens MakePens() const;

    void DrawCenterLine(DeviceContext& dc, const Pen& pen) const;
    void DrawGrid(DeviceContext& dc, GraphScale scale, const Pen& pen) const;
    void DrawDataLine(DeviceContext& dc, GraphScale scale, const Pen& pen, CQuolixDoc& doc) const;
    void DrawFrame(DeviceContext& dc, const Pen& pen) const;
    void DrawLabels(DeviceContext& dc, const GraphScale& scale, const Comments& comments) const;

    // One whole paint. viewComments receives the document's comments first,
    // so that edits and a newly loaded document show at once; liveReadout is
    // the view's readout, drawn before the graph.
    void OnDraw(DeviceContext& dc, CQuolixDoc& doc, Comments& viewComments,
                const std::function<void()>& liveReadout) const;

  private:
    int printing_;
    int32_t width_;
    int32_t height_;
    const SettingsRecord& settings_;
};

}  // namespace quolix
