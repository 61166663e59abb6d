#pragma once

#include "base/Status.h"

class QPageSize;
class QPrinter;

namespace quolix {

// What the print spooler knows about the printer a QPrinter names: its own
// paper, whether it takes jobs now, and whether it took the last one. Qt
// tells none of the last two; printing asks here before it draws and after
// the page is finished. Messages are UTF-8 reasons for the user.
class PrintDestination {
  public:
    virtual ~PrintDestination() = default;

    // The paper the destination prints on unless told otherwise; an invalid
    // size when it does not say (a PDF file).
    virtual QPageSize DefaultPageSize(const QPrinter& printer) const = 0;
    // Before drawing: the destination exists and accepts jobs.
    virtual Status Ready(const QPrinter& printer) const = 0;
    // Right after the page was finished: the spooler took the job.
    virtual Status TookJob(const QPrinter& printer) const = 0;
};

}  // namespace quolix
