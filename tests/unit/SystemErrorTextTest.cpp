#include "base/SystemErrorText.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace quolix {
namespace {

struct ReasonCase {
    int error;
    const char* text;  // nullptr: the C library's own text
};

class SystemErrorTextCases : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(SystemErrorTextCases, GivesTheReasonAUserReads) {
    const ReasonCase& c = GetParam();
    const std::string expected = c.text != nullptr ? c.text : std::strerror(c.error);
    EXPECT_EQ(SystemErrorText(c.error), expected) << "errno " << c.error;
}

// The failures a user meets with files, folders and devices are in Japanese;
// anything rarer falls back to the C library's text rather than to nothing.
const ReasonCase ReasonCases[] = {
    {ENOENT, "ファイルまたはフォルダーが見つかりません"},
    {EACCES, "アクセスが拒否されました"},
    {EPERM, "この操作は許可されていません"},
    {ENOSPC, "ディスクの空き領域が足りません"},
#ifdef EDQUOT  // not in Windows' C library
    {EDQUOT, "ディスクの使用量の上限を超えています"},
#endif
    {EROFS, "読み取り専用のファイルシステムです"},
    {EBUSY, "使用中です"},
    {ETXTBSY, "ファイルが使用中です"},
    {EISDIR, "ファイルではなくフォルダーです"},
    {ENOTDIR, "パスの途中にフォルダーでないものがあります"},
    {EFBIG, "ファイルが大きすぎます"},
    {ENAMETOOLONG, "ファイル名が長すぎます"},
    {EIO, "入出力エラーが発生しました"},
    {EINVAL, nullptr},
    {EMFILE, nullptr},
    {ELOOP, nullptr},
    {-1, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Errors, SystemErrorTextCases, ::testing::ValuesIn(ReasonCases));

}  // namespace
}  // namespace quolix
