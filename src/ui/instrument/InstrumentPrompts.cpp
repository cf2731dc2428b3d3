#include "InstrumentPrompts.h"

#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

#include "EnvEditorDlg.h"
#include "SaveFileDialog.h"

namespace rix {

namespace {

const QString kFilter = QStringLiteral("SONRIX Instrument files (*.sonrixi)");

CInstrumentPrompts*& Installed()
{
    static CInstrumentPrompts* installed = nullptr;
    return installed;
}

} // namespace

bool CInstrumentPrompts::Ask(QWidget* parent, const QString& question)
{
    return QMessageBox::question(parent, QStringLiteral("SONRIX3"), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void CInstrumentPrompts::ShowError(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent ? parent->window() : nullptr, QStringLiteral("Error"), text);
}

QString CInstrumentPrompts::OpenInstrumentPath(QWidget* parent)
{
    QFileDialog dialog(parent, QString(), QString(), kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("sonrixi"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString CInstrumentPrompts::SaveInstrumentPath(QWidget* parent)
{
    return CSaveFileDialog::Ask(parent, QObject::tr("Save Instrument"), QString(), kFilter, QStringLiteral("sonrixi"));
}

QAction* CInstrumentPrompts::Popup(QMenu& menu, const QPoint& position)
{
    return menu.exec(position);
}

void CInstrumentPrompts::EditEnvelope(QWidget* parent, CSongEditor& editor, const TEnvelopeAddress& address)
{
    CEnvEditorDlg dialog(parent, editor, address);
    dialog.exec();
}

CInstrumentPrompts& CInstrumentPrompts::Get()
{
    static CInstrumentPrompts real;
    return Installed() ? *Installed() : real;
}

void CInstrumentPrompts::Set(CInstrumentPrompts* prompts)
{
    Installed() = prompts;
}

} // namespace rix
