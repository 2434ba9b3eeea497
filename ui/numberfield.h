#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>

class QLineEdit;
class QToolButton;

namespace tarvelo {

// A digits-only edit with small up and down arrows beside it. The arrows and the Up and
// Down keys step the number within the arrows' range; reading the field checks the range
// it accepts, which may be wider (a value typed beyond the arrows' end is taken).
class NumberField : public QWidget {
    Q_OBJECT
public:
    enum class Arrows { Shown, None };

    // The edit is named "<name>Edit", the arrows "<name>Up" and "<name>Down". The arrows
    // run over low..high until setArrowRange() says otherwise.
    NumberField(const QString& name, std::int32_t value, std::int32_t low, std::int32_t high, QWidget* parent,
                Arrows arrows = Arrows::Shown);

    void setArrowRange(std::int32_t low, std::int32_t high);
    void setValue(std::int32_t value);
    // One step of the arrows; text that is no number steps to the arrows' low end.
    void step(int delta);

    QLineEdit* edit() const { return m_edit; }
    QToolButton* upArrow() const { return m_up; }     // null without arrows
    QToolButton* downArrow() const { return m_down; } // null without arrows
    std::int32_t low() const { return m_low; }
    std::int32_t high() const { return m_high; }

    // Whether the text is an integer in low..high, and which.
    std::optional<std::int32_t> value() const;
    // The value; when there is none, tells the user why ("Please enter an integer." or
    // the range), focuses the edit with its text selected and gives nothing.
    std::optional<std::int32_t> read();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_edit = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    std::int32_t m_low;
    std::int32_t m_high;
    std::int32_t m_arrowLow;
    std::int32_t m_arrowHigh;
};

} // namespace tarvelo
