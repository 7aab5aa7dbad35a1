// The classes of the dialogs' components, declared for the dialogs'
// headers; a dialog's source includes those it uses.
#pragma once

#include <QDialog>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TNumEdit;
class TSpinEdit;
class TStringGrid;
