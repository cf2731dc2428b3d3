#include "ExportForm.h"

#include <QSettings>

namespace rix {

namespace {
const QString kExactKey = QStringLiteral("Export/Exact");
} // namespace

CExportForm::CExportForm(QObject* parent) : QObject(parent), exact(QSettings().value(kExactKey, false).toBool()) {}

void CExportForm::SetExact(bool value)
{
    if (value == exact)
        return;
    exact = value;
    QSettings().setValue(kExactKey, exact);
    emit Changed(exact);
}

} // namespace rix
