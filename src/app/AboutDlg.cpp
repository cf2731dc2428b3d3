#include "AboutDlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QPixmap>
#include <QVBoxLayout>

#include "ToolbarIcons.h"

namespace rix {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("About sonrix3"));
    setObjectName(QStringLiteral("About sonrix3"));
    setAccessibleName(QStringLiteral("About sonrix3"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(CToolbarIcons::ProgramImage(48)));
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(tr("<b>sonrix3</b> version %1<br><br>"
                               "A tracker and software synthesizer for the soundtracks<br>"
                               "of size-limited intros.<br><br>Copyright © Kestrelab")
                                .arg(QCoreApplication::applicationVersion()),
                            this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

} // namespace rix
