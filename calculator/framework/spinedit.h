// TSpinEdit: the integer field of the calculator's dialogs, with up and
// down buttons (and the arrow keys) that step its value by one.
//
// Unlike QSpinBox it keeps whatever integer text the user types, also one
// outside its range or an empty text, until the focus leaves it:
//   - Value() is the text as a 32-bit integer, or MinValue() when the text
//     is not one (empty, a lone sign, out of the 32-bit range);
//   - SetValue() and leaving the field clamp into [MinValue(), MaxValue()],
//     unless the two are equal (then there is no limit);
//   - leaving changes the text only when the clamped value differs from
//     Value(), so an empty field stays empty.
// Only digits and the signs can be typed.
#pragma once

#include <QAbstractSpinBox>

class TSpinEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    explicit TSpinEdit(QWidget *parent = nullptr);

    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    void SetMinValue(int value) { minValue_ = value; }
    void SetMaxValue(int value) { maxValue_ = value; }

    int Value() const;
    void SetValue(int value);

    QString Text() const;
    void SetText(const QString &text);

    void stepBy(int steps) override;
    QValidator::State validate(QString &input, int &pos) const override;

signals:
    // The text changed (typing, stepping or a program's change).
    void Change();
    // The focus entered the field; sent before the field selects its text.
    void Enter();
    // The focus left the field, after the value was clamped.
    void Exit();

protected:
    StepEnabled stepEnabled() const override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int Clamped(long long value) const;

    int minValue_ = 0;
    int maxValue_ = 0;
};
