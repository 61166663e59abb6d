#include "counter-sim/Simulator.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <utility>

namespace quolix {

namespace {

// Non-blocking: when nobody drains the slave, what does not fit is lost, as
// on a real line.
void WriteReply(int master, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(master, bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            if (written < 0 && errno == EINTR) {
                continue;
            }
            return;
        }
        done += static_cast<size_t>(written);
    }
}

}  // namespace

Simulator::Simulator(const ModelConfig& model, std::optional<ReplyScript> script)
    : model_(model), script_(std::move(script)) {}

double Simulator::Elapsed() const {
    return std::chrono::duration<double>(Clock::now() - start_).count();
}

void Simulator::Run(int master, const volatile sig_atomic_t& stop, double untilSeconds) {
    std::array<uint8_t, 256> received{};
    while (stop == 0 && (untilSeconds < 0 || Elapsed() < untilSeconds)) {
        pollfd watch{master, POLLIN, 0};
        const int ready = ::poll(&watch, 1, TimeoutMs());
        if (ready > 0 && (watch.revents & POLLIN) != 0) {
            const ssize_t got = ::read(master, received.data(), received.size());
            for (ssize_t i = 0; i < got; ++i) {
                if (received[static_cast<size_t>(i)] == '\r') {
                    Answer(master);
                }
            }
        } else if (ready > 0) {
            // Hang-up or error without data: wait instead of spinning.
            ::poll(nullptr, 0, PollCapMs);
        }
        SendDue(master);
    }
}

void Simulator::Answer(int master) {
    const double now = Elapsed();
    if (silentAt_ >= 0 && now >= silentAt_ && now < silentAt_ + silentFor_) {
        return;
    }
    if (script_) {
        const std::string* reply = script_->Next();
        if (reply != nullptr) {
            WriteReply(master, *reply);
        }
        return;
    }
    ModelReply reply = model_.NextReply(now);
    if (reply.kind == ModelReply::Kind::Dropped) {
        return;
    }
    if (reply.delayMs > 0) {
        late_.push_back(
            {Clock::now() + std::chrono::milliseconds(reply.delayMs), std::move(reply.bytes)});
        return;
    }
    WriteReply(master, reply.bytes);
}

int Simulator::TimeoutMs() const {
    int timeout = PollCapMs;
    const Clock::time_point now = Clock::now();
    for (const LateReply& late : late_) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(late.due - now).count();
        timeout = static_cast<int>(std::clamp<decltype(wait)>(wait, 0, timeout));
    }
    return timeout;
}

// Late replies go out in the order they fall due.
void Simulator::SendDue(int master) {
    std::stable_sort(late_.begin(), late_.end(),
                     [](const LateReply& a, const LateReply& b) { return a.due < b.due; });
    const Clock::time_point now = Clock::now();
    size_t sent = 0;
    while (sent < late_.size() && late_[sent].due <= now) {
        WriteReply(master, late_[sent].bytes);
        ++sent;
    }
    late_.erase(late_.begin(), late_.begin() + static_cast<std::ptrdiff_t>(sent));
}

}  // namespace quolix
