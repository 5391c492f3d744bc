#include "base/FileStore.h"
#include "unit/EepromCodec.h"
#include "unit/backends/SimulatedUnitSystem.h"
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <vector>

using namespace base;
using namespace transport;
using namespace protocol;
using namespace unit;

namespace {

namespace fs = std::filesystem;

// Both devices opened and input started; collects what the callback delivers.
struct Opened {
    SimulatedUnitSystem& sys;
    uint32_t out = 0;
    uint32_t in = 0;
    std::mutex m;
    std::condition_variable cv;
    std::vector<uint32_t> msgs;
    bool onlyData = true; // every callback brought a data message

    explicit Opened(SimulatedUnitSystem& s) : sys(s) {
        EXPECT_EQ(sys.outOpen(0, out), MidiOk);
        EXPECT_EQ(sys.inOpen(0, in, &Opened::callback, this), MidiOk);
        EXPECT_EQ(sys.inStart(in), MidiOk);
    }
    // After inClose no callback runs, so the collection may go.
    ~Opened() { sys.inClose(in); }
    static void callback(void* user, uint32_t code, uint32_t param) {
        auto* self = static_cast<Opened*>(user);
        {
            std::lock_guard lk(self->m);
            self->onlyData = self->onlyData && code == MidiInData;
            self->msgs.push_back(param);
        }
        self->cv.notify_all();
    }
    // Waits until msg has arrived, or with msg 0 until 10 messages have (at most 10 s).
    bool waitFor(uint32_t msg) {
        std::unique_lock lk(m);
        return cv.wait_for(lk, std::chrono::seconds(10), [&] {
            return msg == 0 ? msgs.size() >= 10
                            : std::find(msgs.begin(), msgs.end(), msg) != msgs.end();
        });
    }
};

// A new empty folder under the temporary folder, removed at the end.
struct Scratch {
    fs::path dir = fs::temp_directory_path() /
                   ("zephalon-unit-" +
                    std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::string file = (dir / "SimulatedUnit.eeprom").string();
    Scratch() { fs::create_directories(dir); }
    ~Scratch() { fs::remove_all(dir); }
};

} // namespace

TEST(SimulatedUnitSystem, OneDeviceEachWayStreamsWholeBurstsInRealTimeAndAnswers) {
    SimulatedUnitSystem sys;
    MidiCaps caps;
    EXPECT_EQ(sys.outCaps(1, caps), MidiBadDeviceId);
    ASSERT_EQ(sys.inCaps(0, caps), MidiOk);
    EXPECT_EQ(caps.name, "Simulated unit");
    sys.setEngine({.profile = SpeedProfile::Fixed, .fixedRpm = 6000});
    Opened o(sys);
    uint32_t again = 0;
    EXPECT_EQ(sys.outOpen(0, again), MidiAllocated);
    EXPECT_EQ(sys.inOpen(0, again, nullptr, nullptr), MidiAllocated);
    EXPECT_EQ(sys.outShortMsg(o.out + 7, 0xD2), MidiInvalidHandle);
    EXPECT_EQ(sys.inStart(o.out), MidiInvalidHandle);

    ASSERT_TRUE(o.waitFor(0));
    EXPECT_EQ(sys.outShortMsg(o.out, 0xD2), MidiOk);
    ASSERT_TRUE(o.waitFor(0xD2));
    EXPECT_EQ(sys.inStop(o.in), MidiOk); // no callback runs from here on
    // In order, starting with a 0x80 (delivery began at a revolution's end), then the answer.
    const std::vector<uint32_t>& got = o.msgs;
    const uint32_t kinds[] = {0x80, 0x90, 0xA0, 0xB0, 0xE0};
    ASSERT_EQ(got.size() % 5, 1u);
    for (size_t i = 0; i + 1 < got.size(); ++i)
        EXPECT_EQ(got[i] & 0xF0, kinds[i % 5]) << i;
    EXPECT_EQ(got.back(), 0xD2u);
    EXPECT_TRUE(o.onlyData);

    EXPECT_EQ(sys.inClose(o.in), MidiOk);
    EXPECT_EQ(sys.inClose(o.in), MidiInvalidHandle);
    EXPECT_EQ(sys.outClose(o.out), MidiOk);
    EXPECT_EQ(sys.outOpen(0, again), MidiOk); // free again
}

// A folder in the way of the temporary file makes the save fail, as a full disk would: the
// failure is reported once, the change is kept and reaches the file at the next chance.
TEST(SimulatedUnitSystem, AFailedEepromSaveIsReportedOnceAndDoneAtTheNextChance) {
    const Scratch s;
    const auto blocker = s.dir / "SimulatedUnit.eeprom.tmp~";
    fs::create_directory(blocker);
    int reports = 0;
    {
        SimulatedUnitSystem sys(s.dir.string());
        Opened o(sys);
        sys.setSaveFailureReport([&](const std::string&) {
            std::lock_guard lk(o.m);
            ++reports;
            o.cv.notify_all();
        });
        sys.outShortMsg(o.out, 0xD2);
        sys.outShortMsg(o.out, 0x484883); // 0xC8 to MDX 200
        ASSERT_TRUE(o.waitFor(0x484883));
        {
            std::unique_lock lk(o.m);
            ASSERT_TRUE(o.cv.wait_for(lk, std::chrono::seconds(10), [&] { return reports > 0; }));
        }
        sys.outShortMsg(o.out, 0x060583); // another change: tried again, failing quietly
        ASSERT_TRUE(o.waitFor(0x060583));
        sys.stop();                         // the last try, as at exit
        EXPECT_FALSE(sys.status().running); // stop joins the unit's thread
        EXPECT_TRUE(sys.savePending());
        EXPECT_NE(sys.lastSaveError(), "");
        EXPECT_FALSE(fs::exists(s.file));

        fs::remove(blocker);
        sys.stop(); // the next chance
        EXPECT_FALSE(sys.savePending());
        EXPECT_EQ(sys.lastSaveError(), "");
    }
    EXPECT_EQ(reports, 1);
    SimulatedUnitSystem again(s.dir.string());
    EXPECT_EQ(again.eeprom().mdx[200], 0xC8);
    EXPECT_EQ(again.eeprom().mdx[133], 0x86);
}

// A file refused (for any reason: an unreadable one goes the same way) or kept by a second
// session in the folder is never written, however the unit's memory changes.
TEST(SimulatedUnitSystem, ARefusedEepromFileOrOneKeptByAnotherSessionIsNeverReplaced) {
    const Scratch s;
    UnitEeprom kept = factoryEeprom();
    kept.msx[100] = 0x42;
    const std::string image = serializeEeprom(kept);
    const struct {
        std::string bytes;
        std::string refusal;
        UnitEeprom runsOn;
    } files[] = {
        {image, "", kept},                                       // the other session's
        {std::string(4097, 'x'), "4097 bytes", factoryEeprom()}, // too large to be read at all
    };
    for (const auto& [bytes, refusal, runsOn] : files) {
        ASSERT_EQ(writeFileAtomically(s.file, bytes), "");
        SimulatedUnitSystem sys(s.dir.string());
        if (refusal.empty()) sys.keepEepromInMemory();
        EXPECT_EQ(sys.eepromRefused(), !refusal.empty());
        EXPECT_EQ(sys.eepromRefusal(0), refusal);
        EXPECT_EQ(sys.eeprom(), runsOn);
        {
            Opened o(sys);
            sys.outShortMsg(o.out, 0xD1);
            sys.outShortMsg(o.out, 0x260680); // 0x26 to MDX address 6
            EXPECT_TRUE(o.waitFor(0x260680));
        }
        sys.stop();                           // as at exit
        EXPECT_EQ(sys.eeprom().mdx[6], 0x26); // the change is kept in memory
        EXPECT_FALSE(sys.savePending());      // nothing for the exit to say
        EXPECT_EQ(readWholeFile(s.file), bytes);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(s.dir), fs::directory_iterator()), 1);
}
