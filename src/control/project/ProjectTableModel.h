// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/document/ProjectTables.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

namespace wendaro {

// The project panel's rows: one per table, its path and the counts of
// status, then a last row of the project's totals. The model sorts itself,
// the totals always last, so that the order the panel shows is the order
// the next-table keys follow.
class ProjectTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Path, Percent, Untranslated, Review, Problems, Missing, ColumnCount };

    // A table's number: its place in the list given to reset, which the
    // sorting does not change.
    void reset(std::vector<ProjectTable> tables);
    qsizetype tableCount() const { return qsizetype(m_tables.size()); }
    const ProjectTable &table(qsizetype number) const { return m_tables[size_t(number)].table; }
    // Nullopt while the table is not counted yet.
    const std::optional<TableProgress> &progress(qsizetype number) const { return m_tables[size_t(number)].progress; }
    void setProgress(qsizetype number, TableProgress progress);
    // The counts of a table open in the window, as its rows are now.
    void setCounts(qsizetype number, const StateCounts &counts);
    // A table whose translation was saved for the first time.
    void setTranslated(qsizetype number);
    // The table shown in a row (-1 for the totals) and the row of a table.
    qsizetype tableAt(int row) const;
    int rowOf(qsizetype number) const;
    // Whether a table has rows to work on: 未訳, 要確認 or 問題.
    bool hasWork(qsizetype number) const;
    // All the tables counted so far.
    StateCounts total() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    struct Row
    {
        ProjectTable table;
        std::optional<TableProgress> progress;
    };
    QVariant text(qsizetype number, int column) const;
    void tableChanged(qsizetype number);

    std::vector<Row> m_tables;
    std::vector<qsizetype> m_order; // table numbers in the rows' order
    std::vector<int> m_rowOf;       // the row of each table number
};

} // namespace wendaro
