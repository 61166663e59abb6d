#include "framework/qt/QtPrinting.h"

#include <string>

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include "framework/CView.h"
#include "framework/qt/PrintDestination.h"
#include "framework/qt/QtDeviceContext.h"

namespace quolix {

namespace {

std::string CannotStart(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        return "「" + QFile::encodeName(printer.outputFileName()).toStdString() +
               "」に書き込めません。";
    }
    return "印刷するデータを用意できません。";
}

}  // namespace

void PreparePrinter(QPrinter& printer) {
    printer.setResolution(300);
    printer.setFullPage(false);
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
}

void StartOnDefaultPaper(QPrinter& printer, const PrintDestination& destination) {
    const QPageSize paper = destination.DefaultPageSize(printer);
    if (paper.isValid()) {
        printer.setPageSize(paper);
    }
}

Status DrawPrintedPage(CView& view, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return Status::Failure(CannotStart(printer));
    }
    view.OnBeginPrinting();
    {
        QtDeviceContext dc(painter, ScreenDpiY());
        view.OnDraw(dc);
    }  // the context hands the painter back in the state it found it
    view.OnEndPrinting();
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        return Status::Failure("ページを最後まで出力できませんでした。");
    }
    return Status{};
}

Status PrintViewPage(CView& view, QPrinter& printer, const PrintDestination& destination) {
    PreparePrinter(printer);
    if (Status ready = destination.Ready(printer); !ready.ok) {
        return ready;
    }
    if (Status drawn = DrawPrintedPage(view, printer); !drawn.ok) {
        return drawn;
    }
    return destination.TookJob(printer);
}

}  // namespace quolix
