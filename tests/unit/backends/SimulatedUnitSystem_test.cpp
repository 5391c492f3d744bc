#include "base/FileStore.h"
#include "unit/EepromCodec.h"
#include "unit/backends/SimulatedUnitSystem.h"
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace base;
using namespace transport;
using namespace protocol;
using namespace unit;

namespace {

using namespace std::chrono_literals;

// Collects what the backend delivers; the test waits on it with a generous bound.
struct Inbox {
    std::mutex m;
    std::condition_variable cv;
    std::vector<uint32_t> msgs;
    bool onlyData = true; // every callback brought a data message

    static void callback(void* user, uint32_t code, uint32_t param) {
        auto* self = static_cast<Inbox*>(user);
        {
            std::lock_guard lk(self->m);
            self->onlyData = self->onlyData && code == transport::MidiInData;
            self->msgs.push_back(param);
        }
        self->cv.notify_all();
    }
    // Waits until msg has arrived, or with msg 0 until 10 messages have (at most 10 s).
    bool waitFor(uint32_t msg, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        std::unique_lock lk(m);
        return cv.wait_for(lk, limit, [&] {
            return msg == 0 ? msgs.size() >= 10
                            : std::find(msgs.begin(), msgs.end(), msg) != msgs.end();
        });
    }
};

struct Opened {
    SimulatedUnitSystem& sys;
    Inbox inbox;
    uint32_t out = 0;
    uint32_t in = 0;
    explicit Opened(SimulatedUnitSystem& s) : sys(s) {
        EXPECT_EQ(sys.outOpen(0, out), transport::MidiOk);
        EXPECT_EQ(sys.inOpen(0, in, &Inbox::callback, &inbox), transport::MidiOk);
        EXPECT_EQ(sys.inStart(in), transport::MidiOk);
    }
    // After inClose no callback runs, so the inbox may go.
    ~Opened() { sys.inClose(in); }
};

// A new empty folder under the temporary folder.
std::filesystem::path scratchFolder(const char* name) {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto dir = std::filesystem::temp_directory_path() / (name + std::to_string(stamp));
    std::filesystem::create_directories(dir);
    return dir;
}

EngineSettings fixedAt(double rpm) {
    return {.profile = SpeedProfile::Fixed, .fixedRpm = rpm};
}

// Programming mode, the first eight entries of curve 1 written at the pace the unit takes
// them (its EEPROM is busy for 4 ms after a write, as the curve transfer's 80 ms respect),
// back to run mode, and the unit stopped as at exit. True when every write was echoed.
bool writeCurve(SimulatedUnitSystem& sys) {
    sys.setEngine(fixedAt(0));
    Opened o(sys);
    sys.outShortMsg(o.out, 0xD1);
    bool echoed = o.inbox.waitFor(0xD1);
    for (uint32_t address = unit::Curve1TableAddress; address < unit::Curve1TableAddress + 8;
         ++address) {
        const uint32_t write = 0x80 | address << 8 | (0x20 + address) << 16;
        // A write that reaches the unit while its EEPROM is still busy (a loaded machine
        // holds the unit's thread back) is lost without an echo: it is sent again.
        bool taken = false;
        for (int attempt = 0; attempt < 5 && !taken; ++attempt) {
            std::this_thread::sleep_for(SimulatedUnit::EepromWriteUs * 2us);
            sys.outShortMsg(o.out, write);
            taken = o.inbox.waitFor(write, std::chrono::seconds(2));
        }
        echoed = echoed && taken;
    }
    sys.outShortMsg(o.out, 0xD0);
    sys.stop();
    return echoed;
}

} // namespace

