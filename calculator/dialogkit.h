// Building blocks of the dialogs: the frame and font that every dialog
// shares, the sunken frame and the group boxes, labelled fields, the OK and
// Cancel buttons in their places, the variability measure box, the tab
// order and the activation event.  With them a dialog's constructor reads
// as the list of its own controls.
//
// A control created with a `name` gets it as its object name, the name of
// the component it stands for; the others have none.
#pragma once

#include "calculator/framework/application.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QString>

#include <functional>
#include <initializer_list>

class QFrame;
class QGroupBox;
class TNumEdit;
class TSpinEdit;

// A fixed dialog frame (no resizing, no minimise or maximise buttons) with
// the caption, the client size and the forms' font, MS Sans Serif at 11
// pixels (a face with Arial's metrics where that one is missing: see
// InstallFontSubstitutes).
void SetupDialogForm(QDialog *form, const QString &caption, int width, int height);

// A sunken box drawn around a dialog's fields, in `place`.
QFrame *BevelFrame(QWidget *parent, const QRect &place, const char *name = nullptr);

// A group box with its caption (none when empty), in `place`.
QGroupBox *GroupBox(QWidget *parent, const QString &caption, const QRect &place);

// A label right-aligned in `place` whose accelerator moves the focus to
// `field`.  A null field gives a label whose accelerator does nothing.
QLabel *FieldLabel(QWidget *parent, const QString &caption, QWidget *field, const QRect &place);

// The label of a field on its row: from `left` to 4 pixels before the
// field, as high as the field.
QLabel *FieldLabel(QWidget *parent, const QString &caption, QWidget *field, int left);

// A label as wide and high as its caption, its top left corner at `at`,
// whose accelerator moves the focus to `field`.
QLabel *FittedLabel(QWidget *parent, const QString &caption, QWidget *field, QPoint at);

// A number field holding `text`, in `place`.
TNumEdit *NumberField(QWidget *parent, const QString &text, const QRect &place,
                      const char *name = nullptr);

// An integer field limited to Min .. Max, holding Value, in `place`.
TSpinEdit *SpinField(QWidget *parent, int Min, int Max, int Value, const QRect &place,
                     const char *name = nullptr);

// A correlation coefficient: a number field holding `text`, -1 .. 1
// enforced when the focus leaves it.
TNumEdit *CorrelationField(QWidget *parent, const QString &text, const QRect &place,
                           const char *name = nullptr);

// The confidence level in percent of the interval dialogs: "95", no
// minus sign, 0 .. 99.999 enforced when the focus leaves it.
TNumEdit *ConfidenceLevelField(QWidget *parent, const QRect &place);

// CreateOkButton and CreateCancelButton (framework/application.h), placed.
template <class Dialog>
QPushButton *CreateOkButton(Dialog *dialog, void (Dialog::*handler)(), const QRect &place)
{
    QPushButton *button = CreateOkButton(dialog, handler);
    button->setGeometry(place);
    return button;
}
QPushButton *CreateCancelButton(QDialog *dialog, const QRect &place);

// The "Variability measure:" box across the top of the means dialogs, with
// its two radio buttons; the standard deviation is checked.  A click on
// either button runs `handler` through the guard.
QGroupBox *VariabilityMeasureBox(QDialog *form, QRadioButton *&Measure_variance,
                                 QRadioButton *&Measure_StdDev);
template <class Dialog>
QGroupBox *VariabilityMeasureBox(Dialog *form, QRadioButton *&Measure_variance,
                                 QRadioButton *&Measure_StdDev, void (Dialog::*handler)())
{
    QGroupBox *box = VariabilityMeasureBox(form, Measure_variance, Measure_StdDev);
    ConnectGuarded(Measure_variance, &QRadioButton::clicked, form, handler);
    ConnectGuarded(Measure_StdDev, &QRadioButton::clicked, form, handler);
    return box;
}

// Chains the tab order through the widgets in the order given.
void SetTabOrder(std::initializer_list<QWidget *> widgets);

// Runs the handler through the guard when the form is shown, before the
// user sees it, and again each time the form becomes the active window
// (after a message box, for instance); it must therefore be idempotent.
void BindFormActivate(QDialog *form, std::function<void()> handler);

// Forces the spin edit's value into [Low, High]; errors are ignored.
void ClampSpinEdit(TSpinEdit *Spin, int Low, int High);
