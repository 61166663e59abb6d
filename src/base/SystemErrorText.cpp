#include "base/SystemErrorText.h"

#include <cerrno>
#include <system_error>

namespace quolix {

std::string SystemErrorText(int error) {
    switch (error) {
        case ENOENT:
            return "ファイルまたはフォルダーが見つかりません";
        case EACCES:
            return "アクセスが拒否されました";
        case EPERM:
            return "この操作は許可されていません";
        case ENOSPC:
            return "ディスクの空き領域が足りません";
#ifdef EDQUOT  // Windows' C library has no quotas
        case EDQUOT:
            return "ディスクの使用量の上限を超えています";
#endif
        case EROFS:
            return "読み取り専用のファイルシステムです";
        case EBUSY:
            return "使用中です";
        case ETXTBSY:
            return "ファイルが使用中です";
        case EISDIR:
            return "ファイルではなくフォルダーです";
        case ENOTDIR:
            return "パスの途中にフォルダーでないものがあります";
        case EFBIG:
            return "ファイルが大きすぎます";
        case ENAMETOOLONG:
            return "ファイル名が長すぎます";
        case EIO:
            return "入出力エラーが発生しました";
        default:
            // strerror, in the language of the C library's locale.
            return std::generic_category().message(error);
    }
}

}  // namespace quolix
