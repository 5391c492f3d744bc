#include "transport/backends/SerialMidiSystem.h"
#include "base/SerialPortList.h"
#include "transport/MidiByteParser.h"
#include "transport/backends/SerialLineSpeed.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace base;

namespace transport {

namespace {

constexpr uint32_t MaxHandle = 0xFFFFFF;
// A message whose first bytes went out gets this many short waits for the rest.
constexpr int PartialWriteWaits = 10;
constexpr int PartialWriteWaitMs = 10;

int openError(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENXIO:
    case ENODEV:
        return MidiBadDeviceId;
    case EBUSY:
        return MidiAllocated;
    default:
        return MidiError;
    }
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// A write error that means the far end or the device is gone for good.
bool hungUp(int error) {
    return error == EIO || error == ENXIO || error == ENODEV || error == EPIPE;
}

} // namespace

// One open file, shared by the input and the output of its path.
struct SerialMidiSystem::Line {
    int fd = -1;
    int users = 0;
    bool terminal = false;
    termios saved{};
    std::mutex writeMutex;
    // Hang-up: set once, by whichever side notices first, which then tells the owner.
    std::string path;
    SerialMidiSystem* owner = nullptr;
    std::atomic<bool> lost{false};

    void markLost() {
        if (!lost.exchange(true) && owner) owner->reportLost(path);
    }

    Line() = default;
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;
    ~Line() {
        if (fd < 0) return;
        if (terminal) {
            ::ioctl(fd, TIOCNXCL);
            ::tcsetattr(fd, TCSANOW, &saved);
        }
        closeFd(fd);
    }

    int open(const std::string& path, int baud) {
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return openError(errno);
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !(S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode))) {
            closeFd(fd); // a regular file or anything else is no MIDI line
            return MidiError;
        }
        if (!::isatty(fd)) return MidiOk;

        termios raw{};
        if (::tcgetattr(fd, &raw) != 0) {
            closeFd(fd);
            return MidiError;
        }
        saved = raw;
        ::cfmakeraw(&raw);
        raw.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
        raw.c_cflag |= CS8 | CLOCAL | CREAD;
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        ::cfsetispeed(&raw, B38400);
        ::cfsetospeed(&raw, B38400);
        if (::tcsetattr(fd, TCSANOW, &raw) != 0) {
            closeFd(fd);
            return MidiError;
        }
        if (baud != kSerialDefaultBaud && !setLineSpeed(fd, baud)) {
            ::tcsetattr(fd, TCSANOW, &saved);
            closeFd(fd);
            return MidiError;
        }
        terminal = true;
        ::ioctl(fd, TIOCEXCL); // other programs get "busy" while we hold the line
        return MidiOk;
    }

    int send(uint32_t msg) {
        uint8_t bytes[3];
        const std::size_t size = encodeShortMessage(msg, bytes);
        if (size == 0) return MidiError;
        if (lost) return MidiNoDriver;
        std::lock_guard lock(writeMutex);
        std::size_t done = 0;
        int waits = 0;
        while (done < size) {
            const ssize_t written = ::write(fd, bytes + done, size - done);
            if (written > 0) {
                done += static_cast<std::size_t>(written);
                continue;
            }
            if (written < 0 && errno == EINTR) continue;
            if (written < 0 && hungUp(errno)) {
                markLost();
                return MidiNoDriver;
            }
            if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return MidiError;
            // Nothing taken: the caller may try the whole message again. Once a part is out,
            // a new try would repeat it, so the rest has to follow now.
            if (done == 0) return MidiNotReady;
            if (waits++ == PartialWriteWaits) return MidiError;
            pollfd writable{fd, POLLOUT, 0};
            ::poll(&writable, 1, PartialWriteWaitMs);
        }
        return MidiOk;
    }
};

// One open input: its reading thread and what it delivers to.
struct SerialMidiSystem::Input {
    std::string path;
    std::shared_ptr<Line> line;
    MidiInCallback callback = nullptr;
    void* user = nullptr;
    int wake[2] = {-1, -1};
    std::thread thread;

    // Held while messages are handed over, so that stopping waits for a delivery in progress.
    std::mutex deliveryMutex;
    bool started = false;
    std::shared_ptr<Line> thru;
    uint32_t thruHandle = 0;

    Input() = default;
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;
    ~Input() { stop(); }

