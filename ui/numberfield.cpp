#include "ui/numberfield.h"

#include "ui/prompter.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvelo {

NumberField::NumberField(const QString& name, std::int32_t value, std::int32_t low, std::int32_t high,
                         QWidget* parent, Arrows arrows)
    : QWidget(parent), m_low(low), m_high(high), m_arrowLow(low), m_arrowHigh(high)
{
    setObjectName(name + QStringLiteral("Field"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed); // the edit and its arrows side by side
    m_edit = new QLineEdit(QString::number(value), this);
    m_edit->setObjectName(name + QStringLiteral("Edit"));
    m_edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_edit));
    m_edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_edit->setMaximumWidth(m_edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(m_edit);
    if (arrows == Arrows::None)
        return;

    m_edit->installEventFilter(this);
    const auto arrow = [&](Qt::ArrowType type, const QString& suffix, int delta) {
        auto* button = new QToolButton(this);
        button->setObjectName(name + suffix);
        button->setArrowType(type);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, 11);
        connect(button, &QToolButton::clicked, this, [this, delta] { step(delta); });
        return button;
    };
    m_up = arrow(Qt::UpArrow, tr("Up"), 1);
    m_down = arrow(Qt::DownArrow, tr("Down"), -1);
    auto* column = new QVBoxLayout;
    column->setSpacing(0);
    column->addWidget(m_up);
    column->addWidget(m_down);
    row->addLayout(column);
}

void NumberField::setArrowRange(std::int32_t low, std::int32_t high)
{
    m_arrowLow = low;
    m_arrowHigh = high;
}

void NumberField::setValue(std::int32_t value)
{
    m_edit->setText(QString::number(value));
}

void NumberField::step(int delta)
{
    bool ok = false;
    const qlonglong current = m_edit->text().trimmed().toLongLong(&ok);
    setValue(static_cast<std::int32_t>(ok ? std::clamp<qlonglong>(current + delta, m_arrowLow, m_arrowHigh)
                                          : m_arrowLow));
}

bool NumberField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<std::int32_t> NumberField::value() const
{
    bool ok = false;
    const qlonglong number = m_edit->text().trimmed().toLongLong(&ok);
    if (!ok || number < m_low || number > m_high)
        return std::nullopt;
    return static_cast<std::int32_t>(number);
}

std::optional<std::int32_t> NumberField::read()
{
    if (const auto number = value())
        return number;
    const QString text = m_edit->text().trimmed();
    const bool digits =
        !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    bool ok = false;
    text.toLongLong(&ok);
    // A run of digits too long to read is too large.
    const QString message = !ok && !digits
                                ? tr("Please enter an integer.")
                                : tr("Please enter an integer between %1 and %2.").arg(m_low).arg(m_high);
    Prompter::instance().inform(window(), message, Prompter::Icon::Warning);
    m_edit->setFocus();
    m_edit->selectAll();
    return std::nullopt;
}

} // namespace tarvelo
