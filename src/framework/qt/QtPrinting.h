#pragma once

class QPrinter;

namespace quolix {

class CView;

// Sets a printer up the way the page layout expects: 300 printer pixels per
// inch, and the printer's smallest margins, so that the layout's origin is the
// corner of the printable area on every printer (the paper's corner on a
// PDF), whatever margins Qt or a dialog chose before.
void PreparePrinter(QPrinter& printer);

// Draws the view's one page onto the printer without touching its printing
// flag (a preview keeps the flag set for as long as it is open). False when
// the printer could not be started.
bool DrawViewPage(CView& view, QPrinter& printer);

// Draws the view's one page onto the printer (a real one, a PDF file or a
// preview), with the view's printing flag set from start to end. False when
// the printer could not be started.
bool PrintViewPage(CView& view, QPrinter& printer);

}  // namespace quolix
