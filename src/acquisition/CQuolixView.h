#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "acquisition/CQuolixDoc.h"
#include "acquisition/RecordingMetadata.h"
#include "framework/CView.h"
#include "framework/Rect.h"
#include "graph/GraphScale.h"
#include "link/PortKeeper.h"
#include "link/PortOpenError.h"
#include "settings/SettingsLocation.h"
#include "settings/SettingsRecord.h"

namespace quolix {

class CCmdUI;
class CounterLink;
class DeviceContext;

// The graph view's acquisition logic: polls the counter on a 250 ms timer,
// counts recording time in ticks, stores one sample per sampling interval,
// and carries the start, pause, settings and comment commands. It reaches the
// platform only through its window services and the counter link.
class CQuolixView : public CView {
  public:
    static constexpr uint32_t PollTimerId = 1030;
    static constexpr uint32_t PollPeriodMs = 250;
    static constexpr int32_t TicksPerSecond = 4;
    static constexpr uint8_t RequestByte = 0x0D;
    // "カウンタとの通信に失敗しました。" in CP932.
    static constexpr std::string_view PortFailureText =
        "\x83\x4a\x83\x45\x83\x93\x83\x5e\x82\xc6\x82\xcc\x92\xca\x90\x4d"
        "\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";
    // "通信ポート情報" in CP932.
    static constexpr std::string_view PortFailureCaption =
        "\x92\xca\x90\x4d\x83\x7c\x81\x5b\x83\x67\x8f\xee\x95\xf1";

    explicit CQuolixView(CounterLink& link);
    CQuolixView(const CQuolixView&) = delete;
    CQuolixView& operator=(const CQuolixView&) = delete;

    // The attached document as the sample store, or null when none (or another
    // kind of document) is attached.
    CQuolixDoc* GetDocument() const;

    void ResetAcquisition();

    // Where the view loads its settings at creation; without a location the
    // view has the defaults.
    void SetSettingsLocation(SettingsLocation location) { settingsLocation_ = std::move(location); }
    // Who records, written with the first sample of a recording. An empty
    // device means the port the settings choose (slot 15).
    void SetRecordingOrigin(RecordingOrigin origin) { origin_ = std::move(origin); }

    // Window events forwarded by the host.
    int OnCreate() override;
    void OnDestroy() override;
    void OnTimer(uint32_t id) override;
    // Printing hooks: the picture uses the printer's layout in between.
    void OnBeginPrinting() override { printing = 1; }
    void OnEndPrinting() override { printing = 0; }
    // The private receive message: the receive step alone.
    void OnReceiveMessage();
    void OnDraw(DeviceContext& dc) override;
    // A reset of the store (CQuolixDoc::StoreResetHint) resets the acquisition
    // of the document's first view; other changes repaint.
    void OnUpdate(CView* sender, int hint) override;
    // Redraws the reading (or the offline text) and the clock through a device
    // context of the window's, outside any paint.
    void LiveReadout();
    // The reading in kHz at this view's resolution; one shared text that the
    // next call overwrites.
    const std::string& FormatFrequency(int32_t reading) const;

    // After a recording was opened: when it records another unit than this
    // view's resolution, says so in the status line and offers to read it in
    // its own unit for this session (the settings file stays as it is).
    void OnDocumentOpened();

    // Commands and their enabling.
    void OnDataStart();
    void OnDataPause();
    void OnSetEnvironment();
    void OnEditComment();
    void OnUpdateDataStart(CCmdUI& cmdUI);
    void OnUpdateDataPause(CCmdUI& cmdUI);
    void OnUpdateSetEnvironment(CCmdUI& cmdUI);
    // Opens the port the current settings name and keeps it open from now on;
    // closes it and stops reopening it.
    void OnPortConnect();
    void OnPortDisconnect();
    void OnUpdatePortConnect(CCmdUI& cmdUI);
    void OnUpdatePortDisconnect(CCmdUI& cmdUI);

    // The port as the status bar and the command states see it.
    PortKeeper::State PortState() const { return keeper_.GetState(); }
    int PortIndex() const { return keeper_.PortIndex(); }
    // The last open attempt of the port; before one, just its COM number.
    PortOpenError PortAttempt() const;

    // What the command states are computed from; a tick that leaves it as it
    // was changes no command's state.
    struct EnablingInputs {
        int recording = 0;
        int full = 0;
        int offline = 0;
        int portOpen = 0;
        bool operator==(const EnablingInputs&) const = default;
    };
    EnablingInputs GetEnablingInputs() const { return {recording, full, offline, portOpen}; }

    bool OnCmdMsg(uint32_t id) override;
    bool OnUpdateCmdUI(uint32_t id, CCmdUI& cmdUI) override;
    bool HasCmdHandler(uint32_t id) const override;

    // Acquisition state, read by the drawing and the live readout.
    int printing = 0;
    int offline = 0;
    uint32_t timerId = 0;
    int32_t interval = 0;
    int32_t tick = 0;
    int32_t elapsed = 0;
    int32_t sinceSample = 0;
    int32_t lastReading = 0;
    CQuolixDoc::Comments comments;
    int full = 0;
    SettingsRecord settings;
    int portOpen = 0;
    int recording = 0;
    int fresh = 0;

  private:
    using Handler = void (CQuolixView::*)();
    static Handler CommandHandler(uint32_t id);

    void LoadSettings();
    // The readout drawn into dc, laid out for a window of this size.
    void DrawReadout(DeviceContext& dc, Rect windowRect);
    void ReceiveStep();
    // The hertz per count the document records when it is not this view's; 0
    // when it records none or the same.
    int32_t OtherUnitOf(const CQuolixDoc& document) const;
    // False, with a message, when the document records a unit other than this
    // view's resolution: its readings must not be continued in another.
    bool ContinuesInItsOwnUnit(const CQuolixDoc& document);
    // Appends (time, lastReading); the first sample of an empty store also
    // records when and how the recording was made.
    void StoreSample(CQuolixDoc& document, int32_t time);
    // Opens the port of the settings; on failure shows why.
    void ConnectPort();
    void ShowPortFailure();
    // Recording stops as when the store fills; polling stops with it.
    void StopFull();
    void StartPollTimer();
    void StopPollTimer();
    void Invalidate();
    // At the end of an interval: the new sample drawn onto the window's
    // picture when the axes stayed, else a whole repaint.
    void ShowNewSample();

    // What the window's picture was last drawn for, whole or grown by
    // ShowNewSample; unset until a whole paint of the window.
    struct DrawnPicture {
        GraphScale scale;
        int32_t width = 0;
        int32_t height = 0;
    };
    std::optional<DrawnPicture> drawn_;

    CounterLink& link_;
    PortKeeper keeper_{link_};
    SettingsLocation settingsLocation_;
    RecordingOrigin origin_;
    bool polling_ = false;
};

}  // namespace quolix
