#include "AudioOutputDlg.h"

#include <utility>

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace rix {

namespace {

const QString kKey = QStringLiteral("AudioOutput");

} // namespace

CAudioOutputDlg::CAudioOutputDlg(QWidget* parent, const std::vector<std::string>& devices, const std::string& current)
    : QDialog(parent)
{
    setWindowTitle(tr("Audio Output"));
    setObjectName(QStringLiteral("Audio Output"));
    setAccessibleName(QStringLiteral("Audio Output"));
    list = new QListWidget(this);
    list->setObjectName(QStringLiteral("Outputs"));
    list->setAccessibleName(QStringLiteral("Outputs"));
    list->setToolTip(tr("The sound output to play through"));
    // The default carries no name: the empty string stands for it.
    auto* fallback = new QListWidgetItem(tr("System default"), list);
    fallback->setData(Qt::UserRole, QString());
    list->setCurrentItem(fallback);
    for (const std::string& device : devices) {
        auto* item = new QListWidgetItem(QString::fromStdString(device), list);
        item->setData(Qt::UserRole, QString::fromStdString(device));
        if (device == current)
            list->setCurrentItem(item);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (const auto& [which, name] : {std::pair{QDialogButtonBox::Ok, QStringLiteral("OK")},
                                      std::pair{QDialogButtonBox::Cancel, QStringLiteral("Cancel")}}) {
        buttons->button(which)->setObjectName(name);
        buttons->button(which)->setAccessibleName(name);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Play through:"), this));
    layout->addWidget(list);
    layout->addWidget(new QLabel(tr("The choice takes effect at the next playback."), this));
    layout->addWidget(buttons);
    resize(360, 280);
}

std::string CAudioOutputDlg::Choice() const
{
    const QListWidgetItem* item = list->currentItem();
    return item ? item->data(Qt::UserRole).toString().toStdString() : std::string();
}

QString CAudioOutputDlg::StoredChoice()
{
    return QSettings().value(kKey).toString();
}

void CAudioOutputDlg::StoreChoice(const QString& name)
{
    QSettings().setValue(kKey, name);
}

} // namespace rix
