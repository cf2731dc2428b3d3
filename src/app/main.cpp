#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "MainFrame.h"
#include "RixApp.h"
#include "Zoom.h"

namespace {

constexpr const char* kUsage =
    "Usage: sonrix3 [OPTION]... [SONG.sonrix]\n"
    "\n"
    "Tracker and software synthesizer for the soundtracks of size-limited intros.\n"
    "Opens SONG.sonrix, or starts with a new song.\n"
    "\n"
    "Options:\n"
    "  -h, --help           show this help\n"
    "  -V, --version        show the version\n"
    "  --measure-startup    print the milliseconds to the first painted window, then quit\n"
    "\n"
    "Qt's options, such as -platform NAME and -style NAME, are accepted too.\n";

// --measure-startup: prints the milliseconds from the start of main to the
// main window's first finished paint, then quits.
class CStartupProbe : public QObject {
public:
    explicit CStartupProbe(QElapsedTimer& clock) : clock(clock) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !reported) {
            reported = true;
            // After the paint event returns: the window has its first picture.
            QTimer::singleShot(0, [this] {
                std::printf("startup: %lld ms to the first painted window\n",
                            static_cast<long long>(clock.elapsed()));
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer& clock;
    bool reported = false;
};

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    // Answered before Qt starts, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "-V") == 0 || std::strcmp(argv[i], "--version") == 0) {
            std::printf("sonrix3 %s\n", SONRIX_VERSION);
            return 0;
        }
    }
    const QByteArray scale = rix::CZoom::ApplyAtStart();
    QApplication application(argc, argv);
    rix::CZoom::RestoreEnvironment(scale);
    QCoreApplication::setApplicationVersion(QStringLiteral(SONRIX_VERSION));
    // Ties the windows to the installed sonrix3.desktop (its icon and name).
    QGuiApplication::setDesktopFileName(QStringLiteral("sonrix3"));
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool measure = arguments.contains(QStringLiteral("--measure-startup"));

    rix::CRixApp app;
    CStartupProbe probe(clock);
    if (measure)
        application.installEventFilter(&probe);
    if (!app.InitInstance(arguments))
        return 1;
    const int status = application.exec();
    app.ExitInstance();
    return status;
}
