// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/formats/GettextPo.h"

#include <csetjmp>

namespace wendaro {

namespace {

QMutex libraryInUse;

// What the handler needs while a call into the library runs; the library
// hands its handler no context of ours.
struct Call
{
    std::jmp_buf fatal;
    QString error;
    size_t line = 0;
};
thread_local Call *current = nullptr;

// Kept apart from the handler so that every object it builds is gone
// before the handler jumps.
void record(const char *fileName, size_t line, const char *text)
{
    if (!current || !current->error.isEmpty())
        return;
    current->error = QString::fromUtf8(text).trimmed();
    if (current->error.isEmpty())
        current->error = QStringLiteral("(説明なし)");
    current->line = fileName && line != size_t(-1) ? line : 0;
}

// The library calls this for warnings, errors and fatal errors. Warnings
// (a charset name it does not know, a missing header field) say nothing
// about the messages and are dropped. After an error the library goes on
// reading and we only keep the first. A fatal error must not return: the
// library's next statement relies on what just failed (it writes to the
// file it could not create, goes on after a read error). It is raised
// for an I/O error, a failing iconv, or an output file it cannot create,
// all about our temporary file and none about the file's contents. We
// jump back to the call that entered the library instead of ending the
// process; the jump passes over C frames of the library only, which hold
// no destructors. What the library held at that point (its FILE, the
// messages read so far) is left behind, a small loss on a path that only
// a failing disk takes.
void onProblem(int severity, po_message_t, const char *fileName, size_t line, size_t, int, const char *text)
{
    if (severity == PO_SEVERITY_WARNING)
        return;
    record(fileName, line, text);
    if (severity == PO_SEVERITY_FATAL_ERROR && current)
        std::longjmp(current->fatal, 1);
}

void onProblemPair(int severity, po_message_t message, const char *fileName, size_t line, size_t column, int multiline,
                   const char *text, po_message_t, const char *, size_t, size_t, int, const char *)
{
    onProblem(severity, message, fileName, line, column, multiline, text);
}

const po_xerror_handler handler = {onProblem, onProblemPair};

// The frames between setjmp and the library hold nothing with a
// destructor, so the jump back is sound.
po_file_t readGuarded(const char *fileName, Call *call)
{
    if (setjmp(call->fatal) != 0)
        return nullptr;
    return po_file_read(fileName, &handler);
}

bool writeGuarded(po_file_t file, const char *fileName, Call *call)
{
    if (setjmp(call->fatal) != 0)
        return false;
    return po_file_write(file, fileName, &handler) != nullptr;
}

} // namespace

GettextPo::GettextPo() : m_lock(&libraryInUse) {}

PoFile GettextPo::read(const QByteArray &fileName)
{
    Call call;
    current = &call;
    PoFile file(readGuarded(fileName.constData(), &call));
    current = nullptr;
    m_error = call.error;
    m_line = call.line;
    if (!file && m_error.isEmpty())
        m_error = QStringLiteral("一時ファイルを開けません");
    if (!m_error.isEmpty())
        file.reset();
    return file;
}

bool GettextPo::write(po_file_t file, const QByteArray &fileName)
{
    Call call;
    current = &call;
    const bool written = writeGuarded(file, fileName.constData(), &call);
    current = nullptr;
    m_error = call.error;
    m_line = 0;
    if (!written && m_error.isEmpty())
        m_error = QStringLiteral("一時ファイルに書けません");
    return written && m_error.isEmpty();
}

} // namespace wendaro
