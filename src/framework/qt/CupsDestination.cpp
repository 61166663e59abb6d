#include "framework/qt/CupsDestination.h"

#include <cups/cups.h>

#include <cstring>
#include <memory>
#include <string>

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace quolix {

namespace {

struct DestFree {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
using UniqueDest = std::unique_ptr<cups_dest_t, DestFree>;

struct IppFree {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using UniqueIpp = std::unique_ptr<ipp_t, IppFree>;

bool PrintsToFile(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat;
}

std::string Quoted(const QString& name) {
    return "プリンタ「" + name.toStdString() + "」";
}

std::string WithReason(std::string text, const char* reason) {
    if (reason != nullptr && *reason != '\0') {
        text += "(";
        text += reason;
        text += ")";
    }
    return text;
}

// The reason a queue's keeper gave (cupsreject -r), which the destination's
// options do not carry; empty when there is none or the queue does not say.
std::string StateMessage(const cups_dest_t& dest) {
    const char* uri = cupsGetOption("printer-uri-supported", dest.num_options, dest.options);
    if (uri == nullptr) {
        return {};
    }
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-state-message");
    // cupsDoRequest takes the request and frees it.
    const UniqueIpp response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
    if (!response) {
        return {};
    }
    ipp_attribute_t* message =
        ippFindAttribute(response.get(), "printer-state-message", IPP_TAG_TEXT);
    const char* text = message != nullptr ? ippGetString(message, 0, nullptr) : nullptr;
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

QPageSize CupsDestination::DefaultPageSize(const QPrinter& printer) const {
    if (PrintsToFile(printer)) {
        return QPageSize();
    }
    return QPrinterInfo(printer).defaultPageSize();
}

Status CupsDestination::Ready(const QPrinter& printer) const {
    if (PrintsToFile(printer)) {
        // Qt falls back to a PDF without a name when no printer exists.
        if (printer.outputFileName().isEmpty()) {
            return Status::Failure("使えるプリンタがありません。");
        }
        return Status{};
    }
    const QString name = printer.printerName();
    if (name.isEmpty()) {
        return Status::Failure("使えるプリンタがありません。");
    }
    if (QPrinterInfo::printerInfo(name).isNull()) {
        return Status::Failure(Quoted(name) + "が見つかりません。");
    }
    // A name may carry an instance ("queue/instance"); the queue decides.
    const QByteArray queue = name.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const QByteArray instance = name.section(QLatin1Char('/'), 1).toLocal8Bit();
    const UniqueDest dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(),
                                           instance.isEmpty() ? nullptr : instance.constData()));
    if (!dest) {
        return Status::Failure(
            WithReason(Quoted(name) + "が見つかりません。", cupsLastErrorString()));
    }
    // Qt calls a stopped queue an error, but CUPS keeps its jobs until it is
    // started again; only a queue that refuses jobs loses the print.
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    if (accepting != nullptr && std::strcmp(accepting, "false") == 0) {
        const std::string why = StateMessage(*dest);
        return Status::Failure(
            WithReason(Quoted(name) + "は印刷を受け付けていません。", why.c_str()));
    }
    return Status{};
}

Status CupsDestination::TookJob(const QPrinter& printer) const {
    if (PrintsToFile(printer)) {
        return Status{};
    }
    // Qt hands the finished page to CUPS inside QPainter::end() and drops the
    // answer; libcups keeps the last answer of the calling thread, which is
    // this one, so it is read right away. Ready's own request ended well
    // when it let the job go, so no older failure can be taken for this one.
    if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
        return Status::Failure(
            WithReason(Quoted(printer.printerName()) + "が印刷を受け付けませんでした。",
                       cupsLastErrorString()));
    }
    return Status{};
}

}  // namespace quolix
