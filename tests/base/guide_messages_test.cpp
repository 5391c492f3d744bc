// The user guide's table of messages against what the program can show: every ShowMsg
// code, and every device error the port layer composes, in both languages.
#include "base/FileStore.h"
#include "base/ShowMsg.h"
#include "base/Texts.h"
#include "support/FakeMidiSystem.h"
#include "support/RecordingNotifier.h"
#include "timing/PrecisionClock.h"
#include "transport/MidiPort.h"
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>

using namespace base;
using namespace timing;
using namespace transport;

namespace {

struct Guide {
    const char* file;
    int langOffset;
};
constexpr Guide kGuides[] = {{"GuidaUtente.htm", 0}, {"UserGuide.htm", 200}};

std::string unescape(std::string s) {
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"&lt;", "<"},
                                   {"&gt;", ">"},
                                   {"&quot;", "\""},
                                   {"&amp;", "&"}}) {
        for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
            s.replace(at, from.size(), to);
    }
    return s;
}

// Rows of the guide's message tables: row id -> the text of its message cell.
std::map<std::string, std::string> messageRows(const char* file) {
    const auto html = readWholeFile(std::string(ZEPHALON_SOURCE_DIR) + "/docs/guide/" + file);
    EXPECT_TRUE(html.has_value()) << file;
    std::map<std::string, std::string> rows;
    if (!html) return rows;
    static const std::regex row(R"re(<tr id="([^"]+)">.*?<td class="msg">(.*?)</td>)re");
    for (auto it = std::sregex_iterator(html->begin(), html->end(), row);
         it != std::sregex_iterator(); ++it)
        EXPECT_TRUE(rows.emplace((*it)[1], unescape((*it)[2])).second)
            << file << ": row " << (*it)[1] << " twice";
    return rows;
}

TEST(GuideMessages, EveryShowMsgCodeHasItsRowWithTheProgramsTextInBothLanguages) {
    int codes = 0;
    for (const Guide& guide : kGuides) {
        const auto rows = messageRows(guide.file);
        const Texts texts{guide.langOffset};
        for (int code = 0; code < 100; ++code) {
            if (messageStringId(code) < 0) continue;
            ++codes;
            const auto row = rows.find("msg-" + std::to_string(code));
            ASSERT_NE(row, rows.end()) << guide.file << " has no row for message " << code;
            // The part a message puts in at its "_" is shown as "…".
            EXPECT_EQ(row->second, composeMessage(texts, code, "\xE2\x80\xA6"))
                << guide.file << ", message " << code;
        }
    }
    EXPECT_EQ(codes, 2 * 39); // 0-39 but 37
}

// Every result a backend can give for each port routine, and what the port layer then shows.
std::set<std::string> portLayerMessages(int langOffset) {
    const int results[] = {transport::MidiError,     transport::MidiBadDeviceId,
                           transport::MidiAllocated, transport::MidiInvalidHandle,
                           transport::MidiNoDriver,  transport::MidiNotReady};
    std::set<std::string> shown;
    const std::function<void(FakeMidiSystem&, MidiPort&, int)> routines[] = {
        [](FakeMidiSystem& s, MidiPort& p, int r) { // send
            p.OpenMIDIOut();
            s.outShortMsgDefault = r;
            p.SendShortMsg();
        },
        [](FakeMidiSystem& s, MidiPort& p, int r) { // open input
            s.inOpenResult = r;
            p.OpenMIDIIn();
        },
        [](FakeMidiSystem& s, MidiPort& p, int r) { // open output
            s.outOpenResult = r;
            p.OpenMIDIOut();
        },
        [](FakeMidiSystem& s, MidiPort& p, int r) { // close input
            p.OpenMIDIIn();
            s.inCloseResult = r;
            p.CloseMIDIIn();
        },
        [](FakeMidiSystem& s, MidiPort& p, int r) { // close output
            p.OpenMIDIOut();
            s.outCloseResult = r;
            p.CloseMIDIOut();
        },
        [](FakeMidiSystem& s, MidiPort& p, int r) { // input start and stop
            p.OpenMIDIIn();
            s.inStartResult = r;
            p.StartMIDIIn();
            s.inStopResult = r;
            p.StopMIDIIn();
        },
        [](FakeMidiSystem& s, MidiPort& p, int r) { // thru on and off
            p.OpenMIDIIn();
            p.OpenMIDIOut();
            s.connectResult = r;
            p.MIDIThruAttivazione();
            s.disconnectResult = r;
            p.MIDIThruDisattivazione();
        },
    };
    for (const auto& routine : routines) {
        for (const int result : results) {
            const Texts texts{langOffset};
            RecordingNotifier notifier;
            MessageService messages{texts, notifier};
            PrecisionClock clock;
            FakeMidiSystem system;
            system.outNames = {"Unit"};
            system.inNames = {"Unit"};
            MidiPort port{system, messages, clock};
            port.MIDIOutDevice = 0;
            port.MIDIInDevice = 0;
            routine(system, port, result);
            for (const auto& box : notifier.warnings)
                shown.insert(box.text);
        }
    }
    return shown;
}

TEST(GuideMessages, EveryDeviceErrorThePortLayerComposesHasItsRowInBothLanguages) {
    for (const Guide& guide : kGuides) {
        const auto rows = messageRows(guide.file);
        std::set<std::string> cells;
        for (const auto& [id, text] : rows)
            cells.insert(text);
        const std::set<std::string> shown = portLayerMessages(guide.langOffset);
        // Location digits 4-8 with each result (opening a device in use has its own message,
        // and a send to a device that is gone is reported once by the loss notice, not as
        // 406), and the six input and thru messages.
        EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                                [](const std::string& s) {
                                    return s.find("(Cod Err: ") != std::string::npos;
                                }),
                  5 * 6 - 3);
        for (const std::string& text : shown)
            EXPECT_TRUE(cells.count(text)) << guide.file << " has no row for \"" << text << "\"";
        // The example of the port layer's documentation, worked by hand.
        if (guide.langOffset == 0) {
            EXPECT_TRUE(cells.count("Errore accesso dispositivo MIDI di uscita (Cod Err: 602)"));
        }
    }
}

TEST(GuideMessages, BothGuidesHaveTheSameRows) {
    std::set<std::string> ids[2];
    for (int i = 0; i < 2; ++i)
        for (const auto& [id, text] : messageRows(kGuides[i].file))
            ids[i].insert(id);
    EXPECT_EQ(ids[0], ids[1]);
}

} // namespace
