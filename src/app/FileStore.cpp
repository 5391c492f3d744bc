#include "app/FileStore.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Pushes the file's data to the disk before the rename makes it the real one.
bool syncToDisk([[maybe_unused]] const fs::path& path) {
#ifndef _WIN32
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
#else
    return true;
#endif
}

// Makes the rename itself durable; a failure here does not undo a completed save.
void syncFolder([[maybe_unused]] const fs::path& folder) {
#ifndef _WIN32
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
#endif
}

// The reason the last failed call gave, in the system's words.
std::string systemReason() {
    const int code = errno ? errno : EIO;
    return std::generic_category().message(code);
}

} // namespace

std::optional<std::string> readWholeFile(const std::string& path, std::string* reason) {
    const auto fail = [reason](std::string why) -> std::optional<std::string> {
        if (reason) *reason = std::move(why);
        return std::nullopt;
    };
    std::error_code ec;
    const fs::file_status status = fs::status(fs::path(path), ec);
    if (ec) return fail(ec.message());
    if (fs::is_directory(status))
        return fail(std::make_error_code(std::errc::is_a_directory).message());
    if (!fs::is_regular_file(status))
        return fail(std::make_error_code(std::errc::no_such_file_or_directory).message());
    errno = 0;
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in) return fail(systemReason());
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return fail(systemReason());
    return bytes;
}

std::string writeFileAtomically(const std::string& path, const std::string& bytes) {
    const fs::path target(path);
    fs::path temp = target;
    temp += ".tmp~";

    {
        errno = 0;
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return systemReason();
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close(); // flushes; a failed flush sets failbit
        if (out.fail()) {
            const std::string why = systemReason();
            std::error_code ignored;
            fs::remove(temp, ignored);
            return why;
        }
    }
    std::error_code ec;
    if (!syncToDisk(temp)) {
        const std::string why = systemReason();
        fs::remove(temp, ec);
        return why;
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return ec.message();
    }
    syncFolder(target.parent_path());
    return {};
}
