#pragma once

#include "base/Status.h"
#include "cli/RenderCommand.h"

namespace quolix {

class CQuolixDoc;
class SettingsRecord;

namespace render {

// A4 at 300 dpi, as the printer is set up for the page layout.
inline constexpr int PageDpi = 300;

// Draws a recording the way the desktop application does, through the graph
// renderer and the painter-backed device context, into a PNG image or a PDF:
// the window's picture at a given size, or the printed page, written to
// options.output atomically. There is no live readout, since no window exists
// to show it. Needs a QGuiApplication.
Status WriteGraphImage(CQuolixDoc& doc, const SettingsRecord& settings,
                       const cli::RenderOptions& options);

}  // namespace render
}  // namespace quolix
