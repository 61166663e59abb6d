#include "cli/render/GraphImage.h"

#include <QImage>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QString>

#include <cerrno>
#include <cstring>

#include "acquisition/CQuolixDoc.h"
#include "base/ReplacementFile.h"
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

bool SavePng(QImage& image, int dpi, const std::string& path, std::string& error) {
    const int dotsPerMetre = static_cast<int>(dpi * InchesPerMetre + 0.5);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    if (!image.save(QString::fromStdString(path), "PNG")) {
        error = "PNG 画像を書けませんでした。";
        return false;
    }
    return true;
}

bool WindowPng(const Drawing& drawing, const cli::RenderOptions& options, const std::string& path,
               std::string& error) {
    QImage image(options.width, options.height, QImage::Format_RGB32);
    if (image.isNull()) {
        error = "画像を用意できませんでした。";
        return false;
    }
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        drawing.Draw(painter, 0);
    }
    return SavePng(image, ScreenDpi, path, error);
}

bool WindowPdf(const Drawing& drawing, const cli::RenderOptions& options, const std::string& path,
               std::string& error) {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setResolution(ScreenDpi);
    const QSizeF points(options.width * 72.0 / ScreenDpi, options.height * 72.0 / ScreenDpi);
    writer.setPageSize(QPageSize(points, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer)) {
        error = "PDF を書けませんでした。";
        return false;
    }
    drawing.Draw(painter, 0);
    painter.end();
    return true;
}

// The page as the printer would take it, rasterised: the whole sheet, with
// the drawing's origin at the printable area's corner as on paper.
bool PagePng(const Drawing& drawing, const std::string& path, std::string& error) {
    QPrinter printer(QPrinter::HighResolution);
    SetupPagePrinter(printer, QString());
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    QImage image(paper.size(), QImage::Format_RGB32);
    if (image.isNull()) {
        error = "画像を用意できませんでした。";
        return false;
    }
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.translate(page.topLeft() - paper.topLeft());
        drawing.Draw(painter, 1);
    }
    return SavePng(image, printer.resolution(), path, error);
}

bool PagePdf(const Drawing& drawing, const std::string& path, std::string& error) {
    QPrinter printer(QPrinter::HighResolution);
    SetupPagePrinter(printer, QString::fromStdString(path));
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = "PDF を書けませんでした。";
        return false;
    }
    // The device context restores the painter when it goes, so it must go
    // before the page is finished.
    drawing.Draw(painter, 1);
    painter.end();
    return true;
}

}  // namespace

bool WriteGraphImage(CQuolixDoc& doc, const SettingsRecord& settings,
                     const cli::RenderOptions& options, std::string& error) {
    ReplacementFile output(options.output);
    if (!output.Ok()) {
        error = std::string("書き込めませんでした。(") + std::strerror(output.Error()) + ")";
        return false;
    }
    const Drawing drawing(doc, settings, options.width, options.height);
    const bool pdf = options.format == cli::ImageFormat::Pdf;
    bool drawn = false;
    if (options.page) {
        drawn = pdf ? PagePdf(drawing, output.TempPath(), error)
                    : PagePng(drawing, output.TempPath(), error);
    } else {
        drawn = pdf ? WindowPdf(drawing, options, output.TempPath(), error)
                    : WindowPng(drawing, options, output.TempPath(), error);
    }
    if (!drawn) {
        return false;
    }
    if (!output.Commit()) {
        error = std::string("書き込めませんでした。(") + std::strerror(output.Error()) + ")";
        return false;
    }
    return true;
}

}  // namespace quolix::render
