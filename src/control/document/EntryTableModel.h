// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/EntryList.h"
#include "core/model/EntryListObserver.h"

#include <QAbstractTableModel>

namespace wendaro {

class TranslationStatus;

// The entry list as three columns (index text, name, value) for an item view,
// and while an original is open two more: the original's value (3) and the
// row's state (4), which a view shows where it likes.
// It holds no rows of its own: it reads them from the list and follows the
// list's changes as its observer. Model row r is the list's position r.
// A value cell's tooltip shows the value with its line breaks, shortened.
// A value cell shows only as much of a long value as its column can show, so
// that painting a page costs the same however long the values are; the row,
// the tooltip and the editor keep the whole value.
class EntryTableModel : public QAbstractTableModel, private EntryListObserver
{
    Q_OBJECT
public:
    explicit EntryTableModel(EntryList &entries, QObject *parent = nullptr);
    ~EntryTableModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Typed-text search: a text starting with a digit finds an index (its
    // padding spaces ignored), any other text a name. The hit is given in
    // start's column so that the view's current column stays.
    QModelIndexList match(const QModelIndex &start, int role, const QVariant &value, int hits = 1,
                          Qt::MatchFlags flags = Qt::MatchFlags(Qt::MatchStartsWith | Qt::MatchWrap)) const override;

    // The most characters a value cell shows; a longer value is cut there and
    // ends in "…". The view sets it from the column's width.
    void setValueShownLength(qsizetype length) { m_valueShownLength = qMax<qsizetype>(1, length); }

    // The translation's states, told of every change of the rows before the
    // views are; its columns show while it has an original.
    void setTranslationStatus(TranslationStatus *status);

private:
    void rowsAboutToBeReset() override;
    void rowsReset() override;
    void rowAboutToBeAppended(qsizetype position) override;
    void rowAppended(qsizetype position) override;
    void rowChanged(qsizetype position) override;
    void rowsAboutToBeInserted(qsizetype position, qsizetype count) override;
    void rowsInserted(qsizetype position, qsizetype count) override;
    void rowsAboutToBeRemoved(qsizetype position, qsizetype count) override;
    void rowsRemoved(qsizetype position, qsizetype count) override;
    void rowsAboutToBeReordered() override;
    void rowsReordered(const QList<qsizetype> &newPositionOf) override;

    void originalOpened(bool open);

    EntryList &m_entries;
    TranslationStatus *m_translationStatus = nullptr;
    bool m_reviewColumns = false;
    // Wider than any screen shows until the view says better.
    qsizetype m_valueShownLength = 2048;
};

} // namespace wendaro