TEST(SimulatedUnitSystem, OneDeviceEachWayOpenedOnce) {
    SimulatedUnitSystem sys;
    uint32_t out = 0, out2 = 0, in = 0, in2 = 0;
    Inbox inbox;
    MidiCaps caps;
    EXPECT_EQ(sys.outCaps(1, caps), transport::MidiBadDeviceId);
    ASSERT_EQ(sys.inCaps(0, caps), transport::MidiOk);
    EXPECT_EQ(caps.name, "Simulated unit");
    sys.setDeviceName("Unit\xC3\xA0 simulata"); // the program's name for it, in Italian
    ASSERT_EQ(sys.outCaps(0, caps), transport::MidiOk);
    EXPECT_EQ(caps.name, "Unit\xC3\xA0 simulata");
    ASSERT_EQ(sys.outOpen(0, out), transport::MidiOk);
    EXPECT_EQ(sys.outOpen(0, out2), transport::MidiAllocated);
    ASSERT_EQ(sys.inOpen(0, in, &Inbox::callback, &inbox), transport::MidiOk);
    EXPECT_EQ(sys.inOpen(0, in2, &Inbox::callback, &inbox), transport::MidiAllocated);
    EXPECT_EQ(sys.outShortMsg(out + 7, 0xD2), transport::MidiInvalidHandle);
    EXPECT_EQ(sys.inStart(out), transport::MidiInvalidHandle);
    EXPECT_EQ(sys.inClose(in), transport::MidiOk);
    EXPECT_EQ(sys.inClose(in), transport::MidiInvalidHandle);
    EXPECT_EQ(sys.outClose(out), transport::MidiOk);
    EXPECT_EQ(sys.outShortMsg(out, 0xD2), transport::MidiInvalidHandle);
    EXPECT_EQ(sys.outOpen(0, out2), transport::MidiOk); // free again
}

TEST(SimulatedUnitSystem, AnswersArriveThroughTheCallback) {
    SimulatedUnitSystem sys;
    sys.setEngine(fixedAt(0));
    Opened o(sys);
    EXPECT_EQ(sys.outShortMsg(o.out, 0xD2), transport::MidiOk);
    ASSERT_TRUE(o.inbox.waitFor(0xD2));
    EXPECT_EQ(sys.status().mode, UnitMode::EepromAccess);
    // MSX program memory 130 -> 0x9E 0x02 0x79 (see the core tests for the byte).
    EXPECT_EQ(sys.outShortMsg(o.out, 0x00029E), transport::MidiOk);
    ASSERT_TRUE(o.inbox.waitFor(0x79029E));
    std::lock_guard lk(o.inbox.m);
    EXPECT_TRUE(o.inbox.onlyData);
}

TEST(SimulatedUnitSystem, EngineStreamsWholeBurstsInRealTime) {
    SimulatedUnitSystem sys;
    sys.setEngine(fixedAt(6000));
    Opened o(sys);
    ASSERT_TRUE(o.inbox.waitFor(0));
    EXPECT_EQ(sys.inStop(o.in), transport::MidiOk);
    std::lock_guard lk(o.inbox.m);
    // In order, starting with a 0x80 (delivery began at a revolution's end).
    const uint32_t kinds[] = {0x80, 0x90, 0xA0, 0xB0, 0xE0};
    for (size_t i = 0; i < o.inbox.msgs.size(); ++i)
        EXPECT_EQ(o.inbox.msgs[i] & 0xF0, kinds[i % 5]) << i;
    EXPECT_EQ(o.inbox.msgs.size() % 5, 0u);
}

// The save fails while the temporary file's name is taken by a folder (as with a full disk
// or a read-only folder): the failure is reported once, the change is kept, and it reaches
// the file at the next chance.
TEST(SimulatedUnitSystem, AFailedEepromSaveIsReportedOnceAndDoneAtTheNextChance) {
    const auto dir = scratchFolder("zephalon-unit-fail-");
    const auto file = dir / "SimulatedUnit.eeprom";
    const auto blocker = dir / "SimulatedUnit.eeprom.tmp~";
    std::filesystem::create_directory(blocker);

    std::mutex m;
    std::condition_variable cv;
    int reports = 0;
    {
        SimulatedUnitSystem sys(dir.string());
        sys.setSaveFailureReport([&](const std::string&) {
            std::lock_guard lk(m);
            ++reports;
            cv.notify_all();
        });
        sys.setEngine(fixedAt(0));
        Opened o(sys);
        sys.outShortMsg(o.out, 0xD2);
        sys.outShortMsg(o.out, 0x484883); // 0xC8 to MDX 200
        ASSERT_TRUE(o.inbox.waitFor(0x484883));
        {
            std::unique_lock lk(m);
            ASSERT_TRUE(cv.wait_for(lk, std::chrono::seconds(10), [&] { return reports > 0; }));
        }
        sys.outShortMsg(o.out, 0x060583); // another change: tried again, failing quietly
        ASSERT_TRUE(o.inbox.waitFor(0x060583));
        sys.stop();                         // the last try, as at exit
        EXPECT_FALSE(sys.status().running); // stop joins the unit's thread
        EXPECT_TRUE(sys.savePending());
        EXPECT_NE(sys.lastSaveError(), "");
        EXPECT_FALSE(std::filesystem::exists(file));

        std::filesystem::remove(blocker);
        sys.stop(); // the next chance
        EXPECT_FALSE(sys.savePending());
        EXPECT_EQ(sys.lastSaveError(), "");
    }
    EXPECT_EQ(reports, 1);
    SimulatedUnitSystem again(dir.string());
    EXPECT_EQ(again.eeprom().mdx[200], 0xC8);
    EXPECT_EQ(again.eeprom().mdx[133], 0x86);
    std::filesystem::remove_all(dir);
}

