#include "midi/MidiByteParser.h"
#include "midi/backends/SerialMidiSystem.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Messages = std::vector<uint32_t>;

constexpr int WaitMs =
    5000; // a generous bound on every wait; none is ever reached when all goes well

// The master side of a pseudo-terminal; the backend opens the slave path.
struct Pty {
    int master = -1;
    std::string slave;

    Pty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
        char name[128] = {};
        if (::ptsname_r(master, name, sizeof name) == 0) slave = name;
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~Pty() {
        if (master >= 0) ::close(master);
    }

    void write(const Bytes& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                return;
            else
                waitFor(POLLOUT);
        }
    }

    // Reads until count bytes have come, or the bound has passed.
    Bytes read(std::size_t count) const {
        Bytes got;
        uint8_t buffer[256];
        while (got.size() < count) {
            const std::size_t want = std::min(sizeof buffer, count - got.size());
            const ssize_t n = ::read(master, buffer, want);
            if (n > 0)
                got.insert(got.end(), buffer, buffer + n);
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;
            else if (!waitFor(POLLIN))
                break;
        }
        return got;
    }

    bool waitFor(short events) const {
        pollfd p{master, events, 0};
        return ::poll(&p, 1, WaitMs) > 0;
    }
};

// What the input callback delivered.
struct Received {
    std::mutex mutex;
    std::condition_variable arrived;
    Messages messages;

    static void proc(void* self, uint32_t msg, uint32_t param) {
        auto& r = *static_cast<Received*>(self);
        if (msg != mim::Data) return;
        {
            std::lock_guard lock(r.mutex);
            r.messages.push_back(param);
        }
        r.arrived.notify_all();
    }

    Messages waitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        arrived.wait_for(lock, std::chrono::milliseconds(WaitMs),
                         [&] { return messages.size() >= count; });
        return messages;
    }
};

// A unit emulated on the master side: it collects read requests for the right module
// (0x88, address in data1) and, once it has `batch` of them, answers them in one write,
// status 0x88, address, value; the answers after the first run on the first one's status,
// and a timing clock byte falls inside the first answer.
class EmulatedUnit {
public:
    EmulatedUnit(const Pty& pty, std::map<int, int> memory, std::size_t batch)
        : pty_(pty), memory_(std::move(memory)), batch_(batch) {
        if (::pipe(stop_) == 0) thread_ = std::thread([this] { run(); });
    }
    ~EmulatedUnit() {
        if (thread_.joinable()) {
            const char byte = 1;
            (void)!::write(stop_[1], &byte, 1);
            thread_.join();
        }
        ::close(stop_[0]);
        ::close(stop_[1]);
    }
    Bytes heard() {
        std::lock_guard lock(mutex_);
        return heard_;
    }

private:
    void run() {
        MidiByteParser parser;
        std::vector<int> requests;
        pollfd fds[2] = {{pty_.master, POLLIN, 0}, {stop_[0], POLLIN, 0}};
        for (;;) {
            if (::poll(fds, 2, -1) < 0 || fds[1].revents != 0) return;
            uint8_t buffer[64];
            const ssize_t n = ::read(pty_.master, buffer, sizeof buffer);
            if (n <= 0) {
                if (n < 0 && errno == EAGAIN) continue;
                return;
            }
            for (ssize_t i = 0; i < n; ++i) {
                {
                    std::lock_guard lock(mutex_);
                    heard_.push_back(buffer[i]);
                }
                const auto msg = parser.feed(buffer[i]);
                if (msg && (*msg & 0xFF) == 0x88) requests.push_back(static_cast<int>(*msg >> 8));
            }
            if (requests.size() < batch_) continue;
            Bytes answer{0x88};
            for (int address : requests) {
                answer.push_back(static_cast<uint8_t>(address));
                if (answer.size() == 2) answer.push_back(0xF8);
                answer.push_back(static_cast<uint8_t>(memory_[address]));
            }
            requests.clear();
            pty_.write(answer);
        }
    }

