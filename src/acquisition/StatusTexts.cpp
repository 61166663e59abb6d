#include "acquisition/StatusTexts.h"

#include <cstdio>

#include "acquisition/CQuolixView.h"
#include "link/PortOpenError.h"

namespace quolix {

namespace {

std::string LinkText(const CQuolixView& view) {
    switch (view.PortState()) {
        case PortKeeper::State::Open:
            return view.offline == 1 ? "応答なし" : "接続中";
        case PortKeeper::State::Waiting:
            return "再接続待ち";
        case PortKeeper::State::Closed:
            break;
    }
    return "切断";
}

}  // namespace

std::string StatusTexts::Duration(int32_t seconds) {
    const int32_t s = seconds > 0 ? seconds : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%d日 %02d:%02d:%02d", s / 86400, s / 3600 % 24, s / 60 % 60,
                  s % 60);
    return text;
}

StatusTexts StatusTexts::Of(const CQuolixView& view) {
    StatusTexts texts;
    texts.port = PortLabel(view.PortAttempt());
    texts.link = LinkText(view);
    if (view.recording != 1) {
        return texts;
    }
    texts.elapsed = Duration(view.elapsed);
    // -1 once no interval fits: every second ends one.
    texts.interval = "間隔 " + std::to_string(view.interval > 0 ? view.interval : 1) + " 秒";
    const CQuolixDoc* document = view.GetDocument();
    const int32_t count = document != nullptr && document->count > 0 ? document->count : 0;
    texts.count = std::to_string(count) + " 点";
    return texts;
}

}  // namespace quolix
