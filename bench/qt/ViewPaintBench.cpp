// One full paint of the view as the window does it: the backing image cleared
// and the whole graph of a full store (2040 samples) drawn by the view's own
// OnDraw through the painter-backed device context, at 1920 x 1080.
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "acquisition/CQuolixDoc.h"
#include "acquisition/CQuolixView.h"
#include "framework/WindowServices.h"
#include "framework/qt/QtDeviceContext.h"
#include "link/CounterLink.h"
#include "settings/SettingsRecord.h"

namespace quolix {
namespace {

class SilentLink : public CounterLink {
  public:
    int OpenPort(int) override { return 1; }
    int SendByte(uint8_t) override { return 1; }
    int ReceivePending(int32_t&) override { return 0; }
    void ClosePort() override {}
};

// A full-HD window whose readout draws into the same image, as the host does.
class ImageWindow : public WindowServices {
  public:
    uint32_t SetTimer(uint32_t id, uint32_t) override { return id; }
    void KillTimer(uint32_t) override {}
    void Invalidate() override {}
    Rect GetWindowRect() override { return Rect{0, 0, 1920, 1080}; }
    void MessageBox(std::string_view, std::string_view) override {}
    std::unique_ptr<DeviceContext> GetDC() override { return nullptr; }
    DialogResult RunSettingsDialog(SettingsRecord&) override { return DialogResult::Cancel; }
    DialogResult RunCommentDialog(std::array<std::string, 3>&) override {
        return DialogResult::Cancel;
    }
};

void BM_ViewPaintFullStore1920x1080(benchmark::State& state) {
    SilentLink link;
    ImageWindow window;
    CQuolixDoc doc;
    CQuolixView view(link);
    view.AttachDocument(&doc);
    view.AttachWindow(&window);
    view.settings.ApplyDefaults();
    // A slowly drifting oscillator with a little noise, 4 s apart.
    for (int32_t i = 0; i < CQuolixDoc::SampleLimit; ++i) {
        doc.Append(i * 4, 100000 + i / 40 + (i * 7919) % 7 - 3);
    }
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        {
            QtDeviceContext dc(painter, 96);
            view.OnDraw(dc);
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ViewPaintFullStore1920x1080)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quolix
