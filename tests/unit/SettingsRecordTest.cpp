#include "settings/SettingsRecord.h"

#include <gtest/gtest.h>

namespace quolix {
namespace {

TEST(SettingsRecordTest, DefaultsReplaceEverySlotIncludingSpares) {
    SettingsRecord record;
    for (int slot = 0; slot < SettingsRecord::SlotCount; ++slot) {
        if (SettingsRecord::IsTextSlot(slot)) {
            record.Text(slot) = "x";
        } else {
            record.Int(slot) = 999;
        }
    }
    record.ApplyDefaults();
    const int expected[SettingsRecord::SlotCount] = {0,  0,  0,   0,   0, 2, 0, 0, 1, 0,
                                                     0,  0,  0,   0,   0, 0, 0, 0, 0, 0,
                                                     44, 44, 700, 550, 0, 0, 0, 0, 0, 0};
    for (int slot = 0; slot < SettingsRecord::SlotCount; ++slot) {
        if (!SettingsRecord::IsTextSlot(slot)) {
            EXPECT_EQ(record.Int(slot), expected[slot]) << "slot " << slot;
        }
    }
    EXPECT_EQ(record.Text(10), "Quolix Frequency Counter");
    EXPECT_EQ(record.Text(11), "( Frequency Data Logger )");
    EXPECT_EQ(record.Text(12), "default data");
    EXPECT_EQ(record.Text(13), "default data");
    EXPECT_EQ(record.Text(14), "default data");
}

TEST(SettingsRecordTest, CopySharesNothing) {
    SettingsRecord original;
    original.ApplyDefaults();
    SettingsRecord copy = original;
    copy.Text(SettingsRecord::Title1) = "changed";
    copy.Int(SettingsRecord::ComPort) = 7;
    EXPECT_EQ(original.Text(SettingsRecord::Title1), "Quolix Frequency Counter");
    EXPECT_EQ(original.Int(SettingsRecord::ComPort), 0);
    EXPECT_FALSE(copy == original);
    copy = original;
    EXPECT_TRUE(copy == original);
}

TEST(SettingsRecordTest, OutOfRangeValuesAreCarriedUnchanged) {
    SettingsRecord record;
    record.ApplyDefaults();
    record.Int(SettingsRecord::ComPort) = 5;
    record.Int(SettingsRecord::Resolution) = -3;
    record.Int(SettingsRecord::FrameWidth) = -1;
    const SettingsRecord copy(record);
    EXPECT_EQ(copy.Int(SettingsRecord::ComPort), 5);
    EXPECT_EQ(copy.Int(SettingsRecord::Resolution), -3);
    EXPECT_EQ(copy.Int(SettingsRecord::FrameWidth), -1);
}

TEST(SettingsRecordTest, WrongKindOfSlotNeverReachesOutsideTheRecord) {
    SettingsRecord record;
    record.ApplyDefaults();
    record.Int(10) = 5;    // a text slot used as an integer
    record.Int(30) = 5;    // past the end
    record.Text(3) = "x";  // an integer slot used as text
    record.Text(-1) = "x";
    EXPECT_EQ(record.Text(10), "Quolix Frequency Counter");
    EXPECT_EQ(record.Int(3), 0);
    EXPECT_EQ(static_cast<const SettingsRecord&>(record).Int(30), 0);
    EXPECT_EQ(static_cast<const SettingsRecord&>(record).Text(3), "");
}

}  // namespace
}  // namespace quolix
