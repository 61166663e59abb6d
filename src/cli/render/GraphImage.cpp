#include "cli/render/GraphImage.h"

#include <QImage>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QString>

#include "acquisition/CQuolixDoc.h"
#include "base/ReplacementFile.h"
#include "base/Status.h"
#include "base/SystemErrorText.h"
#include "framework/qt/QtDeviceContext.h"
#include "framework/qt/QtPrinting.h"
#include "graph/GraphRenderer.h"
#include "graph/GraphScale.h"
#include "settings/SettingsRecord.h"

namespace quolix::render {

namespace {

constexpr double InchesPerMetre = 1.0 / 0.0254;
// Screen pictures in a PDF: one device pixel per CSS pixel, 96 to the inch.
constexpr int ScreenDpi = 96;

// The recording's picture as the view draws it, without a live readout:
// there is no window to show one on.
class Drawing {
  public:
    Drawing(CQuolixDoc& doc, const SettingsRecord& settings, int32_t width, int32_t height)
        : doc_(doc), settings_(settings), windowRect_{0, 0, width, height} {
        doc.ComputeScale(scale_);
    }

    void Draw(QPainter& painter, int printing) const {
        QtDeviceContext dc(painter, ScreenDpiY());
        const GraphRenderer renderer(printing, windowRect_, settings_);
        renderer.OnDraw(dc, scale_, doc_.Samples(), doc_.comments, {});
    }

  private:
    const CQuolixDoc& doc_;
    const SettingsRecord& settings_;
    Rect windowRect_;
    GraphScale scale_;
};

void SetupPagePrinter(QPrinter& printer, const QString& fileName) {
    printer.setOutputFileName(fileName);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    PreparePrinter(printer);
}

Status SavePng(QImage& image, int dpi, const std::string& path) {
    const int dotsPerMetre = static_cast<int>(dpi * InchesPerMetre + 0.5);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    if (!image.save(QString::fromStdString(path), "PNG")) {
        return Status::Failure("PNG 画像を書けませんでした。");
    }
    return Status{};
}

Status WindowPng(const Drawing& drawing, const cli::RenderOptions& options,
                 const std::string& path) {
    QImage image(options.width, options.height, QImage::Format_RGB32);
    if (image.isNull()) {
        return Status::Failure("画像を用意できませんでした。");
    }
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        drawing.Draw(painter, 0);
    }
    return SavePng(image, ScreenDpi, path);
}

Status WindowPdf(const Drawing& drawing, const cli::RenderOptions& options,
                 const std::string& path) {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setResolution(ScreenDpi);
    const QSizeF points(options.width * 72.0 / ScreenDpi, options.height * 72.0 / ScreenDpi);
    writer.setPageSize(QPageSize(points, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return Status::Failure("PDF を書けませんでした。");
    }
    drawing.Draw(painter, 0);
    painter.end();
    return Status{};
}

// The page as the printer would take it, rasterised: the whole sheet, with
// the drawing's origin at the printable area's corner as on paper.
Status PagePng(const Drawing& drawing, const std::string& path) {
    QPrinter printer(QPrinter::HighResolution);
    SetupPagePrinter(printer, QString());
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    QImage image(paper.size(), QImage::Format_RGB32);
    if (image.isNull()) {
        return Status::Failure("画像を用意できませんでした。");
    }
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.translate(page.topLeft() - paper.topLeft());
        drawing.Draw(painter, 1);
    }
    return SavePng(image, printer.resolution(), path);
}

Status PagePdf(const Drawing& drawing, const std::string& path) {
    QPrinter printer(QPrinter::HighResolution);
    SetupPagePrinter(printer, QString::fromStdString(path));
    QPainter painter;
    if (!painter.begin(&printer)) {
        return Status::Failure("PDF を書けませんでした。");
    }
    // The device context restores the painter when it goes, so it must go
    // before the page is finished.
    drawing.Draw(painter, 1);
    painter.end();
    return Status{};
}

}  // namespace

Status WriteGraphImage(CQuolixDoc& doc, const SettingsRecord& settings,
                       const cli::RenderOptions& options) {
    ReplacementFile output(options.output);
    if (!output.Ok()) {
        return Status::Failure("書き込めませんでした。(" + SystemErrorText(output.Error()) + ")",
                               output.Error());
    }
    const Drawing drawing(doc, settings, options.width, options.height);
    const bool pdf = options.format == cli::ImageFormat::Pdf;
    Status drawn;
    if (options.page) {
        drawn = pdf ? PagePdf(drawing, output.TempPath()) : PagePng(drawing, output.TempPath());
    } else {
        drawn = pdf ? WindowPdf(drawing, options, output.TempPath())
                    : WindowPng(drawing, options, output.TempPath());
    }
    if (!drawn.ok) {
        return drawn;
    }
    if (!output.Commit()) {
        return Status::Failure("書き込めませんでした。(" + SystemErrorText(output.Error()) + ")",
                               output.Error());
    }
    return Status{};
}

}  // namespace quolix::render
