// The whole editor in the hands of a seeded random monkey (see CMonkey), on
// a copy of the demo song. SONRIX_MONKEY_SECONDS sets how long it plays
// (ctest: two minutes in the sanitizer build, a few seconds otherwise),
// SONRIX_MONKEY_ACTIONS caps the number of actions, and SONRIX_MONKEY_SEED
// replays a run: the seed is printed first. The home folder, the settings,
// the autosaves, the temporary folder (C++ exports) and the working folder
// are the test's own; a file handed to the desktop is only recorded.
#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <random>

#include "ModuleFiles.h"
#include "Monkey.h"
#include "RixDoc.h"
#include "ShellFixture.h"

namespace {

uint64_t Setting(const char* name, uint64_t otherwise)
{
    const char* value = std::getenv(name);
    return value && *value ? std::strtoull(value, nullptr, 10) : otherwise;
}

// Takes the files the editor hands to the desktop (a C++ export).
class CDesktop : public QObject {
    Q_OBJECT
public slots:
    void Open(const QUrl& url) { opened << url; }

public:
    QList<QUrl> opened;
};

// The offscreen platform's notes on what it cannot do (grab the keyboard,
// raise a window), which menus and dialogs ask for thousands of times.
QtMessageHandler otherMessages = nullptr;
void QuietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QStringLiteral("This plugin does not support")))
        return;
    if (otherMessages)
        otherMessages(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

class CEditorMonkey : public CShellFixture {
protected:
    void SetUp() override
    {
        CShellFixture::SetUp();
        otherMessages = qInstallMessageHandler(QuietPlatform);
        for (const char* place : {"home", "tmp"})
            std::filesystem::create_directories(folder / place);
        ::setenv("HOME", (folder / "home").c_str(), 1);
        ::setenv("TMPDIR", (folder / "tmp").c_str(), 1);
        QDir::setCurrent(QString::fromStdString(folder / "home"));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "Open");
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QApplication::setQuitOnLastWindowClosed(false);
        std::filesystem::copy_file(SONRIX_SOURCE_DIR "/examples/demo.sonrix", folder / "home/demo.sonrix");
        ASSERT_TRUE(frame->OpenFile(Path("home/demo.sonrix")));
        frame->show();
    }
    void TearDown() override
    {
        qInstallMessageHandler(otherMessages);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        CShellFixture::TearDown();
    }

    CDesktop desktop;
};

TEST_F(CEditorMonkey, NeitherCrashesNorHangsNorSpoilsTheSong)
{
    const uint64_t seed = Setting("SONRIX_MONKEY_SEED", std::random_device()());
    std::fprintf(stderr, "monkey: seed %llu (SONRIX_MONKEY_SEED=%llu replays this run)\n",
                 static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
    const CMonkey::TBudget budget{std::chrono::seconds(Setting("SONRIX_MONKEY_SECONDS", 10)),
                                  Setting("SONRIX_MONKEY_ACTIONS", std::numeric_limits<uint64_t>::max())};
    {
        CMonkey monkey(*frame, seed, budget);
        monkey.Run();
        std::fprintf(stderr, "monkey: %llu actions, %u changes of the song; opened:",
                     static_cast<unsigned long long>(monkey.Actions()), ChangeCount());
        for (const auto& [name, count] : monkey.Opened())
            std::fprintf(stderr, " %s %d,", name.c_str(), count);
        std::fprintf(stderr, "\n");
    }

    // Whatever the song has become, it is whole: it saves and loads back
    // the same.
    const auto song = ReadSong<rix::CRixModuleData>([](const rix::CRixModuleData& data) { return data; });
    for (const rix::CRixModuleChannel& channel : song.channels)
        EXPECT_EQ(channel.oscillators.size(), channel.transitionOscillators.size());
    rix::WriteModuleFile(folder / "after.sonrix", song);
    rix::CRixModuleData loaded;
    rix::ReadModuleFile(folder / "after.sonrix", loaded);
    EXPECT_TRUE(loaded == song);
}

} // namespace

#include "EditorMonkeyTest.moc"
