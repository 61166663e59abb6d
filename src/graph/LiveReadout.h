#pragma once

#include <cstdint>
#include <string>

#include "framework/DeviceContext.h"
#include "framework/Rect.h"
#include "graph/LocalClock.h"

namespace quolix {

class SettingsRecord;

// The readout draws only on screen. The view asks first, so that while it
// prints or previews it neither acquires a device context nor reads the clock.
inline bool LiveReadoutDraws(int printing) {
    return printing != 1;
}

// "%d-%d-%d  %d:%02d:%02d": date and hour plain, minute and second two digits.
std::string FormatClock(const LocalTime& now);

// The latest reading in kHz in a large font at the top left (or the offline
// text), and the clock on the first title line. Draws over what is there:
// the trailing blanks of the texts cover a longer earlier text. Does nothing
// when LiveReadoutDraws(printing) is false.
void DrawLiveReadout(DeviceContext& dc, int printing, int offline, int32_t lastReading,
                     const SettingsRecord& settings, Rect windowRect, const LocalTime& now);

}  // namespace quolix
