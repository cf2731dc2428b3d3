#include <cstdio>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "MainFrame.h"
#include "RixApp.h"
#include "Zoom.h"

namespace {

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
