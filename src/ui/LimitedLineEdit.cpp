// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LimitedLineEdit.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QValidator>
#include <limits>

namespace wendaro {

// The line edit runs its validator after every change with the new text and
// the cursor after what was inserted. The length before the change is the
// length of the text last shown.
class LimitedLineEdit::Limit : public QValidator
{
public:
    Limit(int limit, QObject *parent) : QValidator(parent), m_limit(limit) {}

    void setPreviousLength(qsizetype length) { m_previousLength = length; }
    void setUnlimited(bool unlimited) { m_unlimited = unlimited; }

    State validate(QString &input, int &cursor) const override
    {
        const qsizetype length = input.size();
        if (m_unlimited || length <= m_limit || length <= m_previousLength)
            return Acceptable;
        // What was just inserted ends at the cursor; drop as much of it as
        // goes beyond the limit, or beyond the longer text there was.
        const qsizetype room = std::max<qsizetype>(m_limit, m_previousLength);
        const qsizetype excess = std::min<qsizetype>(length - room, cursor);
        input.remove(cursor - excess, excess);
        cursor -= int(excess);
        return input.size() <= room ? Acceptable : Invalid;
    }

private:
    int m_limit;
    qsizetype m_previousLength = 0;
    bool m_unlimited = false;
};

LimitedLineEdit::LimitedLineEdit(int typingLimit, QWidget *parent)
    : QLineEdit(parent), m_typingLimit(typingLimit), m_limit(new Limit(typingLimit, this))
{
    // The line edit's own maximum would cut texts set by the program.
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(m_limit);
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_limit->setPreviousLength(text.size()); });
}

void LimitedLineEdit::setProgramText(const QString &text)
{
    m_limit->setUnlimited(true);
    setText(text);
    m_limit->setUnlimited(false);
    m_limit->setPreviousLength(text.size());
}

void LimitedLineEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    m_keepSelectionOnPress = false;
    switch (event->reason()) {
    case Qt::MouseFocusReason:
        m_keepSelectionOnPress = true;
        emit entered();
        break;
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason: emit entered(); break;
    default: break;
    }
}

void LimitedLineEdit::focusOutEvent(QFocusEvent *event)
{
    m_keepSelectionOnPress = false;
    QLineEdit::focusOutEvent(event);
}

void LimitedLineEdit::mousePressEvent(QMouseEvent *event)
{
    if (!m_keepSelectionOnPress) {
        QLineEdit::mousePressEvent(event);
        return;
    }
    m_keepSelectionOnPress = false;
    const int start = selectionStart();
    const int length = selectionLength();
    QLineEdit::mousePressEvent(event);
    if (length > 0)
        setSelection(start, length);
}

} // namespace wendaro
