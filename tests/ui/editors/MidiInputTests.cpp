#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <RtMidi.h>
#include <thread>

#include "ArrangementFixture.h"
#include "MidiInput.h"
#include "MidiInputMenu.h"

using namespace rix;

using CMidiInputTest = CArrangementFixture;

TEST_F(CMidiInputTest, NoteOnsFromAnotherThreadAreEnteredLikeNoteKeys)
{
    CMidiInput input;
    input.SetTarget(pattern);
    std::thread([&] {
        const unsigned char messages[][3] = {
            {0x90, 60, 100}, {0x90, 62, 0} /* a note-off */, {0x80, 64, 64}, {0x90, 11, 100} /* below C-0 */,
            {0x90, 125, 100} /* above E-9 */, {0x9F, 61, 1} /* channel 16 */, {0xB0, 64, 127}};
        for (const auto& message : messages)
            input.Receive(message, 3);
    }).join();
    QCoreApplication::sendPostedEvents();
    const CRixModuleData song = Song();
    EXPECT_EQ(std::vector<uint32_t>(song.patterns[0][1], song.patterns[0][1] + 3), (std::vector<uint32_t>{49, 50, 0}));
    EXPECT_EQ(Controller().GetCurrentRow(), 2);
    EXPECT_TRUE(Controller().IsPreviewPlaying());

    // The menu: "None" first and chosen, the only entry without a sequencer.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    CMidiInputMenu menu(pattern, nullptr);
    emit menu.aboutToShow();
    ASSERT_FALSE(menu.actions().isEmpty());
    EXPECT_EQ(menu.actions().first()->text(), "None");
    EXPECT_TRUE(menu.actions().first()->isChecked());
    EXPECT_TRUE(QFile::exists("/dev/snd/seq") || menu.actions().size() == 1);
    menu.actions().first()->trigger();
    EXPECT_EQ(QSettings().value(CMidiInputMenu::SETTINGS_KEY).toString(), "");
}

TEST_F(CMidiInputTest, NotesFromAVirtualAlsaPortAreEntered)
{
    if (!QFile::exists("/dev/snd/seq"))
        GTEST_SKIP() << "no ALSA sequencer on this machine";
    RtMidiOut keyboard(RtMidi::LINUX_ALSA, "sonrix3 test keyboard");
    keyboard.openVirtualPort("sonrix3 test keys");
    CMidiInput input;
    input.SetTarget(pattern);
    const QStringList ports = input.PortNames().filter("sonrix3 test keys");
    ASSERT_EQ(ports.size(), 1);
    ASSERT_TRUE(input.Open(ports.first()));
    for (unsigned char note : {72, 73}) {
        const std::vector<unsigned char> on{0x90, note, 90};
        keyboard.sendMessage(&on);
    }
    QTRY_COMPARE(Controller().GetCurrentRow(), 2);
    EXPECT_EQ(Song().patterns[0][1][0], 61u);
    EXPECT_EQ(Song().patterns[0][1][1], 62u);
}
