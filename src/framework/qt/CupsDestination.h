#pragma once

#include "framework/qt/PrintDestination.h"

namespace quolix {

// The destination as CUPS describes it. A PDF file needs no spooler: it is
// ready when it has a name, and the painter tells whether it was written.
class CupsDestination : public PrintDestination {
  public:
    QPageSize DefaultPageSize(const QPrinter& printer) const override;
    Status Ready(const QPrinter& printer) const override;
    Status TookJob(const QPrinter& printer) const override;
};

}  // namespace quolix
