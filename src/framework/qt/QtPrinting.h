#pragma once

class QPrinter;

namespace quolix {

class CView;

// Sets a printer up the way the page layout expects: 300 printer pixels per
// inch, so that the fixed layout fills an A4 or Letter page as designed.
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
