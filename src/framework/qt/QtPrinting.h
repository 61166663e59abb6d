#pragma once

#include "base/Status.h"

class QPrinter;

namespace quolix {

class CView;
class PrintDestination;

// Sets a printer up the way the page layout expects: 300 printer pixels per
// inch, and the printer's smallest margins, so that the layout's origin is the
// corner of the printable area on every printer (the paper's corner on a
// PDF), whatever margins Qt or a dialog chose before.
void PreparePrinter(QPrinter& printer);

// A printer made for the destination starts on the destination's own paper
// rather than on Qt's A4.
void StartOnDefaultPaper(QPrinter& printer, const PrintDestination& destination);

// Draws the view's one page onto a printer, a PDF file or a preview page,
// with the view's printing flag set only while the page is drawn. Fails when
// the printer could not be started or the page not be finished; the message
// says why.
Status DrawPrintedPage(CView& view, QPrinter& printer);

// Prints the view's page: prepares the printer, asks the destination whether
// it takes jobs, draws, and asks again whether it took this one.
Status PrintViewPage(CView& view, QPrinter& printer, const PrintDestination& destination);

}  // namespace quolix