TEST(SimulatedUnitSystem, AFileThatIsNoEepromImageOrAHugeOneIsRefusedUnread) {
    const auto dir = scratchFolder("zephalon-unit-huge-");
    const auto file = dir / "SimulatedUnit.eeprom";
    ASSERT_EQ(writeFileAtomically(file.string(), "not an eeprom"), "");
    EXPECT_EQ(SimulatedUnitSystem(dir.string()).eeprom(), factoryEeprom());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << "ZEPHALON EEPROM1";
    std::filesystem::resize_file(file, 100'000'000); // sparse
    EXPECT_EQ(SimulatedUnitSystem(dir.string()).eeprom(), factoryEeprom());
    std::filesystem::remove_all(dir);
}

// A file that is there but cannot be taken stays byte for byte as it was, however the unit's
// memory changes; the unit runs on factory contents and says once why the file was refused.
TEST(SimulatedUnitSystem, ARefusedEepromFileIsNeverReplaced) {
    const auto dir = scratchFolder("zephalon-unit-refused-");
    const std::string file = (dir / "SimulatedUnit.eeprom").string();
    const std::string image = serializeEeprom(factoryEeprom());
    const struct {
        std::string bytes;
        const char* reason;
    } refused[] = {
        {image + '\0', "529 byte invece di 528"},
        {"ZEPHALON EEPROM2" + image.substr(16), "formato più recente (ZEPHALON EEPROM2)"},
        {std::string(528, 'x'), "non è una memoria dell'unità simulata"},
    };
    for (const auto& [bytes, reason] : refused) {
        ASSERT_EQ(writeFileAtomically(file, bytes), "");
        SimulatedUnitSystem sys(dir.string());
        int reports = 0;
        sys.setSaveFailureReport([&](const std::string&) { ++reports; });
        EXPECT_TRUE(sys.eepromRefused());
        EXPECT_EQ(sys.eepromRefusal(0), reason);
        EXPECT_TRUE(writeCurve(sys));
        EXPECT_EQ(sys.eeprom().mdx[unit::Curve1TableAddress], 0x26); // the change is kept in memory
        EXPECT_FALSE(sys.savePending());                             // nothing for the exit to say
        EXPECT_EQ(reports, 0);
        EXPECT_EQ(readWholeFile(file), bytes);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              1);

    // A file the user may not read (as root the unit runs as "nobody", since root reads
    // anything); everyone may write into the folder, so only the program's care keeps it.
    ASSERT_EQ(writeFileAtomically(file, image), "");
    std::filesystem::permissions(file, std::filesystem::perms::none);
    std::filesystem::permissions(dir, std::filesystem::perms::all);
    const auto run = [&] {
        SimulatedUnitSystem sys(dir.string());
        return sys.eepromRefused() && sys.eepromRefusal(0) == "Permission denied" &&
               writeCurve(sys) && !sys.savePending();
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(run());
    } else {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && run() ? 0 : 1);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    EXPECT_EQ(readWholeFile(file), image);
    std::filesystem::remove_all(dir);
}

// A second session in the same folder reads the file and never writes it.
TEST(SimulatedUnitSystem, AUnitKeptInMemoryReadsTheFileAndLeavesIt) {
    const auto dir = scratchFolder("zephalon-unit-shared-");
    const std::string file = (dir / "SimulatedUnit.eeprom").string();
    UnitEeprom written = factoryEeprom();
    written.msx[100] = 0x42;
    ASSERT_EQ(writeFileAtomically(file, serializeEeprom(written)), "");
    SimulatedUnitSystem sys(dir.string());
    sys.keepEepromInMemory();
    EXPECT_FALSE(sys.eepromRefused());
    EXPECT_EQ(sys.eeprom(), written);
    EXPECT_TRUE(writeCurve(sys));
    EXPECT_FALSE(sys.savePending());
    EXPECT_EQ(readWholeFile(file), serializeEeprom(written));
    std::filesystem::remove_all(dir);
}
