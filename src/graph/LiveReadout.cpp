#include "graph/LiveReadout.h"

#include <cstdio>

#include "graph/FrequencyText.h"
#include "graph/PageLayout.h"
#include "settings/SettingsRecord.h"

namespace quolix {

std::string FormatClock(const LocalTime& now) {
    char text[96];
    const int length = std::snprintf(text, sizeof text, "%d-%d-%d  %d:%02d:%02d", now.year,
                                     now.month, now.day, now.hour, now.minute, now.second);
    return std::string(text, static_cast<size_t>(length));
}

void DrawLiveReadout(DeviceContext& dc, int printing, int offline, int32_t lastReading,
                     const SettingsRecord& settings, Rect windowRect, const LocalTime& now) {
    if (!LiveReadoutDraws(printing)) {
        return;
    }
    // Formatted even when offline: the shared frequency text is replaced at
    // every readout either way.
    const std::string& frequency =
        FormatFrequency(lastReading, settings.Int(SettingsRecord::Resolution));

    // The readout is screen-only, so it always uses the screen mapping.
    const PageLayout screen(0, windowRect);
    const Font largeFont = PageLayout::MakeFont(screen.BaseFontSize() * 20 / 10);
    const Font previousFont = dc.SelectFont(largeFont);
    const int32_t x = 10 * windowRect.Width() / 600;
    const int32_t y = 10 * windowRect.Height() / 480;
    if (offline == 0) {
        dc.TextOut(x, y, "  " + frequency + "kHz          ");
    } else {
        dc.TextOut(x, y, "    OFF LINE         ");
    }

    const Font baseFont = PageLayout::MakeFont(screen.BaseFontSize());
    dc.SelectFont(baseFont);
    const int32_t h = dc.FontHeight(baseFont);
    dc.TextOut(screen.MapX(700), screen.MapY(1000) - h * 25 / 10, FormatClock(now));

    dc.SelectFont(previousFont);
}

}  // namespace quolix