    void run() {
        MidiByteParser parser;
        uint8_t bytes[256];
        uint32_t messages[256];
        pollfd fds[2] = {{line->fd, POLLIN, 0}, {wake[0], POLLIN, 0}};
        for (;;) {
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (fds[1].revents != 0) return;
            const short events = fds[0].revents;
            if (events == 0) continue;
            bool lost = (events & POLLIN) == 0; // error or hang-up with nothing left to read
            if (events & POLLIN) {
                const ssize_t got = ::read(line->fd, bytes, sizeof bytes);
                if (got > 0) {
                    std::size_t count = 0;
                    for (ssize_t i = 0; i < got; ++i)
                        if (const auto msg = parser.feed(bytes[i])) messages[count++] = *msg;
                    deliver(messages, count);
                } else if (got == 0 ||
                           (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
                    lost = true;
                }
            }
            if (lost) {
                fds[0].fd = -1; // poll() leaves it out from now on
                line->markLost();
            }
        }
    }

    void deliver(const uint32_t* messages, std::size_t count) {
        if (count == 0) return;
        std::lock_guard lock(deliveryMutex);
        if (!started) return;
        for (std::size_t i = 0; i < count; ++i) {
            if (thru) thru->send(messages[i]);
            if (callback != nullptr) callback(user, MidiInData, messages[i]);
        }
    }

    int start() {
        if (::pipe(wake) != 0) return MidiError;
        for (int fd : wake) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            ::fcntl(fd, F_SETFL, O_NONBLOCK);
        }
        try {
            thread = std::thread([this] { run(); });
        } catch (...) {
            closeFd(wake[0]);
            closeFd(wake[1]);
            return MidiError;
        }
        return MidiOk;
    }

    void stop() {
        {
            std::lock_guard lock(deliveryMutex);
            started = false;
            thru.reset();
        }
        if (thread.joinable()) {
            const uint8_t byte = 1;
            while (::write(wake[1], &byte, 1) < 0 && errno == EINTR) {
            }
            thread.join();
        }
        closeFd(wake[0]);
        closeFd(wake[1]);
    }
};

SerialMidiSystem::SerialMidiSystem() = default;

SerialMidiSystem::~SerialMidiSystem() {
    std::lock_guard lock(mutex_);
    for (auto& [handle, input] : ins_)
        input->stop();
    ins_.clear();
    outs_.clear();
    lines_.clear();
}

int SerialMidiSystem::addPort(const std::string& path, int baud) {
    std::lock_guard lock(mutex_);
    if (!serialPortPathValid(path)) return MidiBadDeviceId;
    if (baud != kSerialDefaultBaud && baud != kSerialMidiBaud) return MidiBadDeviceId;
    for (const std::string& listed : paths_)
        if (listed == path) return MidiAllocated;
    if (paths_.size() >= kMaxSerialPorts) return MidiError;
    paths_.push_back(path);
    bauds_.push_back(baud);
    return MidiOk;
}

int SerialMidiSystem::removePort(const std::string& path) {
    std::lock_guard lock(mutex_);
    for (auto it = paths_.begin(); it != paths_.end(); ++it) {
        if (*it != path) continue;
        if (pathOpen(path)) return MidiAllocated;
        bauds_.erase(bauds_.begin() + (it - paths_.begin()));
        paths_.erase(it);
        return MidiOk;
    }
    return MidiBadDeviceId;
}

std::vector<std::string> SerialMidiSystem::ports() const {
    std::lock_guard lock(mutex_);
    return paths_;
}

std::vector<int> SerialMidiSystem::bauds() const {
    std::lock_guard lock(mutex_);
    return bauds_;
}

int SerialMidiSystem::openLineSpeed(const std::string& path) const {
    std::lock_guard lock(mutex_);
    const auto it = lines_.find(path);
    if (it == lines_.end() || !it->second->terminal) return 0;
    return lineSpeed(it->second->fd);
}

void SerialMidiSystem::setLossHandler(LossHandler handler) {
    std::lock_guard lock(lossMutex_);
    onLost_ = std::move(handler);
}

void SerialMidiSystem::reportLost(const std::string& path) {
    std::lock_guard lock(lossMutex_);
    if (onLost_) onLost_(path);
}

int SerialMidiSystem::outCount() {
    std::lock_guard lock(mutex_);
    return static_cast<int>(paths_.size());
}

int SerialMidiSystem::inCount() {
    return outCount();
}

int SerialMidiSystem::outCaps(int id, MidiCaps& caps) {
    std::lock_guard lock(mutex_);
    if (id < 0 || id >= static_cast<int>(paths_.size())) return MidiBadDeviceId;
    caps.name = serialDeviceName(paths_[static_cast<std::size_t>(id)]);
    return MidiOk;
}

int SerialMidiSystem::inCaps(int id, MidiCaps& caps) {
    return outCaps(id, caps);
}

int SerialMidiSystem::outOpen(int id, uint32_t& handle) {
    std::lock_guard lock(mutex_);
    if (id < 0 || id >= static_cast<int>(paths_.size())) return MidiBadDeviceId;
    const std::string path = paths_[static_cast<std::size_t>(id)];
    for (const auto& [h, out] : outs_)
        if (out.path == path) return MidiAllocated;
    std::shared_ptr<Line> line;
    const int result = acquireLine(path, line);
    if (result != MidiOk) return result;
    handle = newHandle();
    outs_.emplace(handle, Output{path, std::move(line)});
    return MidiOk;
}

int SerialMidiSystem::outClose(uint32_t handle) {
    std::lock_guard lock(mutex_);
    auto it = outs_.find(handle);
    if (it == outs_.end()) return MidiInvalidHandle;
    for (auto& [h, input] : ins_) {
        std::lock_guard delivery(input->deliveryMutex);
        if (input->thruHandle == handle) {
            input->thru.reset();
            input->thruHandle = 0;
        }
    }
    const std::string path = it->second.path;
    outs_.erase(it);
    releaseLine(path);
    return MidiOk;
}

