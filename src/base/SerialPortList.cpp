#include "base/SerialPortList.h"
#include <algorithm>
#include <utility>

namespace base {

namespace {

constexpr std::size_t CountPos = 10; // 0-based offset of the count byte
constexpr std::size_t FirstPath = 11;
constexpr std::size_t NameField = 31;
constexpr std::size_t FirstBaud = 491;
constexpr char MidiBaudMark = 'M';

bool isControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

} // namespace

bool serialPortPathValid(std::string_view path) {
    if (path.empty() || path.size() > kSerialPortPathLength) return false;
    if (path.back() == ' ') return false;
    return std::none_of(path.begin(), path.end(), isControl);
}

std::string serializeSerialPortRecord(const std::vector<std::string>& paths,
                                      const std::vector<int>& bauds) {
    std::string record(kSerialPortRecordSize, ' ');
    record.replace(0, kSerialPortSignature.size(), kSerialPortSignature);
    std::vector<std::string_view> kept;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        if (kept.size() == kMaxSerialPorts) break;
        if (!serialPortPathValid(path)) continue;
        if (std::find(kept.begin(), kept.end(), path) != kept.end()) continue;
        record.replace(FirstPath + kept.size() * kSerialPortPathLength, path.size(), path);
        if (i < bauds.size() && bauds[i] == kSerialMidiBaud)
            record[FirstBaud + kept.size()] = MidiBaudMark;
        kept.push_back(path);
    }
    record[CountPos] = static_cast<char>(kept.size());
    return record;
}

namespace {
struct Entries {
    std::vector<std::pair<std::string, int>> paths; // with their speeds
    std::size_t cut = 0; // paths the count announces whose fields the end of the record cut
};

// The paths of the record with their speeds.
Entries parseEntries(std::string_view record) {
    Entries entries;
    if (record.size() <= CountPos ||
        record.substr(0, kSerialPortSignature.size()) != kSerialPortSignature)
        return entries;
    const auto count = static_cast<unsigned char>(record[CountPos]);
    if (count > kMaxSerialPorts) return entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = FirstPath + i * kSerialPortPathLength;
        std::string_view field =
            at < record.size() ? record.substr(at, kSerialPortPathLength) : std::string_view();
        const std::string_view path = trimRight(field);
        // A field cut short still holds its path when a blank follows it (no path ends in
        // one); cut inside the path, it would name another device.
        if (field.size() < kSerialPortPathLength && (path.empty() || path.size() == field.size())) {
            entries.cut = count - i;
            break;
        }
        if (!serialPortPathValid(path)) continue;
        if (std::find_if(entries.paths.begin(), entries.paths.end(),
                         [&](const auto& e) { return e.first == path; }) != entries.paths.end())
            continue;
        const bool midiBaud =
            FirstBaud + i < record.size() && record[FirstBaud + i] == MidiBaudMark;
        entries.paths.emplace_back(path, midiBaud ? kSerialMidiBaud : kSerialDefaultBaud);
    }
    return entries;
}
} // namespace

std::vector<std::string> parseSerialPortRecord(std::string_view record) {
    std::vector<std::string> paths;
    for (auto& entry : parseEntries(record).paths)
        paths.push_back(std::move(entry.first));
    return paths;
}

std::vector<int> parseSerialPortBauds(std::string_view record) {
    std::vector<int> bauds;
    for (const auto& entry : parseEntries(record).paths)
        bauds.push_back(entry.second);
    return bauds;
}

std::size_t serialPortsCutOff(std::string_view record) {
    return parseEntries(record).cut;
}

std::string serialDeviceName(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    std::size_t cut = path.rfind('/');
    std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
    if (cut != std::string_view::npos && cut > 0) {
        const std::size_t before = path.rfind('/', cut - 1);
        const std::size_t start = before == std::string_view::npos ? 0 : before + 1;
        if (path.substr(start, cut - start) == "pts") name = path.substr(start);
    }
    if (name.size() <= NameField) return std::string(name);
    // Never end inside a UTF-8 sequence: back off to its lead byte and drop that too.
    std::size_t end = NameField;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return std::string(name.substr(0, end));
}

} // namespace base
