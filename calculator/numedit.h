// TNumEdit: the one-line field of every real-valued input of the
// calculator's dialogs.
//
// It lets only a number's characters be typed: digits, one minus sign
// (anywhere, unless PositiveOnly), one decimal separator (unless
// IntegerOnly) and backspace.  A typed "." or "," becomes the locale's
// decimal separator.  Keys that move the caret, edit (Delete) or belong to
// the dialog (Return, Enter, Esc, Tab) work as in any line edit; every other
// key that types a character, Ctrl+V and the other control characters
// included, is refused.  Text pasted through the context menu is not
// filtered: the exit check and the dialogs' conversion judge it.
//
// With RangeCheck on, leaving the field replaces a value below
// RangeMinimum or above RangeMaximum by that bound, with a beep; a text
// that is not a number raises the conversion error, which goes to the
// application's default handler, and stays as it is.  The check runs only
// when the focus moves to another control of the dialog, never while
// typing and not when the dialog merely stops being the active window.
//
// The dialogs read the field through its text with StrToFloat; Value is
// for programs that want a number whatever the text holds.
#pragma once

#include <QChar>
#include <QLineEdit>
#include <QString>

// S as a number: 0 when S is empty; otherwise every "," and "." counts as
// the locale's decimal separator, and a text that is still no number
// raises EConvertError.
double StrToNumber(const QString &S);

class TNumEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TNumEdit(QWidget *parent = nullptr);

    bool IntegerOnly() const { return FintegerOnly; }
    void SetIntegerOnly(bool value) { FintegerOnly = value; }
    bool PositiveOnly() const { return FpositiveOnly; }
    void SetPositiveOnly(bool value) { FpositiveOnly = value; }
    bool RangeCheck() const { return FCheckRange; }
    void SetRangeCheck(bool value) { FCheckRange = value; }
    double RangeMinimum() const { return FMinimum; }
    void SetRangeMinimum(double value) { FMinimum = value; }
    double RangeMaximum() const { return Fmaximum; }
    void SetRangeMaximum(double value) { Fmaximum = value; }

    // StrToNumber of the text, or RangeMinimum when that fails.
    double GetValue() const noexcept;
    // Shows X in the general 15-digit format with the locale's separator.
    void SetValue(double X);

    // The filter of one typed character: Key becomes the character that
    // reaches the text, or the null character when it is refused.
    void KeyPress(QChar &Key) const;

protected:
    // Rewrites the separators of the text when the field is first shown,
    // so that a default written with a point shows the user's separator.
    void CreateWnd();
    // The exit check.
    void CMExit();

    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool FintegerOnly = false;
    bool FpositiveOnly = false;
    bool FCheckRange = false;
    double FMinimum = 0.0;
    double Fmaximum = 0.0;

    bool created_ = false;
    // Set while the exit check runs: the message box of its conversion
    // error moves the focus again.
    bool inExit_ = false;
};
