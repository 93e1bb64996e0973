// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMutexLocker>
#include <QString>

#include <gettext-po.h>

#include <memory>

namespace wendaro {

struct PoFileFree
{
    void operator()(po_file_t file) const { po_file_free(file); }
};
using PoFile = std::unique_ptr<po_file, PoFileFree>;

// A session with libgettextpo. The library keeps its error handler in
// global variables while it reads or writes, so one session at a time uses
// it: the constructor waits for the others to end. Reading and writing
// report the library's first error with its line instead of printing it,
// and never let the library end the process.
class GettextPo
{
public:
    GettextPo();
    GettextPo(const GettextPo &) = delete;
    GettextPo &operator=(const GettextPo &) = delete;

    // Null when the file could not be read or had an error.
    PoFile read(const QByteArray &fileName);
    bool write(po_file_t file, const QByteArray &fileName);

    // The library's description of the first error, and its line in the
    // file read (0 when it named none).
    QString error() const { return m_error; }
    size_t line() const { return m_line; }

private:
    QMutexLocker<QMutex> m_lock;
    QString m_error;
    size_t m_line = 0;
};

} // namespace wendaro
