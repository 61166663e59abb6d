#pragma once

#include <string>

#include "cli/RenderCommand.h"

namespace quolix {

class CQuolixDoc;
class SettingsRecord;

// Draws a recording the way the desktop application does, through the graph
// renderer and the painter-backed device context, into a PNG image or a PDF:
// the window's picture at a given size, or the printed page. There is no live
// readout, since no window exists to show it. Needs a QGuiApplication.
class GraphImage {
  public:
    // A4 at 300 dpi, as the printer is set up for the page layout.
    static constexpr int PageDpi = 300;

    // Writes options.output atomically. False with a UTF-8 reason on failure.
    static bool Write(CQuolixDoc& doc, const SettingsRecord& settings,
                      const RenderCommand::Options& options, std::string& error);
};

}  // namespace quolix
