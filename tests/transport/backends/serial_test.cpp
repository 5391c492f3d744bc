#include "transport/backends/SerialMidiSystem.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace transport;

namespace {

using Bytes = std::vector<uint8_t>;
using Messages = std::vector<uint32_t>;

constexpr int WaitMs = 5000; // a bound on every wait, never reached when all goes well

// The master side of a pseudo-terminal; the backend opens the slave path.
struct Pty {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    std::string slave;

    Pty() {
        char name[128] = {};
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0 &&
            ::ptsname_r(master, name, sizeof name) == 0)
            slave = name;
    }
    ~Pty() {
        if (master >= 0) ::close(master);
    }
    void write(const Bytes& bytes) const {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Reads until count bytes have come, or the bound has passed.
    Bytes read(std::size_t count) const {
        Bytes got;
        uint8_t buffer[256];
        pollfd p{master, POLLIN, 0};
        while (got.size() < count && ::poll(&p, 1, WaitMs) > 0) {
            const ssize_t n = ::read(master, buffer, std::min(sizeof buffer, count - got.size()));
            if (n <= 0) break;
            got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }
};

// What the input callback delivered.
struct Received {
    std::mutex mutex;
    std::condition_variable arrived;
    Messages messages;

    static void proc(void* self, uint32_t msg, uint32_t param) {
        auto& r = *static_cast<Received*>(self);
        std::lock_guard lock(r.mutex);
        if (msg == MidiInData) r.messages.push_back(param);
        r.arrived.notify_all();
    }
    Messages waitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        arrived.wait_for(lock, std::chrono::milliseconds(WaitMs),
                         [&] { return messages.size() >= count; });
        return messages;
    }
};

class SerialMidi : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(pty.slave.empty());
        ASSERT_EQ(serial.addPort(pty.slave), MidiOk);
        ASSERT_EQ(serial.outOpen(0, out), MidiOk);
        ASSERT_EQ(serial.inOpen(0, in, &Received::proc, &received), MidiOk);
        ASSERT_EQ(serial.inStart(in), MidiOk);
    }

    Pty pty;
    Received received;
    SerialMidiSystem serial;
    uint32_t out = 0;
    uint32_t in = 0;
};

TEST_F(SerialMidi, ThruAndOneFileServingBothDirectionsUntilTheLastCloses) {
    MidiCaps caps;
    ASSERT_EQ(serial.inCaps(0, caps), MidiOk);
    EXPECT_EQ(caps.name, "pts/" + std::filesystem::path(pty.slave).filename().string());
    // Input on running status comes back whole, and thru sends each with its status byte.
    ASSERT_EQ(serial.connect(in, out), MidiOk);
    pty.write({0x90, 0x01, 0x02, 0x03, 0x04});
    EXPECT_EQ(received.waitFor(2), (Messages{0x00020190, 0x00040390}));
    EXPECT_EQ(pty.read(6), (Bytes{0x90, 0x01, 0x02, 0x90, 0x03, 0x04}));

    uint32_t again = 0;
    EXPECT_EQ(serial.outOpen(0, again), MidiAllocated);
    EXPECT_EQ(serial.removePort(pty.slave), MidiAllocated);

    // The output closed (ending thru), the input still reads the shared file.
    ASSERT_EQ(serial.outClose(out), MidiOk);
    EXPECT_EQ(serial.outShortMsg(out, 0x000000D0), MidiInvalidHandle);
    EXPECT_EQ(serial.connect(in, out), MidiInvalidHandle);
    pty.write({0xD2, 0x00});
    EXPECT_EQ(received.waitFor(3).back(), 0x000000D2u);

    // With the input closed too the file is closed: the master sees the hang-up.
    ASSERT_EQ(serial.inClose(in), MidiOk);
    EXPECT_EQ(serial.inClose(in), MidiInvalidHandle);
    pollfd p{pty.master, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, WaitMs), 1);
    EXPECT_NE(p.revents & POLLHUP, 0);

    // Opened again, the line works again.
    ASSERT_EQ(serial.outOpen(0, out), MidiOk);
    ASSERT_EQ(serial.outShortMsg(out, 0x000000D1), MidiOk);
    EXPECT_EQ(pty.read(2), (Bytes{0xD1, 0x00}));
    EXPECT_EQ(serial.outClose(out), MidiOk);
    EXPECT_EQ(serial.removePort(pty.slave), MidiOk);
    EXPECT_EQ(serial.outCount(), 0);
}

TEST_F(SerialMidi, AFullLineAnswersNotReadyUntilTheOtherEndReads) {
    // One-byte messages (tune request) until the line takes no more.
    int result = MidiOk;
    std::size_t sent = 0;
    for (; sent < 1'000'000 && result == MidiOk; ++sent)
        result = serial.outShortMsg(out, 0x000000F6);
    ASSERT_EQ(result, MidiNotReady);
    --sent;

    std::atomic<bool> drained{false};
    std::thread reader([&] {
        const Bytes got = pty.read(sent + 3);
        drained = got.size() == sent + 3 && got[sent] == 0x88 && got[sent + 1] == 0x05;
    });
    for (int tries = 0; tries < WaitMs && result == MidiNotReady; ++tries) {
        result = serial.outShortMsg(out, 0x00000588);
        if (result == MidiNotReady) serial.notReadyPause();
    }
    reader.join();
    EXPECT_EQ(result, MidiOk);
    EXPECT_TRUE(drained);
}

TEST(SerialMidiPorts, ListAndOpenFailures) {
    SerialMidiSystem serial;
    EXPECT_EQ(serial.addPort(""), MidiBadDeviceId);
    EXPECT_EQ(serial.addPort("/nonexistent/ttyZZ9"), MidiOk);
    EXPECT_EQ(serial.addPort("/nonexistent/ttyZZ9"), MidiAllocated);
    const std::filesystem::path plain =
        std::filesystem::temp_directory_path() / ("serial_test_" + std::to_string(::getpid()));
    ASSERT_TRUE(std::ofstream(plain).good());
    EXPECT_EQ(serial.addPort(plain.string()), MidiOk);
    for (int i = 2; i < 8; ++i)
        EXPECT_EQ(serial.addPort("/dev/ttyQ" + std::to_string(i)), MidiOk);
    EXPECT_EQ(serial.addPort("/dev/ttyQ8"), MidiError); // nine would not fit the record

    uint32_t handle = 0;
    EXPECT_EQ(serial.outOpen(0, handle), MidiBadDeviceId); // no such file
    EXPECT_EQ(serial.outOpen(1, handle), MidiError);       // a regular file is no MIDI line
    EXPECT_EQ(serial.outOpen(8, handle), MidiBadDeviceId);
    EXPECT_EQ(serial.outOpen(-1, handle), MidiBadDeviceId);
    EXPECT_EQ(serial.inStart(12345), MidiInvalidHandle);
    std::filesystem::remove(plain);
}

} // namespace
