// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/pour_preview.h"

#include "core/vsqx/note_lyrics.h"
#include "core/vsqx/pour_texts.h"
#include "window/fixed_layout.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lirobel::window {

namespace {

// A light red that leaves the text readable in both light and dark themes' table colours.
const QColor kOddRow(255, 205, 205);

} // namespace

PourPreview::PourPreview(const vsqx::PourOutcome& outcome, QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    setObjectName(QStringLiteral("PourPreview"));
    setWindowTitle(QStringLiteral("预览"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* table = new QTableWidget(static_cast<int>(outcome.plan.size()), 4, this);
    table->setObjectName(QStringLiteral("PreviewNotes"));
    table->setHorizontalHeaderLabels(
        {QStringLiteral("音符"), QStringLiteral("位置"), QStringLiteral("歌词"), QStringLiteral("音标")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    int odd = 0;
    for (int row = 0; row < table->rowCount(); ++row) {
        const vsqx::PlannedNote& note = outcome.plan[row];
        const vsqx::NotePlace& place = note.place;
        const QString cells[] = {QStringLiteral("%1.%2.%3").arg(place.track).arg(place.part).arg(place.note),
                                 place.bar.isEmpty() ? QString::number(place.tick) : place.bar, note.lyric, note.item};
        for (int column = 0; column < 4; ++column) {
            auto* cell = new QTableWidgetItem(cells[column]);
            if (note.odd)
                cell->setBackground(kOddRow);
            table->setItem(row, column, cell);
        }
        odd += note.odd;
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    QString counts = vsqx::PourCountsText(outcome);
    if (odd > 0)
        counts += QStringLiteral("\n标红的 %1 个音符：歌词与音标不相符。").arg(odd);
    auto* summary = new QLabel(counts, this);
    summary->setObjectName(QStringLiteral("PreviewCounts"));
    summary->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addWidget(summary);
    resize(520, 420);
}

} // namespace lirobel::window
