#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "framework/CDocument.h"
#include "graph/GraphScale.h"
#include "graph/SampleSeries.h"

namespace quolix {

// The document: one recording's samples in two parallel arrays, plus five
// comment lines. Decides the sampling interval, thins the samples when the
// store reaches its limit, and says when a recording can go on no longer.
class CQuolixDoc : public CDocument {
  public:
    static constexpr int32_t SampleCapacity = 2100;
    static constexpr int32_t SampleLimit = 2040;
    static constexpr int CommentCount = 5;
    // Sampling intervals in seconds; the negative sentinel ends the table.
    static constexpr std::array<int32_t, 14> IntervalTable = {1,   2,   4,   8,    16,   32,   64,
                                                              128, 256, 512, 1024, 2048, 4096, -1};

    using Comments = std::array<std::string, CommentCount>;

    // The update hint of Reset: the store was emptied, so the recording that
    // filled it is over.
    static constexpr int StoreResetHint = 1;

    CQuolixDoc();

    // Storing or loading the record file; a failed load leaves the document
    // untouched and marks the archive failed with the reason.
    void Serialize(Archive& archive) override;
    std::string_view ForeignFileText() const override;
    int OnNewDocument() override;
    // Empties the store and the comments and tells the views (StoreResetHint).
    void Reset();

    // Stores a sample and marks the document modified (unless it is full).
    void Append(int32_t time, int32_t reading);
    int IsFull();
    int32_t ChooseInterval();
    // count when 0 < index < count (index 0 is never returned), else 0 with
    // both outputs 0.
    int32_t GetSample(int32_t& time, int32_t& reading, int32_t index);
    // count and the last sample when the store holds two or more, else 0.
    int32_t LastSample(int32_t& time, int32_t& reading);

    void CopyCommentsTo(Comments& destination) const;
    // Marks the document modified: the comments are part of the record.
    void SetComments(const Comments& source);
    // The stored samples, read-only, for drawing and reports.
    SampleSeries Samples() const;
    // Axes of the graph for the current samples. A negative count is set to 0
    // first and the store treated as empty; nothing else is changed.
    void ComputeScale(GraphScale& scale);

    // The store itself. Indices 0 to count - 1 are valid; count is never above
    // SampleCapacity, and a negative count is treated as an empty store.
    std::array<int32_t, SampleCapacity> times{};
    std::array<int32_t, SampleCapacity> readings{};
    Comments comments;
    int32_t count = 0;

  private:
    void ClampCount();
};

}  // namespace quolix
