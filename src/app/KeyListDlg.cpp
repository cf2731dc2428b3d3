#include "KeyListDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "KeyList.h"

namespace rix {

namespace {

constexpr int kColumns = 3;

} // namespace

CKeyListDlg::CKeyListDlg(QWidget* parent, const QList<QAction*>& commands) : QDialog(parent)
{
    setWindowTitle(tr("Keys and Mouse"));
    setObjectName(QStringLiteral("Keys and Mouse"));
    setAccessibleName(windowTitle());
    filter = new QLineEdit(this);
    filter->setObjectName(QStringLiteral("Filter"));
    filter->setAccessibleName(filter->objectName());
    filter->setToolTip(tr("Show only the lines that hold this text: a key, a window or what it does"));
    filter->setPlaceholderText(tr("Filter: a key, a window or a word"));
    table = new QTableWidget(this);
    table->setObjectName(QStringLiteral("Keys"));
    table->setAccessibleName(table->objectName());
    table->setToolTip(tr("Every key and mouse gesture, by window"));
    table->setColumnCount(kColumns);
    table->setHorizontalHeaderLabels({tr("Window"), tr("Key or mouse"), tr("Does")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    const std::vector<TKeyListRow> rows = CKeyList::Rows(commands);
    table->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        const TKeyListRow& line = rows[static_cast<std::size_t>(row)];
        const QString cells[kColumns] = {line.window, line.keys, line.action};
        for (int column = 0; column < kColumns; ++column)
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    connect(filter, &QLineEdit::textChanged, this, &CKeyListDlg::ApplyFilter);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("Close"));
    buttons->button(QDialogButtonBox::Close)->setAccessibleName(QStringLiteral("Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter);
    layout->addWidget(table, 1);
    layout->addWidget(buttons);
    resize(720, 560);
}

void CKeyListDlg::ApplyFilter(const QString& text)
{
    const QString wanted = text.trimmed();
    for (int row = 0; row < table->rowCount(); ++row) {
        bool found = wanted.isEmpty();
        for (int column = 0; column < kColumns && !found; ++column)
            found = table->item(row, column)->text().contains(wanted, Qt::CaseInsensitive);
        table->setRowHidden(row, !found);
    }
}

QStringList CKeyListDlg::ShownLines() const
{
    QStringList lines;
    for (int row = 0; row < table->rowCount(); ++row)
        if (!table->isRowHidden(row))
            lines << QStringLiteral("%1 | %2 | %3")
                         .arg(table->item(row, 0)->text(), table->item(row, 1)->text(), table->item(row, 2)->text());
    return lines;
}

} // namespace rix
