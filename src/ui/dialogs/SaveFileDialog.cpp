#include "SaveFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace rix {

QString CSaveFileDialog::Ask(QWidget* parent, const QString& caption, const QString& proposed, const QString& filter,
                             const QString& extension)
{
    QString shown = proposed;
    for (;;) {
        const QString typed =
            QFileDialog::getSaveFileName(parent, caption, shown, filter, nullptr, QFileDialog::DontConfirmOverwrite);
        if (typed.isEmpty())
            return {};
        const QString path = WithExtension(typed, extension);
        if (MayReplace(parent, path))
            return path;
        shown = path;
    }
}

QString CSaveFileDialog::WithExtension(const QString& path, const QString& extension)
{
    const QString suffix = QLatin1Char('.') + extension;
    return path.endsWith(suffix, Qt::CaseInsensitive) ? path : path + suffix;
}

bool CSaveFileDialog::MayReplace(QWidget* parent, const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists() && !file.isSymLink())
        return true;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("sonrix3"),
                    QObject::tr("%1 already exists.").arg(file.fileName()), QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setObjectName(QStringLiteral("Replace file"));
    box.setInformativeText(QObject::tr("Do you want to replace it?\n\nIt is in %1.")
                               .arg(QDir::toNativeSeparators(file.absolutePath())));
    // Enter keeps the file: replacing is the answer that takes a decision.
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace rix
