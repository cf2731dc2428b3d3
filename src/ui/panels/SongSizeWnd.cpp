#include "SongSizeWnd.h"

#include <memory>

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "PlaybackController.h"
#include "RixModule.h"

namespace rix {

namespace {

const QString kBudgetKey = QStringLiteral("SongSize/Budget");
// The budgets of the usual intro classes; the last choice is a number.
constexpr int kPresetBudgets[] = {4096, 8192, 65536};
constexpr const char* kPresetNames[] = {"4 KB", "8 KB", "64 KB"};

template <class TWidget> TWidget* Named(TWidget* widget, const QString& name, const QString& tip)
{
    widget->setObjectName(name);
    widget->setAccessibleName(name);
    widget->setToolTip(tip);
    return widget;
}

} // namespace

CSongSizeWnd::CSongSizeWnd(CPlaybackController& controller, bool exact, QWidget* parent)
    : QWidget(parent), controller(controller), exact(exact),
      summary(Named(new QLabel(this), QStringLiteral("Song size"),
                    tr("The song's exported tables, raw and packed with LZMA, in the form File > Export writes"))),
      table(Named(new QTableWidget(0, 3, this), QStringLiteral("Breakdown"),
                  tr("Where the exported bytes go: each part raw, and what it adds to the packed tables"))),
      budgetChoice(Named(new QComboBox(this), QStringLiteral("Budget"), tr("The size the intro must fit in"))),
      budgetBytes(Named(new QSpinBox(this), QStringLiteral("Budget bytes"), tr("A budget of your own, in bytes"))),
      shareText(Named(new QLabel(this), QStringLiteral("Budget used"),
                      tr("The packed tables and the replay routine's code against the budget"))),
      share(Named(new QProgressBar(this), QStringLiteral("Share of the budget"),
                  tr("The packed tables and the replay routine's code against the budget"))),
      hints(Named(new QListWidget(this), QStringLiteral("Hints"), tr("Changes to the song that would save bytes"))),
      worker([this](uint64_t serial, const TRixExportBreakdown& breakdown) {
          QMetaObject::invokeMethod(this, [this, serial, breakdown] { Show(serial, breakdown); }, Qt::QueuedConnection);
      })
{
    setObjectName(QStringLiteral("Song Size"));
    setAccessibleName(QStringLiteral("Song Size"));
    setToolTip(tr("The song's exported bytes part by part, raw and packed, against a budget, with hints that save bytes"));
    table->setHorizontalHeaderLabels({tr("Part"), tr("Raw"), tr("Packed")});
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    table->setWordWrap(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    for (int i = 0; i < 3; ++i)
        budgetChoice->addItem(QString::fromLatin1(kPresetNames[i]), kPresetBudgets[i]);
    budgetChoice->addItem(tr("Bytes:"), 0);
    budgetBytes->setRange(256, 1 << 24);
    budgetBytes->setSuffix(QStringLiteral(" B"));
    // The spin box's own edit is what a click lands on.
    if (auto* edit = budgetBytes->findChild<QLineEdit*>()) {
        edit->setAccessibleName(budgetBytes->accessibleName());
        edit->setToolTip(budgetBytes->toolTip());
    }
    share->setRange(0, 100);
    share->setTextVisible(false);
    share->setFixedHeight(fontMetrics().height() / 2 + 2);
    hints->setWordWrap(true);
    hints->setSelectionMode(QAbstractItemView::NoSelection);

    auto* budgetRow = new QHBoxLayout;
    budgetRow->addWidget(new QLabel(tr("Budget"), this));
    budgetRow->addWidget(budgetChoice);
    budgetRow->addWidget(budgetBytes, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table);
    layout->addLayout(budgetRow);
    layout->addWidget(shareText);
    layout->addWidget(share);
    layout->addWidget(new QLabel(tr("Hints"), this));
    layout->addWidget(hints, 1);

    // Room for the longest part's name and two numbers.
    setMinimumWidth(fontMetrics().averageCharWidth() * 42);
    SetBudget(QSettings().value(kBudgetKey, kDefaultBudget).toInt());
    connect(budgetChoice, &QComboBox::activated, this, &CSongSizeWnd::OnBudgetChoice);
    connect(budgetBytes, &QSpinBox::valueChanged, this, [this](int bytes) {
        QSettings().setValue(kBudgetKey, bytes);
        ShowShare();
    });
    settle.setSingleShot(true);
    connect(&settle, &QTimer::timeout, this, &CSongSizeWnd::Measure);
    controller.AddListener(this);
}

CSongSizeWnd::~CSongSizeWnd()
{
    controller.RemoveListener(this);
}

void CSongSizeWnd::SetExact(bool value)
{
    if (value == exact)
        return;
    exact = value;
    Schedule();
}

int CSongSizeWnd::Budget() const
{
    return budgetBytes->value();
}

void CSongSizeWnd::SetBudget(int bytes)
{
    int index = budgetChoice->count() - 1;
    for (int i = 0; i < index; ++i)
        if (budgetChoice->itemData(i).toInt() == bytes)
            index = i;
    budgetChoice->setCurrentIndex(index);
    budgetBytes->setEnabled(index == budgetChoice->count() - 1);
    budgetBytes->setValue(bytes);
}

void CSongSizeWnd::OnBudgetChoice(int index)
{
    const int preset = budgetChoice->itemData(index).toInt();
    if (preset != 0) {
        SetBudget(preset);
        return;
    }
    budgetBytes->setEnabled(true);
    budgetBytes->setFocus();
}

void CSongSizeWnd::OnSongChanged(const TSongChange&)
{
    Schedule();
}

void CSongSizeWnd::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (dirty)
        Schedule();
}

void CSongSizeWnd::Schedule()
{
    dirty = true;
    // Not restarted by the next change: a run of edits is measured every
    // kSettleMs, not only once it ends.
    if (!settle.isActive())
        settle.start(kSettleMs);
}

void CSongSizeWnd::Measure()
{
    if (!isVisible())
        return;
    auto song = std::make_unique<CRixModuleData>();
    {
        CRixModuleLock data(controller.GetSongModule(), nexilon::LOCKMODE_READ);
        *song = *data;
    }
    dirty = false;
    pendingSerial = worker.Request(std::move(song), exact);
}

void CSongSizeWnd::Show(uint64_t serial, const TRixExportBreakdown& breakdown)
{
    if (serial != pendingSerial)
        return;
    shownSerial = serial;
    shown = breakdown;
    hasBreakdown = true;
    summary->setText((exact ? tr("Exact tables: %1 B, %2 B packed") : tr("Plain tables: %1 B, %2 B packed"))
                         .arg(breakdown.total.rawBytes)
                         .arg(breakdown.total.compressedBytes));

    const auto rows = static_cast<int>(breakdown.parts.size());
    table->setRowCount(rows + 3);
    const auto put = [this](int row, const QString& name, qint64 raw, qint64 packed, bool bold) {
        const QString texts[] = {name, QString::number(raw), QString::number(packed)};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            QFont font = item->font();
            font.setBold(bold);
            item->setFont(font);
            table->setItem(row, column, item);
        }
    };
    for (int row = 0; row < rows; ++row) {
        const TRixSizePart& part = breakdown.parts[static_cast<std::size_t>(row)];
        put(row, QString::fromStdString(part.name), part.rawBytes, part.packedBytes, false);
    }
    put(rows, tr("tables"), breakdown.total.rawBytes, breakdown.total.compressedBytes, true);
    put(rows + 1, tr("replay routine"), breakdown.code.rawBytes, breakdown.code.packedBytes, false);
    for (int column = 0; column < 3; ++column)
        table->item(rows + 1, column)
            ->setToolTip(tr("The routine's code for the features the song uses, as an intro builds it for 32-bit x86 "
                            "(-Os), packed on its own: an estimate from its measured sizes"));
    put(rows + 2, tr("music in the intro"), qint64{breakdown.total.rawBytes} + breakdown.code.rawBytes,
        qint64{breakdown.total.compressedBytes} + breakdown.code.packedBytes, true);

    // Every row in sight, the rest of the height for the hints.
    table->setFixedHeight(table->horizontalHeader()->sizeHint().height() +
                          table->rowCount() * table->verticalHeader()->defaultSectionSize() + 2 * table->frameWidth());

    hints->clear();
    for (const TRixSizeHint& hint : breakdown.hints)
        hints->addItem(tr("%1 (%2 B)").arg(QString::fromStdString(hint.text)).arg(hint.rawBytes));
    if (breakdown.hints.empty())
        hints->addItem(tr("None: nothing obvious to save."));
    ShowShare();
}

void CSongSizeWnd::ShowShare()
{
    if (!hasBreakdown)
        return;
    const qint64 music = qint64{shown.total.compressedBytes} + shown.code.packedBytes;
    const int budget = Budget();
    const qint64 percent = music * 100 / budget;
    share->setValue(static_cast<int>(std::min<qint64>(percent, 100)));
    shareText->setText(music <= budget
                           ? tr("Music packed: %1 B of %2 B, %3 %").arg(music).arg(budget).arg(percent)
                           : tr("Music packed: %1 B, %2 B over the budget of %3 B").arg(music).arg(music - budget).arg(budget));
}

} // namespace rix
