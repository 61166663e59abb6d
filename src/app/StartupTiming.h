#pragma once

class QWidget;

namespace quolix::app {

// Diagnostics for measuring start-up: once the widget has finished its first
// paint, prints the time since the process started to standard error.
// Installed only when QUOLIX_STARTUP_TIMING is set in the environment.
void ReportFirstPaint(QWidget& widget);

}  // namespace quolix::app
