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

using namespace timing;

namespace {

// Each guide and the offset of its language in the string table.
constexpr std::pair<const char*, int> kGuides[] = {{"GuidaUtente.htm", 0}, {"UserGuide.htm", 200}};

// Rows of the guide's message tables: row id -> the text of its message cell.
std::map<std::string, std::string> messageRows(const char* file) {
    const auto html = readWholeFile(std::string(ZEPHALON_SOURCE_DIR) + "/docs/guide/" + file);
    EXPECT_TRUE(html.has_value()) << file;
    std::map<std::string, std::string> rows;
    if (!html) return rows;
    static const std::regex row(R"re(<tr id="([^"]+)">.*?<td class="msg">(.*?)</td>)re");
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (auto it = std::sregex_iterator(html->begin(), html->end(), row);
         it != std::sregex_iterator(); ++it) {
        std::string text = (*it)[2];
        for (const auto& [from, to] : entities)
            text = std::regex_replace(text, std::regex(from), to);
        EXPECT_TRUE(rows.emplace((*it)[1], text).second)
            << file << ": row " << (*it)[1] << " twice";
    }
    return rows;
}

// Every result a backend can give for each port routine (the port opened as the routine
// needs), and what the port layer then shows.
std::set<std::string> portLayerMessages(int langOffset) {
    const int results[] = {MidiError,         MidiBadDeviceId, MidiAllocated,
                           MidiInvalidHandle, MidiNoDriver,    MidiNotReady};
    using F = FakeMidiSystem;
    const struct {
        bool in, out;
        int F::*result;
        std::function<void(MidiPort&)> call;
    } routines[] = {
        {false, true, &F::outShortMsgDefault, [](MidiPort& p) { p.SendShortMsg(); }},
        {false, false, &F::inOpenResult, [](MidiPort& p) { p.OpenMIDIIn(); }},
        {false, false, &F::outOpenResult, [](MidiPort& p) { p.OpenMIDIOut(); }},
        {true, false, &F::inCloseResult, [](MidiPort& p) { p.CloseMIDIIn(); }},
        {false, true, &F::outCloseResult, [](MidiPort& p) { p.CloseMIDIOut(); }},
        {true, false, &F::inStartResult, [](MidiPort& p) { p.StartMIDIIn(); }},
        {true, false, &F::inStopResult,
         [](MidiPort& p) {
             p.StartMIDIIn();
             p.StopMIDIIn();
         }},
        {true, true, &F::connectResult, [](MidiPort& p) { p.MIDIThruAttivazione(); }},
        {true, true, &F::disconnectResult,
         [](MidiPort& p) {
             p.MIDIThruAttivazione();
             p.MIDIThruDisattivazione();
         }},
    };
    std::set<std::string> shown;
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
            if (routine.in) port.OpenMIDIIn();
            if (routine.out) port.OpenMIDIOut();
            system.*routine.result = result;
            routine.call(port);
            for (const auto& box : notifier.warnings)
                shown.insert(box.text);
        }
    }
    return shown;
}

// Both guides have a row for every ShowMsg code, with the program's text, and for every
// device error the port layer composes; and the same rows.
TEST(GuideMessages, BothGuidesHaveTheSameRowsOneForEveryMessageTheProgramShows) {
    std::set<std::string> ids[2];
    int codes = 0;
    for (int g = 0; g < 2; ++g) {
        const auto& [file, langOffset] = kGuides[g];
        const auto rows = messageRows(file);
        std::set<std::string> cells;
        for (const auto& [id, text] : rows) {
            ids[g].insert(id);
            cells.insert(text);
        }
        const Texts texts{langOffset};
        for (int code = 0; code < 100; ++code) {
            if (messageStringId(code) < 0) continue;
            ++codes;
            const auto row = rows.find("msg-" + std::to_string(code));
            ASSERT_NE(row, rows.end()) << file << " has no row for message " << code;
            // The part a message puts in at its "_" is shown as "…".
            EXPECT_EQ(row->second, composeMessage(texts, code, "\xE2\x80\xA6"))
                << file << ", message " << code;
        }
        const std::set<std::string> shown = portLayerMessages(langOffset);
        // Location digits 4-8 with each result (opening a device in use has its own message,
        // and a send to a device that is gone is reported once by the loss notice, not as
        // 406), and the six input and thru messages.
        EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                                [](const std::string& s) {
                                    return s.find("(Cod Err: ") != std::string::npos;
                                }),
                  5 * 6 - 3);
        for (const std::string& text : shown)
            EXPECT_TRUE(cells.count(text)) << file << " has no row for \"" << text << "\"";
    }
    EXPECT_EQ(codes, 2 * 39); // 0-39 but 37
    EXPECT_EQ(ids[0], ids[1]);
}

} // namespace
