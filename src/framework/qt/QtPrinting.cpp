#include "framework/qt/QtPrinting.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include "framework/CView.h"
#include "framework/qt/QtDeviceContext.h"

namespace quolix {

void PreparePrinter(QPrinter& printer) {
    printer.setResolution(300);
    printer.setFullPage(false);
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
}

bool DrawViewPage(CView& view, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    {
        QtDeviceContext dc(painter, ScreenDpiY());
        view.OnDraw(dc);
    }  // the context hands the painter back in the state it found it
    painter.end();
    return true;
}

bool PrintViewPage(CView& view, QPrinter& printer) {
    view.OnBeginPrinting();
    const bool printed = DrawViewPage(view, printer);
    view.OnEndPrinting();
    return printed;
}

}  // namespace quolix
