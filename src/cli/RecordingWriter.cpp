#include "cli/RecordingWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "cli/OutputFile.h"
#include "link/UniqueFd.h"

namespace quolix {

RecordingWriter::RecordingWriter(const std::string& path)
    : target_(OutputFile::ResolveTarget(path)), mode_(OutputFile::ModeFor(target_)) {}

int RecordingWriter::Write(std::string_view bytes) {
    std::string temp = target_ + ".XXXXXX";
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.Valid()) {
        return errno;
    }
    const auto fail = [&temp](int error) {
        ::unlink(temp.c_str());
        return error;
    };
    (void)::fchmod(fd.Get(), mode_);
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd.Get(), bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::close(fd.Release()) != 0) {
        return fail(errno);
    }
    if (::rename(temp.c_str(), target_.c_str()) != 0) {
        return fail(errno);
    }
    return 0;
}

}  // namespace quolix
