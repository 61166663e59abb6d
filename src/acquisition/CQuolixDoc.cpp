#include "acquisition/CQuolixDoc.h"

#include "acquisition/RecordFile.h"
#include "framework/Archive.h"

namespace quolix {

CQuolixDoc::CQuolixDoc() {
    Reset();
}

void CQuolixDoc::Serialize(Archive& archive) {
    if (archive.IsStoring()) {
        recordfile::Store(*this, archive);
    } else {
        recordfile::Load(*this, archive);
    }
}

std::string_view CQuolixDoc::ForeignFileText() const {
    return recordfile::ForeignFileText;
}

int CQuolixDoc::OnNewDocument() {
    if (CDocument::OnNewDocument() == 0) {
        return 0;
    }
    count = 0;
    Reset();
    return 1;
}

void CQuolixDoc::Reset() {
    count = 0;
    for (std::string& comment : comments) {
        comment.clear();
    }
    UpdateAllViews(nullptr, StoreResetHint);
}

void CQuolixDoc::ClampCount() {
    if (count < 0) {
        count = 0;
    } else if (count > SampleCapacity) {
        count = SampleCapacity;
    }
}

void CQuolixDoc::Append(int32_t time, int32_t reading) {
    ClampCount();
    if (IsFull() == 1) {
        return;
    }
    if (count >= SampleLimit) {
        // Keep every second sample; ascending order makes the in-place copy
        // safe because each source index is at or above its destination.
        const int32_t half = count / 2;
        for (int32_t i = 0; i < half; ++i) {
            times[static_cast<size_t>(i)] = times[static_cast<size_t>(2 * i)];
            readings[static_cast<size_t>(i)] = readings[static_cast<size_t>(2 * i)];
        }
        count = half;
    }
    times[static_cast<size_t>(count)] = time;
    readings[static_cast<size_t>(count)] = reading;
    ++count;
    SetModifiedFlag();
}

int CQuolixDoc::IsFull() {
    return (count >= SampleLimit && ChooseInterval() == -1) ? 1 : 0;
}

int32_t CQuolixDoc::ChooseInterval() {
    ClampCount();
    const int64_t last = count != 0 ? times[static_cast<size_t>(count - 1)] : 0;
    for (const int32_t entry : IntervalTable) {
        if (entry < 0) {
            return -1;
        }
        if (static_cast<int64_t>(entry) * SampleLimit > last) {
            return entry;
        }
    }
    return -1;
}

int32_t CQuolixDoc::GetSample(int32_t& time, int32_t& reading, int32_t index) {
    ClampCount();
    if (index > 0 && index < count) {
        time = times[static_cast<size_t>(index)];
        reading = readings[static_cast<size_t>(index)];
        return count;
    }
    time = 0;
    reading = 0;
    return 0;
}

int32_t CQuolixDoc::LastSample(int32_t& time, int32_t& reading) {
    ClampCount();
    const int32_t index = count - 1 < 0 ? 0 : count - 1;
    return GetSample(time, reading, index);
}

SampleSeries CQuolixDoc::Samples() const {
    return SampleSeries::FirstOf(times, readings, count);
}

void CQuolixDoc::ComputeScale(GraphScale& scale) {
    if (count < 0) {
        count = 0;
    }
    scale = quolix::ComputeScale(Samples());
}

void CQuolixDoc::CopyCommentsTo(Comments& destination) const {
    destination = comments;
}

void CQuolixDoc::SetComments(const Comments& source) {
    comments = source;
    SetModifiedFlag();
}

}  // namespace quolix
