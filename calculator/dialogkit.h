// Building blocks of the dialogs: the frame and font that every dialog
// shares, labelled fields, the tab order and the activation event.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QRect>
#include <QString>

#include <functional>
#include <initializer_list>

class QGroupBox;
class QRadioButton;
class TNumEdit;
class TSpinEdit;

// A fixed dialog frame (no resizing, no minimise or maximise buttons) with
// the caption, the client size and the forms' font, MS Sans Serif at 11
// pixels (a face with Arial's metrics where that one is missing: see
// InstallFontSubstitutes).
void SetupDialogForm(QDialog *form, const QString &caption, int width, int height);

// A label right-aligned in `place` whose accelerator moves the focus to
// `field`.  A null field gives a label whose accelerator does nothing.
QLabel *FieldLabel(QWidget *parent, const QString &caption, QWidget *field, const QRect &place);

// A number field holding `text`, in `place`.
TNumEdit *NumberField(QWidget *parent, const QString &text, const QRect &place);

// An integer field limited to Min .. Max, holding Value, in `place`.
TSpinEdit *SpinField(QWidget *parent, int Min, int Max, int Value, const QRect &place);

// The confidence level in percent of the interval dialogs: "95", no
// minus sign, 0 .. 99.999 enforced when the focus leaves it.
TNumEdit *ConfidenceLevelField(QWidget *parent, const QRect &place);

// The "Variability measure:" box across the top of the means dialogs, with
// its two radio buttons; the standard deviation is checked.
QGroupBox *VariabilityMeasureBox(QDialog *form, QRadioButton *&Measure_variance,
                                 QRadioButton *&Measure_StdDev);

// Chains the tab order through the widgets in the order given.
void SetTabOrder(std::initializer_list<QWidget *> widgets);

// Runs the handler through the guard when the form is shown, before the
// user sees it, and again each time the form becomes the active window
// (after a message box, for instance); it must therefore be idempotent.
void BindFormActivate(QDialog *form, std::function<void()> handler);

// Forces the spin edit's value into [Low, High]; errors are ignored.
void ClampSpinEdit(TSpinEdit *Spin, int Low, int High);
