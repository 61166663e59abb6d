#include "acquisition/CQuolixView.h"

#include <array>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "base/Cp932.h"
#include "framework/CCmdUI.h"
#include "framework/CommandIds.h"
#include "framework/WindowServices.h"
#include "graph/FrequencyText.h"
#include "graph/GraphRenderer.h"
#include "graph/LiveReadout.h"
#include "graph/LocalClock.h"
#include "link/CounterLink.h"
#include "link/PortNames.h"
#include "link/PortOpenError.h"
#include "settings/SettingsStore.h"

namespace quolix {

static_assert(std::is_same_v<CQuolixDoc::Comments, GraphRenderer::Comments>,
              "the picture shows the document's comment lines");

namespace {

// The view's own messages are written in UTF-8; the window takes CP932. A
// text CP932 cannot hold (a device name) is passed on as it is.
std::string ForWindow(const std::string& utf8) {
    return Utf8ToCp932(utf8).value_or(utf8);
}

}  // namespace

CQuolixView::CQuolixView(CounterLink& link) : link_(link) {}

CQuolixDoc* CQuolixView::GetDocument() const {
    return dynamic_cast<CQuolixDoc*>(CView::GetDocument());
}

void CQuolixView::ResetAcquisition() {
    // A full store has stopped the polling timer; emptying the store must let
    // the counter be polled again, or Start would be enabled with no tick to
    // take a sample.
    const bool pollingStopped = full == 1;
    full = 0;
    recording = 0;
    tick = 0;
    elapsed = 0;
    sinceSample = 0;
    printing = 0;
    // Without a port nothing answers: the view stays offline, so Start stays
    // disabled and the readout says so.
    offline = portOpen != 0 ? 0 : 1;
    lastReading = 0;
    if (pollingStopped) {
        StartPollTimer();
    }
}

int CQuolixView::OnCreate() {
    // CView has no creation work of its own that could fail.
    LoadSettings();
    if (CQuolixDoc* document = GetDocument()) {
        document->CopyCommentsTo(comments);
    }
    ResetAcquisition();
    ConnectPort();
    // The timer runs with or without a port: its ticks also reopen a port
    // that could not be opened yet, and keep the readout's clock going. It
    // starts after the port failure message, so no tick comes while the
    // window is still being made.
    StartPollTimer();
    return 0;
}

void CQuolixView::ConnectPort() {
    fresh = 0;
    offline = 1;
    if (keeper_.Connect(settings.Int(SettingsRecord::ComPort)) == 1) {
        portOpen = 1;
        link_.SendByte(RequestByte);
        return;
    }
    portOpen = 0;
    ShowPortFailure();
}

void CQuolixView::ShowPortFailure() {
    WindowServices* window = GetWindow();
    if (window == nullptr) {
        return;
    }
    // The second line says which device and why, so the user knows what to
    // plug in, whom to ask for the dialout group, or which program to close.
    PortOpenError failure = PortAttempt();
    if (failure.reason == PortOpenReason::None) {
        failure.reason = PortOpenReason::Other;  // a link that cannot say why
    }
    const std::string line = PortOpenErrorText(failure);
    std::string text(PortFailureText);
    text += '\n';
    text += ForWindow(line);
    window->MessageBox(text, PortFailureCaption);
}

PortOpenError CQuolixView::PortAttempt() const {
    PortOpenError attempt = link_.LastOpenError();
    // A device named on the command line has no COM number.
    if (attempt.port.empty() && attempt.device.empty()) {
        attempt.port = ComName(keeper_.PortIndex());
    }
    return attempt;
}

void CQuolixView::OnDestroy() {
    keeper_.Disconnect();
    portOpen = 0;
    StopPollTimer();
}

void CQuolixView::OnTimer(uint32_t) {
    if (keeper_.Tick() == 1) {
        // Back after a loss: configured and flushed like at start-up.
        portOpen = 1;
    }
    fresh = 0;
    if (keeper_.IsOpen()) {
        ReceiveStep();
        keeper_.Notice();
    }
    offline = fresh == 1 ? 0 : 1;
    LiveReadout();
    if (keeper_.IsOpen()) {
        link_.SendByte(RequestByte);
        keeper_.Notice();
    }
    portOpen = keeper_.IsOpen() ? 1 : 0;
    if (recording == 0) {
        return;
    }
    ++tick;
    if (tick < TicksPerSecond) {
        fresh = 0;
        return;
    }
    tick = 0;
    // The end of the time range ends the recording like a full store; the
    // next second would not fit in elapsed.
    if (elapsed == std::numeric_limits<int32_t>::max()) {
        StopFull();
        return;
    }
    ++sinceSample;
    ++elapsed;
    // Signed on purpose: an interval of -1 makes every second end an interval.
    if (sinceSample < interval) {
        return;
    }
    CQuolixDoc* document = GetDocument();
    if (fresh == 1 && document != nullptr) {
        StoreSample(*document, elapsed);
    }
    fresh = 0;
    if (document != nullptr && document->IsFull() == 1) {
        StopFull();
        return;
    }
    sinceSample = 0;
    if (document != nullptr) {
        interval = document->ChooseInterval();
    }
    ShowNewSample();
}

void CQuolixView::StopFull() {
    full = 1;
    recording = 0;
    StopPollTimer();
}

void CQuolixView::OnReceiveMessage() {
    ReceiveStep();
}

void CQuolixView::OnDraw(DeviceContext& dc) {
    CQuolixDoc* document = GetDocument();
    WindowServices* window = GetWindow();
    if (document == nullptr || window == nullptr) {
        return;
    }
    // Every paint takes the document's comments, so that edits and a newly
    // loaded document show at once.
    document->CopyCommentsTo(comments);
    GraphScale scale;
    document->ComputeScale(scale);
    const Rect windowRect = window->GetWindowRect();
    const GraphRenderer renderer(printing, windowRect, settings);
    renderer.OnDraw(dc, scale, document->Samples(), comments,
                    [this, &dc, windowRect] { DrawReadout(dc, windowRect); });
    // Outside printing the view draws only its window.
    if (printing == 0) {
        drawn_ = DrawnPicture{std::move(scale), windowRect.Width(), windowRect.Height()};
    }
}

void CQuolixView::OnUpdate(CView* sender, int hint) {
    if (hint != CQuolixDoc::StoreResetHint) {
        CView::OnUpdate(sender, hint);
        return;
    }
    const CDocument* document = CView::GetDocument();
    if (document != nullptr && document->GetFirstView() == this) {
        ResetAcquisition();
    }
}

void CQuolixView::LiveReadout() {
    WindowServices* window = GetWindow();
    if (!LiveReadoutDraws(printing) || window == nullptr) {
        return;
    }
    const std::unique_ptr<DeviceContext> dc = window->GetDC();
    if (dc == nullptr) {
        return;
    }
    DrawReadout(*dc, window->GetWindowRect());
}

void CQuolixView::DrawReadout(DeviceContext& dc, Rect windowRect) {
    // While printing or previewing the clock is not even read.
    if (!LiveReadoutDraws(printing)) {
        return;
    }
    DrawLiveReadout(dc, printing, offline, lastReading, settings, windowRect, ReadLocalClock());
}

const std::string& CQuolixView::FormatFrequency(int32_t reading) const {
    return quolix::FormatFrequency(reading, settings.Int(SettingsRecord::Resolution));
}

void CQuolixView::OnDocumentOpened() {
    CQuolixDoc* document = GetDocument();
    WindowServices* window = GetWindow();
    if (document == nullptr || window == nullptr) {
        return;
    }
    const int32_t ownHz = OtherUnitOf(*document);
    if (ownHz == 0) {
        window->SetStatusText({});
        return;
    }
    const int32_t viewHz = recordingmeta::HzPerCount(settings.Int(SettingsRecord::Resolution));
    const std::string own = std::to_string(ownHz) + " Hz";
    const std::string current = viewHz != 0 ? std::to_string(viewHz) + " Hz" : "単位なし";
    window->SetStatusText(
        ForWindow("この記録の読み値 1 カウントは " + own + " です (設定: " + current + ")"));
    const std::string question = "この記録は読み値 1 カウントを " + own +
                                 " として記録されています。設定の分解能は " + current +
                                 " です。\nこのまま終了するまで " + own +
                                 " で表示しますか? (設定ファイルは変わりません)";
    if (window->AskYesNo(ForWindow(question), ForWindow("分解能")) != DialogResult::Ok) {
        return;
    }
    settings.Int(SettingsRecord::Resolution) = recordingmeta::ResolutionFor(ownHz);
    window->SetStatusText(ForWindow("この記録の単位 " + own + " で表示しています (設定ファイルは " +
                                    current + " のまま)"));
    window->Invalidate();
}

void CQuolixView::OnDataStart() {
    if (full == 1) {
        OnDataPause();
    }
    CQuolixDoc* document = GetDocument();
    if (document != nullptr && document->count > 0 && !ContinuesInItsOwnUnit(*document)) {
        return;
    }
    // Continue after the last stored sample; with fewer than two samples the
    // recording restarts at time 0.
    int32_t stored = 0;
    elapsed = 0;
    if (document != nullptr) {
        int32_t scratchReading = 0;
        stored = document->LastSample(elapsed, scratchReading);
        interval = document->ChooseInterval();
    }
    sinceSample = 0;
    tick = 0;
    recording = 1;
    if (fresh == 1) {
        if (stored == 0 && document != nullptr) {
            StoreSample(*document, elapsed);
        }
        offline = 0;
    }
    Invalidate();
}

int32_t CQuolixView::OtherUnitOf(const CQuolixDoc& document) const {
    const int32_t ownHz = recordingmeta::Read(document.comments).countHz;
    const int32_t viewHz = recordingmeta::HzPerCount(settings.Int(SettingsRecord::Resolution));
    return ownHz != viewHz ? ownHz : 0;
}

bool CQuolixView::ContinuesInItsOwnUnit(const CQuolixDoc& document) {
    const int32_t ownHz = OtherUnitOf(document);
    if (ownHz == 0) {
        return true;
    }
    // Readings of two units in one recording could never be told apart.
    if (WindowServices* window = GetWindow()) {
        const std::string text = "この記録は読み値 1 カウントを " + std::to_string(ownHz) +
                                 " Hz として記録されているため、いまの分解能では続けられません。"
                                 "新しい記録を始めるか、分解能を合わせてください。";
        window->MessageBox(ForWindow(text), ForWindow("分解能"));
    }
    return false;
}

void CQuolixView::OnDataPause() {
    recording = 0;
    Invalidate();
}

void CQuolixView::OnSetEnvironment() {
    WindowServices* window = GetWindow();
    if (window == nullptr) {
        return;
    }
    // The dialog fills the record from the settings file itself; seeding it
    // with ours only matters to a host that does not.
    SettingsRecord record = settings;
    if (window->RunSettingsDialog(record) == DialogResult::Ok) {
        const int oldPort = PortSlot(settings.Int(SettingsRecord::ComPort));
        settings = record;
        // A new port is used at once, not at the next start of the program.
        if (PortSlot(settings.Int(SettingsRecord::ComPort)) != oldPort && recording != 1) {
            ConnectPort();
        }
    }
    window->Invalidate();
}

void CQuolixView::OnPortConnect() {
    ConnectPort();
}

void CQuolixView::OnPortDisconnect() {
    keeper_.Disconnect();
    portOpen = 0;
    offline = 1;
    fresh = 0;
}

void CQuolixView::OnUpdatePortConnect(CCmdUI& cmdUI) {
    cmdUI.Enable(!keeper_.IsOpen());
}

void CQuolixView::OnUpdatePortDisconnect(CCmdUI& cmdUI) {
    // A recording would go on with nothing to record.
    cmdUI.Enable(keeper_.IsOpen() && recording != 1);
}

void CQuolixView::OnEditComment() {
    WindowServices* window = GetWindow();
    if (window == nullptr) {
        return;
    }
    std::array<std::string, 3> lines = {comments[0], comments[1], comments[2]};
    if (window->RunCommentDialog(lines) == DialogResult::Ok) {
        for (size_t i = 0; i < lines.size(); ++i) {
            comments[i] = lines[i];
        }
        // The last two lines are not edited here; they go back as we hold them.
        if (CQuolixDoc* document = GetDocument()) {
            document->SetComments(comments);
        }
    }
    window->Invalidate();
}

void CQuolixView::OnUpdateDataStart(CCmdUI& cmdUI) {
    cmdUI.Enable(recording == 0 && full == 0 && offline == 0);
}

void CQuolixView::OnUpdateDataPause(CCmdUI& cmdUI) {
    cmdUI.Enable(recording == 1);
}

void CQuolixView::OnUpdateSetEnvironment(CCmdUI& cmdUI) {
    cmdUI.Enable(recording != 1);
}

CQuolixView::Handler CQuolixView::CommandHandler(uint32_t id) {
    switch (id) {
        case ID_DATA_START:
            return &CQuolixView::OnDataStart;
        case ID_DATA_PAUSE:
            return &CQuolixView::OnDataPause;
        case ID_SET_ENVIRONMENT:
            return &CQuolixView::OnSetEnvironment;
        case ID_EDIT_COMMENT:
            return &CQuolixView::OnEditComment;
        case ID_PORT_CONNECT:
            return &CQuolixView::OnPortConnect;
        case ID_PORT_DISCONNECT:
            return &CQuolixView::OnPortDisconnect;
        default:
            return nullptr;
    }
}

bool CQuolixView::OnCmdMsg(uint32_t id) {
    if (Handler handler = CommandHandler(id)) {
        (this->*handler)();
        return true;
    }
    return CView::OnCmdMsg(id);
}

bool CQuolixView::HasCmdHandler(uint32_t id) const {
    return CommandHandler(id) != nullptr || CView::HasCmdHandler(id);
}

bool CQuolixView::OnUpdateCmdUI(uint32_t id, CCmdUI& cmdUI) {
    switch (id) {
        case ID_DATA_START:
            OnUpdateDataStart(cmdUI);
            return true;
        case ID_DATA_PAUSE:
            OnUpdateDataPause(cmdUI);
            return true;
        case ID_SET_ENVIRONMENT:
            OnUpdateSetEnvironment(cmdUI);
            return true;
        case ID_PORT_CONNECT:
            OnUpdatePortConnect(cmdUI);
            return true;
        case ID_PORT_DISCONNECT:
            OnUpdatePortDisconnect(cmdUI);
            return true;
        default:
            return CView::OnUpdateCmdUI(id, cmdUI);
    }
}

void CQuolixView::LoadSettings() {
    SettingsStore(settingsLocation_).LoadInto(settings);
}

void CQuolixView::ReceiveStep() {
    if (link_.ReceivePending(lastReading) == 1) {
        fresh = 1;
    }
}

void CQuolixView::StoreSample(CQuolixDoc& document, int32_t time) {
    const bool first = document.count <= 0;
    document.Append(time, lastReading);
    if (!first || document.count != 1) {
        return;
    }
    RecordingOrigin origin = origin_;
    if (origin.device.empty()) {
        const PortOpenError attempt = PortAttempt();
        origin.port = attempt.port;
        origin.device = attempt.device;
    }
    CQuolixDoc::Comments stamped;
    document.CopyCommentsTo(stamped);
    if (recordingmeta::StampRecordingStart(stamped, time, ReadWallClock(),
                                           settings.Int(SettingsRecord::Resolution), origin) == 1) {
        document.SetComments(stamped);
        // The comment dialog hands all five lines back as the view holds them.
        comments[recordingmeta::StartComment] = stamped[recordingmeta::StartComment];
        comments[recordingmeta::UnitComment] = stamped[recordingmeta::UnitComment];
    }
}

void CQuolixView::StartPollTimer() {
    if (WindowServices* window = GetWindow()) {
        timerId = window->SetTimer(PollTimerId, PollPeriodMs);
        polling_ = true;
    }
}

void CQuolixView::StopPollTimer() {
    WindowServices* window = GetWindow();
    if (window != nullptr && polling_) {
        window->KillTimer(timerId);
        polling_ = false;
    }
}

void CQuolixView::Invalidate() {
    drawn_.reset();
    if (WindowServices* window = GetWindow()) {
        window->Invalidate();
    }
}

void CQuolixView::ShowNewSample() {
    CQuolixDoc* document = GetDocument();
    WindowServices* window = GetWindow();
    if (document == nullptr || window == nullptr || printing != 0 || !drawn_) {
        Invalidate();
        return;
    }
    GraphScale scale;
    document->ComputeScale(scale);
    const Rect windowRect = window->GetWindowRect();
    if (windowRect.Width() != drawn_->width || windowRect.Height() != drawn_->height ||
        !GraphRenderer::AddsOneSample(drawn_->scale, scale)) {
        Invalidate();
        return;
    }
    const std::unique_ptr<DeviceContext> dc = window->GetDC();
    if (dc == nullptr) {
        Invalidate();
        return;
    }
    GraphRenderer(0, windowRect, settings).DrawNewSample(*dc, scale, document->Samples(), comments);
    drawn_->scale = std::move(scale);
}

}  // namespace quolix
