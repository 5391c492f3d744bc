#include "StringTable.h"
#include "app/ShowMsg.h"
#include "app/Texts.h"
#include "support/RecordingNotifier.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

namespace {

Texts italian() {
    return Texts{};
}

Texts english() {
    Texts t;
    t.LangOffset = 200;
    return t;
}

} // namespace

TEST(StringTable, ItalianAndEnglishHalvesMatch) {
    int italianCount = 0;
    for (const StringEntry& e : stringTableEntries()) {
        ASSERT_NE(e.text, nullptr) << e.id;
        EXPECT_STRNE(e.text, "") << "id " << e.id;
        if (e.id >= 1 && e.id <= 199) {
            ++italianCount;
            EXPECT_NE(Texts::raw(e.id + 200), nullptr) << "no English text for id " << e.id;
        } else if (e.id >= 201 && e.id <= 399) {
            EXPECT_NE(Texts::raw(e.id - 200), nullptr) << "no Italian text for id " << e.id;
        } else {
            ADD_FAILURE() << "id outside both halves: " << e.id;
        }
    }
    EXPECT_GT(italianCount, 60);
}

TEST(StringTable, TextsAsTheProgramShowsThem) {
    const Texts it = italian();
    const Texts en = english();
    // Messages and captions quoted with their ids.
    EXPECT_EQ(it.text(130), "Errore accesso dispositivo MIDI di uscita");
    EXPECT_EQ(it.text(19), "Errore apertura dispositivo MIDI di ingresso");
    EXPECT_EQ(it.text(16), "Dispositivo MIDI di ingresso assente");
    EXPECT_EQ(it.text(66), "Il cambio avrà effetto alla prossima esecuzione del programma");
    EXPECT_EQ(it.text(52), "Il file \xC3\xA8 stato modificato"); // è as UTF-8
    EXPECT_EQ(it.text(126), "Il Program è stato modificato.");

    // The pairs given in both languages.
    EXPECT_EQ(it.text(128), "Blocco Note");
    EXPECT_EQ(en.text(128), "Notebook");
    EXPECT_EQ(it.text(30), "Informazioni su ");
    EXPECT_EQ(en.text(30), "About ");
    EXPECT_EQ(it.text(129), "ZEPHALON v 2.2 - Quenaro v 2.2");
    EXPECT_EQ(en.text(129), "ZEPHALON v2.2 - Quenaro v 2.2");
    EXPECT_EQ(it.text(131), "novembre 2010");
    EXPECT_EQ(en.text(131), "November 2010");
    EXPECT_EQ(en.text(16), "MIDI input device not found");
    EXPECT_EQ(en.text(20), "Output MIDI Device not found");
    EXPECT_EQ(en.text(66), "The change will take place next time you will run the programme");

    // The box title loaded at start-up exists in both halves.
    EXPECT_FALSE(it.text(113).empty());
    EXPECT_FALSE(en.text(113).empty());
}

TEST(StringTable, MissingIdsGiveNothing) {
    const Texts it = italian();
    EXPECT_EQ(Texts::raw(0), nullptr);
    EXPECT_EQ(Texts::raw(200), nullptr);
    EXPECT_EQ(Texts::raw(400), nullptr);
    EXPECT_EQ(it.text(5), "");
    EXPECT_EQ(english().text(199), "");
    EXPECT_EQ(english().text(INT_MAX), ""); // id + offset must not wrap around
    EXPECT_EQ(it.text(INT_MIN), "");
}

TEST(ShowMsgText, InsertTakesThePlaceOfTheUnderscore) {
    const Texts it = italian();
    EXPECT_EQ(composeMessage(it, 4, "ABC"), "Formato dati ABC errato");
    EXPECT_EQ(composeMessage(it, 5, "C:\\a_b.crva"), "File C:\\a_b.crva assente");
    // Code 1 shows the insert alone, underscores of the insert included.
    EXPECT_EQ(composeMessage(it, 1, "Errore accesso dispositivo MIDI di uscita (Cod Err: 602)"),
              "Errore accesso dispositivo MIDI di uscita (Cod Err: 602)");
    EXPECT_EQ(composeMessage(it, 1, "StartMIDIIn: MMSYSERR_INVALHANDLE"),
              "StartMIDIIn: MMSYSERR_INVALHANDLE");
    // A message without an underscore drops the insert.
    EXPECT_EQ(composeMessage(it, 22, "x"), "Dispositivo MIDI di Uscita assente");
}

TEST(ShowMsgText, CodesSharingAMessage) {
    const Texts it = italian();
    EXPECT_EQ(composeMessage(it, 11, ""), "Impossibile trovare il percorso");
    EXPECT_EQ(composeMessage(it, 30, ""), "Impossibile trovare il percorso");
    EXPECT_EQ(composeMessage(it, 10, ""), "Dispositivo MIDI di ingresso assente");
    EXPECT_EQ(composeMessage(it, 33, ""), "Dispositivo MIDI di ingresso assente");
    EXPECT_EQ(composeMessage(it, 38, ""), "Dispositivo MIDI di ingresso già in uso");
    EXPECT_EQ(messageStringId(0), 76);
    EXPECT_EQ(messageStringId(36), 119);
}

TEST(ShowMsgText, EveryCodeHasAMessageInBothLanguages) {
    const Texts it = italian();
    const Texts en = english();
    for (int code = 0; code <= 39; ++code) {
        if (code == 37) continue;
        const int id = messageStringId(code);
        ASSERT_GT(id, 0) << "code " << code;
        EXPECT_FALSE(it.text(id).empty()) << "code " << code;
        EXPECT_FALSE(en.text(id).empty()) << "code " << code;
    }
}

TEST(ShowMsgText, EnglishHalf) {
    const Texts en = english();
    EXPECT_EQ(composeMessage(en, 24, ""),
              "The change will take place next time you will run the programme");
    EXPECT_EQ(composeMessage(en, 1, "abc"), "abc");
}

TEST(ShowMsgText, UnknownCodeFallsBackToGenericError) {
    const Texts it = italian();
    for (int code : {37, 40, -1, 1000}) {
        EXPECT_EQ(messageStringId(code), -1) << code;
        EXPECT_EQ(composeMessage(it, code, "XYZ"), "errore generico: XYZ") << code;
    }
    EXPECT_EQ(composeMessage(it, 37, ""), "errore generico");
    EXPECT_EQ(composeMessage(english(), 37, "XYZ"), "generic error: XYZ");
}

TEST(ShowMsgBox, WarningCarriesTitleAndText) {
    const Texts it = italian();
    RecordingNotifier notifier;
    MessageService messages(it, notifier);
    messages.ShowMsg(22, "Quenaro v 2.3", "");
    messages.ShowMsg(4, "Titolo", "ABC");
    ASSERT_EQ(notifier.warnings.size(), 2u);
    EXPECT_EQ(notifier.warnings[0].title, "Quenaro v 2.3");
    EXPECT_EQ(notifier.warnings[0].text, "Dispositivo MIDI di Uscita assente");
    EXPECT_EQ(notifier.warnings[1].title, "Titolo");
    EXPECT_EQ(notifier.warnings[1].text, "Formato dati ABC errato");
    EXPECT_TRUE(notifier.questions.empty());
    EXPECT_TRUE(notifier.notices.empty());
}
