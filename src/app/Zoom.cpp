#include "Zoom.h"

#include <algorithm>

#include <QByteArray>
#include <QSettings>

namespace rix {

namespace {

constexpr int kChoices[] = {100, 125, 150, 200};
const QString kZoomKey = QStringLiteral("Zoom");
constexpr char kScaleVariable[] = "QT_SCALE_FACTOR";

int running = 100;

// The program's settings, also before the QApplication exists (which is
// when the zoom is needed).
QSettings Settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kestrelab"),
                     QStringLiteral("sonrix3"));
}

} // namespace

std::span<const int> CZoom::Choices()
{
    return kChoices;
}

int CZoom::Stored()
{
    const int percent = Settings().value(kZoomKey, 100).toInt();
    return std::find(std::begin(kChoices), std::end(kChoices), percent) != std::end(kChoices) ? percent : 100;
}

void CZoom::Store(int percent)
{
    Settings().setValue(kZoomKey, percent);
}

int CZoom::Running()
{
    return running;
}

QByteArray CZoom::ApplyAtStart()
{
    const QByteArray original = qgetenv(kScaleVariable);
    running = Stored();
    bool valid = false;
    const double outside = original.toDouble(&valid);
    const double factor = running / 100.0 * (valid && outside > 0 ? outside : 1.0);
    if (factor != 1.0 || !original.isEmpty())
        qputenv(kScaleVariable, QByteArray::number(factor));
    return original;
}

void CZoom::RestoreEnvironment(const QByteArray& original)
{
    if (original.isEmpty())
        qunsetenv(kScaleVariable);
    else
        qputenv(kScaleVariable, original);
}

} // namespace rix
