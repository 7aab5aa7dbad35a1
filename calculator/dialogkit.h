// Building blocks of the dialogs: the frame and font that every dialog
// shares, labelled fields, the tab order, the activation event, and the
// formatted numbers of the result lines as text.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QRect>
#include <QString>

#include <functional>
#include <initializer_list>

// A fixed dialog frame (no resizing, no minimise or maximise buttons) with
// the caption, the client size and the forms' font, MS Sans Serif at 11
// pixels (a sans-serif font where that one is missing).
void SetupDialogForm(QDialog *form, const QString &caption, int width, int height);

// A label right-aligned in `place` whose accelerator moves the focus to
// `field`.  A null field gives a label whose accelerator does nothing.
QLabel *FieldLabel(QWidget *parent, const QString &caption, QWidget *field, const QRect &place);

// Chains the tab order through the widgets in the order given.
void SetTabOrder(std::initializer_list<QWidget *> widgets);

// Runs the handler through the guard when the form is shown, before the
// user sees it, and again each time the form becomes the active window
// (after a message box, for instance); it must therefore be idempotent.
void BindFormActivate(QDialog *form, std::function<void()> handler);

// FormatNumber and PadLeft on the texts of the dialogs.
QString FormatText(int Width, int Decimals, double X);
QString PadLeftText(const QString &S, int Width);