int SerialMidiSystem::outShortMsg(uint32_t handle, uint32_t msg) {
    std::shared_ptr<Line> line;
    {
        std::lock_guard lock(mutex_);
        auto it = outs_.find(handle);
        if (it == outs_.end()) return MidiInvalidHandle;
        line = it->second.line;
    }
    return line->send(msg);
}

int SerialMidiSystem::inOpen(int id, uint32_t& handle, MidiInCallback callback, void* user) {
    std::lock_guard lock(mutex_);
    if (id < 0 || id >= static_cast<int>(paths_.size())) return MidiBadDeviceId;
    const std::string path = paths_[static_cast<std::size_t>(id)];
    for (const auto& [h, input] : ins_)
        if (input->path == path) return MidiAllocated;

    auto input = std::make_unique<Input>();
    input->path = path;
    input->callback = callback;
    input->user = user;
    int result = acquireLine(path, input->line);
    if (result != MidiOk) return result;
    result = input->start();
    if (result != MidiOk) {
        input->line.reset();
        releaseLine(path);
        return result;
    }
    handle = newHandle();
    ins_.emplace(handle, std::move(input));
    return MidiOk;
}

int SerialMidiSystem::inClose(uint32_t handle) {
    std::lock_guard lock(mutex_);
    auto it = ins_.find(handle);
    if (it == ins_.end()) return MidiInvalidHandle;
    // The thread never takes mutex_, so it can be joined here.
    it->second->stop();
    const std::string path = it->second->path;
    ins_.erase(it);
    releaseLine(path);
    return MidiOk;
}

int SerialMidiSystem::inStart(uint32_t handle) {
    std::lock_guard lock(mutex_);
    auto it = ins_.find(handle);
    if (it == ins_.end()) return MidiInvalidHandle;
    std::lock_guard delivery(it->second->deliveryMutex);
    it->second->started = true;
    return MidiOk;
}

int SerialMidiSystem::inStop(uint32_t handle) {
    std::lock_guard lock(mutex_);
    auto it = ins_.find(handle);
    if (it == ins_.end()) return MidiInvalidHandle;
    std::lock_guard delivery(it->second->deliveryMutex);
    it->second->started = false;
    return MidiOk;
}

int SerialMidiSystem::connect(uint32_t inHandle, uint32_t outHandle) {
    std::lock_guard lock(mutex_);
    auto in = ins_.find(inHandle);
    auto out = outs_.find(outHandle);
    if (in == ins_.end() || out == outs_.end()) return MidiInvalidHandle;
    std::lock_guard delivery(in->second->deliveryMutex);
    in->second->thru = out->second.line;
    in->second->thruHandle = outHandle;
    return MidiOk;
}

int SerialMidiSystem::disconnect(uint32_t inHandle, uint32_t outHandle) {
    std::lock_guard lock(mutex_);
    auto in = ins_.find(inHandle);
    auto out = outs_.find(outHandle);
    if (in == ins_.end() || out == outs_.end()) return MidiInvalidHandle;
    std::lock_guard delivery(in->second->deliveryMutex);
    if (in->second->thruHandle == outHandle) {
        in->second->thru.reset();
        in->second->thruHandle = 0;
    }
    return MidiOk;
}

void SerialMidiSystem::notReadyPause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

int SerialMidiSystem::acquireLine(const std::string& path, std::shared_ptr<Line>& line) {
    auto it = lines_.find(path);
    if (it != lines_.end()) {
        ++it->second->users;
        line = it->second;
        return MidiOk;
    }
    auto opened = std::make_shared<Line>();
    opened->path = path;
    opened->owner = this;
    int baud = kSerialDefaultBaud;
    for (std::size_t i = 0; i < paths_.size(); ++i)
        if (paths_[i] == path) baud = bauds_[i];
    const int result = opened->open(path, baud);
    if (result != MidiOk) return result;
    opened->users = 1;
    lines_.emplace(path, opened);
    line = std::move(opened);
    return MidiOk;
}

void SerialMidiSystem::releaseLine(const std::string& path) {
    auto it = lines_.find(path);
    if (it == lines_.end()) return;
    // The file closes when the last holder lets go of the line.
    if (--it->second->users <= 0) lines_.erase(it);
}

bool SerialMidiSystem::pathOpen(const std::string& path) const {
    for (const auto& [h, out] : outs_)
        if (out.path == path) return true;
    for (const auto& [h, input] : ins_)
        if (input->path == path) return true;
    return false;
}

uint32_t SerialMidiSystem::newHandle() {
    for (;;) {
        const uint32_t handle = nextHandle_;
        nextHandle_ = nextHandle_ >= MaxHandle ? 1 : nextHandle_ + 1;
        if (outs_.count(handle) == 0 && ins_.count(handle) == 0) return handle;
    }
}

} // namespace transport
