// The main window of the calculator, the program start and the launching
// of the dialogs.
//
// TVardeloForm is a menu bar over one text area, Memo1: the results
// document.  Dialogs write to it only through AppendLine and
// AppendProbabilityLine (results.h), which reach the window through the
// global VardeloForm.
//
// Each calculator command of the menu opens its dialog with LaunchDialog,
// which creates the dialog, stores it in its module variable, shows it
// centred and modal and destroys it afterwards.  A dialog module provides
//
//     class TScBinomial : public QDialog { ... };      // scbin.h
//     extern TScBinomial *ScBinomial;                   // its module variable
//
// and its launcher in this module is one line:
//
//     void TVardeloForm::Binomial1Click() { LaunchDialog(ScBinomial); }
//
// Every handler, menu item or dialog control alike, is connected through
// the guard of framework/application.h (ConnectGuarded, CreateOkButton),
// so that an error reaches the default handler and never Qt's event loop.
#pragma once

#include "calculator/framework/application.h"
#include "calculator/framework/filedialog.h"

#include <QDialog>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QString>

#include <memory>

class QAction;
class QMenu;
class QMenuBar;

class TVardeloForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TVardeloForm(QWidget *parent = nullptr);
    ~TVardeloForm() override;

    QMenuBar *MainMenu1;
    QMenu *File2, *Edit1, *Probability1, *Confidenceinterval1, *Table1, *Help1;
    // File
    QAction *New1, *Open1, *Save1, *Saveas1, *N1, *Print1, *Printersetup1, *N2, *File1;
    // Edit
    QAction *Cut1, *Copy1, *Paste1, *Erase1, *N3, *Selectall1;
    // Probability
    QAction *Binomial1, *Poisson1, *Normal1, *Chisquare1, *ttest1, *Ftest1, *rvalue1,
        *Comparisonofmeans1sample1, *Comparisonbetweenmeans1, *Comparisonbetweencorrelations1;
    // Confidence interval
    QAction *Proportion1, *Man1, *Pearsonsr1;
    // Table
    QAction *Contingency1, *Contingencytable1;
    // Help
    QAction *About1;
    // The results document.
    QPlainTextEdit *Memo1;
    // The file dialogs.  OpenDialog1.FileName is the document's file name
    // (empty for a new document): Open and Save as set it, New empties it,
    // Save writes to it.
    TOpenDialog OpenDialog1;
    TSaveDialog SaveDialog1;

    void FormCreate();
    // Asked before the window closes; CanClose starts true.
    void FormCloseQuery(bool &CanClose);

    void New1Click();
    void Open1Click();
    void Save1Click();
    void Saveas1Click();
    void Print1Click();
    void Printersetup1Click();
    void File1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void Delete1Click();
    void Selectall1Click();

    void Binomial1Click();
    void Poisson1Click();
    void Normal1Click();
    void Chisquare1Click();
    void ttest1Click();
    void Ftest1Click();
    void rvalue1Click();
    void Comparisonofmeans1sample1Click();
    void Comparisonbetweenmeans1Click();
    void Comparisonbetweencorrelations1Click();
    void Proportion1Click();
    void Man1Click();
    void Pearsonsr1Click();
    void Contingency1Click();
    void Contingencytable1Click();
    void About1Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The document as the text area holds it, lines separated by '\n'.
    QString DocumentText() const;
    // The question before a modified document is closed or replaced: true
    // when the command may go on (the document was not modified, was
    // saved, or the user chose not to save it).
    bool AskToSave();
    // Save and Save as; false when nothing was written because the user
    // cancelled the save dialog.  A failing write raises EFileError and
    // changes nothing.
    bool SaveDocument();
    bool SaveDocumentAs();
    // Shows "Text Demo - " and the file's name without its folder.
    void ShowFileNameInCaption(const QString &FileName);

    // The parts of the window, in the order the constructor builds them.
    void CreateFileMenu();
    void CreateEditMenu();
    void CreateProbabilityMenu();
    void CreateConfidenceIntervalMenu();
    void CreateTableMenu();
    void CreateHelpMenu();
    void CreateDocument();
    void SetUpFileDialogs();
    void PlaceOnScreen();

    // A menu of the menu bar with its component name, and its items, each
    // connected through the guard; a command has no shortcut.
    QMenu *AddMenu(const char *name, const QString &title);
    QAction *AddItem(QMenu *menu, const char *name, const QString &caption,
                     const QKeySequence &shortcut, void (TVardeloForm::*handler)());
    QAction *AddCommand(QMenu *menu, const char *name, const char *caption,
                        void (TVardeloForm::*handler)());
};

// The main window; set while it exists.
extern TVardeloForm *VardeloForm;

// Empties the history of the dialog, so that it offers no earlier folders.
void ResetFileHistory(TOpenDialog &Dialog);

// Program start: the framework, the application title and the main window,
// shown centred on the screen; SIGXFSZ is ignored from then on.  The
// caller runs the event loop.
void StartVardelo();

// Places the dialog centred over the main window (outer sizes, frames
// included; odd differences truncate toward zero) and shows it modally.
void ShowDialogCentered(QDialog &Dialog);

// Opens a dialog: creates it (owned by the application's main window),
// stores it in its module variable, shows it centred and modal, and
// destroys it when it closes or when showing it fails.  The variable is
// null again afterwards.  Runs through the guard.
template <class Dialog>
void LaunchDialog(Dialog *&moduleVariable)
{
    Guarded([&moduleVariable] {
        struct Release {
            Dialog *&variable;
            ~Release()
            {
                delete variable;
                variable = nullptr;
            }
        } release{moduleVariable};
        moduleVariable = new Dialog(VardeloForm);
        ShowDialogCentered(*moduleVariable);
    });
}
