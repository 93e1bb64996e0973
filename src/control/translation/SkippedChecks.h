// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checks/TranslationChecks.h"

#include <QObject>
#include <QString>

#include <vector>

namespace wendaro {

class Document;

// The checks the person turned off for a table ("この検査をしない" on a
// finding), remembered for it by its absolute path and turned off again
// whenever it is opened with an original.
class SkippedChecks : public QObject
{
    Q_OBJECT
public:
    explicit SkippedChecks(Document &state);

    void skip(TranslationCheck check);
    void restore(TranslationCheck check);
    // The checks turned off, in the order of the codes.
    std::vector<TranslationCheck> skipped() const;

private:
    void originalOpened(bool open);
    void apply(quint32 skipped);

    Document &m_state;
    QString m_tablePath;
};

} // namespace wendaro
