#include "base/FileStore.h"
#include "base/SystemPath.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

namespace base {

#endif

namespace {

// Pushes the file's data to the disk before the rename makes it the real one.
bool syncToDisk([[maybe_unused]] const std::filesystem::path& path) {
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
void syncFolder([[maybe_unused]] const std::filesystem::path& folder) {
#ifndef _WIN32
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
#endif
}

// The file a path names: a symbolic link is followed to what it points to (through
// further links too), so a save replaces the target and leaves the link a link. A link
// whose target is missing names that target, which the save creates.
std::filesystem::path resolvedTarget(std::filesystem::path path) {
    constexpr int kMostLinks = 40; // as the system follows them before giving up
    std::error_code ec;
    for (int hops = 0; hops < kMostLinks &&
                       std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec));
         ++hops) {
        const std::filesystem::path link = std::filesystem::read_symlink(path, ec);
        if (ec) break;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return path;
}

// The reason the last failed call gave, in the system's words.
std::string systemReason() {
    const int code = errno ? errno : EIO;
    return std::generic_category().message(code);
}

} // namespace

FileRead readFile(const std::string& path, std::uintmax_t maxBytes) {
    FileRead read;
    const std::filesystem::path file = filePath(path);
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(file, ec);
    if (status.type() == std::filesystem::file_type::not_found) { // Missing
        read.error = std::make_error_code(std::errc::no_such_file_or_directory).message();
        return read;
    }
    read.result = FileRead::Result::Unreadable;
    if (ec) {
        read.error = ec.message();
        return read;
    }
    if (status.type() == std::filesystem::file_type::directory) {
        read.error = std::make_error_code(std::errc::is_a_directory).message();
        return read;
    }
    if (status.type() != std::filesystem::file_type::regular) {
        read.error = "not a regular file";
        return read;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (!ec && size > maxBytes) {
        read.result = FileRead::Result::TooLarge;
        read.error = std::to_string(size) + " bytes";
        return read;
    }
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        read.error = systemReason();
        return read;
    }
    // In large pieces, and never more than the limit, even when the file grows while it is
    // read.
    std::string bytes;
    if (!ec) bytes.reserve(static_cast<std::size_t>(size));
    std::vector<char> chunk(1 << 20);
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (bytes.size() + got > maxBytes) {
            read.result = FileRead::Result::TooLarge;
            read.error = "more than " + std::to_string(maxBytes) + " bytes";
            return read;
        }
        bytes.append(chunk.data(), got);
    }
    if (in.bad()) {
        read.error = systemReason();
        return read;
    }
    read.result = FileRead::Result::Read;
    read.bytes = std::move(bytes);
    return read;
}

std::optional<std::string> readWholeFile(const std::string& path, std::uintmax_t maxBytes) {
    FileRead read = readFile(path, maxBytes);
    if (!read.ok()) return std::nullopt;
    return std::move(read.bytes);
}

std::string writeFileAtomically(const std::string& path, const std::string& bytes) {
    // The temporary file lies beside the file really replaced, so the rename stays within
    // its folder.
    const std::filesystem::path target = resolvedTarget(filePath(path));
    std::filesystem::path temp = target;
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
            std::filesystem::remove(temp, ignored);
            return why;
        }
    }
    std::error_code ec;
    if (!syncToDisk(temp)) {
        const std::string why = systemReason();
        std::filesystem::remove(temp, ec);
        return why;
    }
    // The replacement keeps the permissions the user gave the file.
    const std::filesystem::file_status previous = std::filesystem::status(target, ec);
    if (!ec && previous.type() == std::filesystem::file_type::regular)
        std::filesystem::permissions(temp, previous.permissions(),
                                     std::filesystem::perm_options::replace, ec);
    ec.clear();
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return ec.message();
    }
    syncFolder(target.parent_path());
    return {};
}

} // namespace base
