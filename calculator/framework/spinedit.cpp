#include "calculator/framework/spinedit.h"

#include "calculator/framework/convert.h"

#include <QLineEdit>

#include <algorithm>
#include <climits>

TSpinEdit::TSpinEdit(QWidget *parent) : QAbstractSpinBox(parent)
{
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinEdit::Change);
}

int TSpinEdit::Value() const
{
    try {
        return StrToInt(Text());
    } catch (const EConvertError &) {
        return minValue_;
    }
}

void TSpinEdit::SetValue(int value)
{
    SetText(IntToStr(Clamped(value)));
}

QString TSpinEdit::Text() const
{
    return lineEdit()->text();
}

void TSpinEdit::SetText(const QString &text)
{
    lineEdit()->setText(text);
}

int TSpinEdit::Clamped(long long value) const
{
    // The minimum wins when a program has set the maximum below it.
    if (minValue_ != maxValue_)
        value = value < minValue_ ? minValue_ : std::min<long long>(value, maxValue_);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void TSpinEdit::stepBy(int steps)
{
    SetText(IntToStr(Clamped(static_cast<long long>(Value()) + steps)));
    selectAll();
}

QValidator::State TSpinEdit::validate(QString &input, int &) const
{
    const bool allowed = std::all_of(input.cbegin(), input.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-')
               || c == QLatin1Char('+');
    });
    return allowed ? QValidator::Acceptable : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}

void TSpinEdit::focusInEvent(QFocusEvent *event)
{
    emit Enter();
    QAbstractSpinBox::focusInEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent *event)
{
    const int value = Value();
    if (Clamped(value) != value)
        SetValue(value);
    QAbstractSpinBox::focusOutEvent(event);
    emit Exit();
}