    const Pty& pty_;
    std::map<int, int> memory_;
    std::size_t batch_;
    int stop_[2] = {-1, -1};
    std::mutex mutex_;
    Bytes heard_;
    std::thread thread_;
};

class SerialMidi : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(pty.master, 0);
        ASSERT_FALSE(pty.slave.empty());
        ASSERT_EQ(serial.addPort(pty.slave), mmr::Ok);
    }

    // Opens the pseudo-terminal in both directions and starts input.
    void openBoth() {
        ASSERT_EQ(serial.outOpen(0, out), mmr::Ok);
        ASSERT_EQ(serial.inOpen(0, in, &Received::proc, &received), mmr::Ok);
        ASSERT_EQ(serial.inStart(in), mmr::Ok);
    }

    Pty pty;
    Received received;
    SerialMidiSystem serial;
    uint32_t out = 0;
    uint32_t in = 0;
};

TEST_F(SerialMidi, WorkbenchAndEmulatedUnitExchangeReadRequests) {
    MidiCaps caps;
    ASSERT_EQ(serial.outCount(), 1);
    ASSERT_EQ(serial.inCount(), 1);
    ASSERT_EQ(serial.inCaps(0, caps), mmr::Ok);
    EXPECT_EQ(caps.name, "pts/" + std::filesystem::path(pty.slave).filename().string());

    openBoth();
    EmulatedUnit unit(pty, {{5, 0x42}, {6, 0x17}}, 2);
    // Read requests of the right module for addresses 5 and 6.
    EXPECT_EQ(serial.outShortMsg(out, 0x00000588), mmr::Ok);
    EXPECT_EQ(serial.outShortMsg(out, 0x00000688), mmr::Ok);

    // The unit answered 88 05 F8 42 06 17.
    EXPECT_EQ(received.waitFor(2), (Messages{0x00420588, 0x00170688}));
    // Each request went out whole, status included.
    EXPECT_EQ(unit.heard(), (Bytes{0x88, 0x05, 0x00, 0x88, 0x06, 0x00}));
}

TEST_F(SerialMidi, OneFileServesBothDirectionsUntilTheLastCloses) {
    openBoth();
    uint32_t again = 0;
    EXPECT_EQ(serial.outOpen(0, again), mmr::Allocated);
    EXPECT_EQ(serial.inOpen(0, again, &Received::proc, &received), mmr::Allocated);
    EXPECT_EQ(serial.removePort(pty.slave), mmr::Allocated);

    // The output closed, the input still reads the shared file.
    ASSERT_EQ(serial.outClose(out), mmr::Ok);
    EXPECT_EQ(serial.outShortMsg(out, 0x000000D0), mmr::InvalidHandle);
    pty.write({0xD2, 0x00});
    EXPECT_EQ(received.waitFor(1), (Messages{0x000000D2}));

    // With the input closed too the file is closed: the master sees the hang-up.
    ASSERT_EQ(serial.inClose(in), mmr::Ok);
    EXPECT_EQ(serial.inClose(in), mmr::InvalidHandle);
    pollfd p{pty.master, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, WaitMs), 1);
    EXPECT_NE(p.revents & POLLHUP, 0);

    // Opened again, the line works again.
    ASSERT_EQ(serial.outOpen(0, out), mmr::Ok);
    ASSERT_EQ(serial.outShortMsg(out, 0x000000D1), mmr::Ok);
    EXPECT_EQ(pty.read(2), (Bytes{0xD1, 0x00}));
    EXPECT_EQ(serial.outClose(out), mmr::Ok);
    EXPECT_EQ(serial.removePort(pty.slave), mmr::Ok);
    EXPECT_EQ(serial.outCount(), 0);
}

