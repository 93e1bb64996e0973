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
    // The field received the input focus.
    void focusReceived();

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    class Limit;
    int m_typingLimit;
    Limit *m_limit;
};

} // namespace wendaro
