#include "app/FileStore.h"

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

} // namespace

std::optional<std::string> readWholeFile(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(path), ec)) return std::nullopt;
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in) return std::nullopt;
    // One read of the whole size (a measurement file runs to a hundred megabytes); a file
    // that grows meanwhile is read on to its end.
    std::string bytes;
    const uintmax_t size = fs::file_size(fs::path(path), ec);
    if (!ec) {
        bytes.resize(static_cast<size_t>(size));
        in.read(bytes.data(), static_cast<std::streamsize>(size));
        bytes.resize(static_cast<size_t>(in.gcount()));
    }
    if (in) bytes.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

std::string writeFileAtomically(const std::string& path, const std::string& bytes) {
    const fs::path target(path);
    fs::path temp = target;
    temp += ".tmp~";

    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return "cannot create " + temp.string();
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close(); // flushes; a failed flush sets failbit
        if (out.fail()) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            return "cannot write " + temp.string();
        }
    }
    std::error_code ec;
    if (!syncToDisk(temp)) {
        fs::remove(temp, ec);
        return "cannot flush " + temp.string() + " to disk";
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return "cannot replace " + path + ": " + ec.message();
    }
    syncFolder(target.parent_path());
    return {};
}
