// The about box: the program's name, version and date on a panel, and an
// OK button.  Shows no data of the program and changes nothing.  Its one
// button is an OK button, not a Cancel button: Enter or a click on OK
// closes the box, Esc does not.
#pragma once

#include <QDialog>

class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget *parent = nullptr);

    QFrame *Panel1;
    QLabel *ProgramIcon;
    QLabel *Korbish;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QPushButton *OKButton;

    // Hides the box through AboutBox; the button then closes it as
    // accepted.
    void OKButtonClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The about box while Help About shows it.
extern TAboutBox *AboutBox;
