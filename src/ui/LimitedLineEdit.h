// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace wendaro {

// A single-line text field whose limit applies only to what the person types
// or pastes. A text set by the program is kept whole whatever its length;
// while it is longer than the limit, typing cannot make it longer still, and a
// paste into a shorter text is cut to the room that is left.
class LimitedLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit LimitedLineEdit(int typingLimit, QWidget *parent = nullptr);

    int typingLimit() const { return m_typingLimit; }
    // Sets the text as the program does, without the typing limit.
    void setProgramText(const QString &text);

signals:
    // The person moved the focus into the field by Tab, Backtab or a click.
    // Not raised when the focus only comes back: after a menu or a context
    // menu, from another window, or when the program sets it.
    void entered();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    class Limit;
    int m_typingLimit;
    Limit *m_limit;
    // The click that gave the focus has yet to arrive, and would move the
    // cursor off the selection that entered() made.
    bool m_keepSelectionOnPress = false;
};

} // namespace wendaro