TEST_F(SerialMidi, ThruSendsWhatArrivesToTheOutput) {
    openBoth();
    ASSERT_EQ(serial.connect(in, out), mmr::Ok);
    pty.write({0x90, 0x01, 0x02, 0x03, 0x04});
    EXPECT_EQ(received.waitFor(2), (Messages{0x00020190, 0x00040390}));
    EXPECT_EQ(pty.read(6), (Bytes{0x90, 0x01, 0x02, 0x90, 0x03, 0x04}));

    // Closing the output ends thru; the input goes on.
    ASSERT_EQ(serial.outClose(out), mmr::Ok);
    EXPECT_EQ(serial.connect(in, out), mmr::InvalidHandle);
    pty.write({0xC0, 0x05});
    EXPECT_EQ(received.waitFor(3).back(), 0x000005C0u);
}

TEST_F(SerialMidi, AFullLineAnswersNotReady) {
    ASSERT_EQ(serial.outOpen(0, out), mmr::Ok);
    // One-byte messages (tune request) until the line takes no more.
    int result = mmr::Ok;
    std::size_t sent = 0;
    for (int i = 0; i < 1'000'000 && result == mmr::Ok; ++i) {
        result = serial.outShortMsg(out, 0x000000F6);
        if (result == mmr::Ok) ++sent;
    }
    ASSERT_EQ(result, mmr::NotReady);

    // Once the other end reads, a send gets through again, as the port layer retries it.
    std::atomic<bool> drained{false};
    std::thread reader([&] {
        const Bytes got = pty.read(sent + 3);
        drained = got.size() == sent + 3 && got[sent] == 0x88 && got[sent + 1] == 0x05;
    });
    for (int tries = 0; tries < WaitMs; ++tries) {
        result = serial.outShortMsg(out, 0x00000588);
        if (result != mmr::NotReady) break;
        serial.notReadyPause();
    }
    reader.join();
    EXPECT_EQ(result, mmr::Ok);
    EXPECT_TRUE(drained);
}

TEST(SerialMidiPorts, ListAndOpenFailures) {
    SerialMidiSystem serial;
    EXPECT_EQ(serial.addPort(""), mmr::BadDeviceId);
    EXPECT_EQ(serial.addPort(std::string(61, 'x')), mmr::BadDeviceId);
    EXPECT_EQ(serial.addPort("/nonexistent/ttyZZ9"), mmr::Ok);
    EXPECT_EQ(serial.addPort("/nonexistent/ttyZZ9"), mmr::Allocated);

    const std::filesystem::path plain =
        std::filesystem::temp_directory_path() / ("serial_test_" + std::to_string(::getpid()));
    std::FILE* f = std::fopen(plain.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_EQ(serial.addPort(plain.string()), mmr::Ok);
    for (int i = 2; i < 8; ++i)
        EXPECT_EQ(serial.addPort("/dev/ttyQ" + std::to_string(i)), mmr::Ok);
    EXPECT_EQ(serial.addPort("/dev/ttyQ8"), mmr::Error); // nine would not fit the record
    EXPECT_EQ(serial.ports().size(), 8u);
    EXPECT_EQ(serial.ports()[1], plain.string());

    uint32_t handle = 0;
    Received received;
    EXPECT_EQ(serial.outOpen(0, handle), mmr::BadDeviceId);
    EXPECT_EQ(serial.inOpen(0, handle, &Received::proc, &received), mmr::BadDeviceId);
    EXPECT_EQ(serial.outOpen(1, handle), mmr::Error); // a regular file is no MIDI line
    EXPECT_EQ(serial.outOpen(8, handle), mmr::BadDeviceId);
    EXPECT_EQ(serial.outOpen(-1, handle), mmr::BadDeviceId);
    MidiCaps caps;
    EXPECT_EQ(serial.outCaps(8, caps), mmr::BadDeviceId);
    EXPECT_EQ(serial.inStart(12345), mmr::InvalidHandle);
    EXPECT_EQ(serial.removePort("/dev/ttyQ9"), mmr::BadDeviceId);
    std::filesystem::remove(plain);
}

} // namespace
