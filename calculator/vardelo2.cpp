#include "calculator/vardelo2.h"

#include "calculator/aboutsc.h"
#include "calculator/dialogs/scbin.h"
#include "calculator/dialogs/scchi.h"
#include "calculator/dialogs/sccimea.h"
#include "calculator/dialogs/sccipro.h"
#include "calculator/dialogs/sccor.h"
#include "calculator/dialogs/scfst.h"
#include "calculator/dialogs/scicor.h"
#include "calculator/dialogs/sckappa.h"
#include "calculator/dialogs/scmea1.h"
#include "calculator/dialogs/scmea2.h"
#include "calculator/dialogs/scnor.h"
#include "calculator/dialogs/scpea.h"
#include "calculator/dialogs/scpoi.h"
#include "calculator/dialogs/scstu.h"
#include "calculator/dialogs/sctable.h"
#include "calculator/docfile.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/printer.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>

#include <csignal>

TVardeloForm *VardeloForm = nullptr;

TVardeloForm::TVardeloForm(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Vardelo probability calculator"));
    MainMenu1 = menuBar();
    CreateFileMenu();
    CreateEditMenu();
    CreateProbabilityMenu();
    CreateConfidenceIntervalMenu();
    CreateTableMenu();
    CreateHelpMenu();
    CreateDocument();
    SetUpFileDialogs();
    PlaceOnScreen();
    FormCreate();
}

void TVardeloForm::CreateFileMenu()
{
    File2 = AddMenu("File2", QStringLiteral("&File"));
    New1 = AddItem(File2, "New1", QStringLiteral("&New"), {}, &TVardeloForm::New1Click);
    Open1 = AddItem(File2, "Open1", QStringLiteral("&Open..."), Qt::CTRL | Qt::Key_O,
                    &TVardeloForm::Open1Click);
    Save1 = AddItem(File2, "Save1", QStringLiteral("&Save"), Qt::CTRL | Qt::Key_S,
                    &TVardeloForm::Save1Click);
    Saveas1 = AddItem(File2, "Saveas1", QStringLiteral("Save &as..."), {},
                      &TVardeloForm::Saveas1Click);
    N1 = File2->addSeparator();
    Print1 = AddItem(File2, "Print1", QStringLiteral("&Print..."), Qt::CTRL | Qt::Key_P,
                     &TVardeloForm::Print1Click);
    Printersetup1 = AddItem(File2, "Printersetup1", QStringLiteral("Printer &Setup..."), {},
                            &TVardeloForm::Printersetup1Click);
    N2 = File2->addSeparator();
    File1 = AddItem(File2, "File1", QStringLiteral("&Quit"), Qt::CTRL | Qt::Key_Q,
                    &TVardeloForm::File1Click);
}

void TVardeloForm::CreateEditMenu()
{
    Edit1 = AddMenu("Edit1", QStringLiteral("&Edit"));
    Cut1 = AddItem(Edit1, "Cut1", QStringLiteral("Cu&t"), Qt::CTRL | Qt::Key_X,
                   &TVardeloForm::Cut1Click);
    Copy1 = AddItem(Edit1, "Copy1", QStringLiteral("&Copy"), Qt::CTRL | Qt::Key_C,
                    &TVardeloForm::Copy1Click);
    Paste1 = AddItem(Edit1, "Paste1", QStringLiteral("&Paste"), Qt::CTRL | Qt::Key_V,
                     &TVardeloForm::Paste1Click);
    Erase1 = AddItem(Edit1, "Erase1", QStringLiteral("&Erase"), Qt::CTRL | Qt::Key_Delete,
                     &TVardeloForm::Delete1Click);
    N3 = Edit1->addSeparator();
    Selectall1 = AddItem(Edit1, "Selectall1", QStringLiteral("Select &All..."),
                         Qt::CTRL | Qt::Key_A, &TVardeloForm::Selectall1Click);
}

// The commands of the calculator: each opens its dialog.
void TVardeloForm::CreateProbabilityMenu()
{
    Probability1 = AddMenu("Probability1", QStringLiteral("&Probability"));
    QMenu *menu = Probability1;
    Binomial1 = AddCommand(menu, "Binomial1", "&Binomial...", &TVardeloForm::Binomial1Click);
    Poisson1 = AddCommand(menu, "Poisson1", "&Poisson...", &TVardeloForm::Poisson1Click);
    Normal1 = AddCommand(menu, "Normal1", "&Normal...", &TVardeloForm::Normal1Click);
    Chisquare1 = AddCommand(menu, "Chisquare1", "&Chi-square...", &TVardeloForm::Chisquare1Click);
    ttest1 = AddCommand(menu, "ttest1", "&T Value...", &TVardeloForm::ttest1Click);
    Ftest1 = AddCommand(menu, "Ftest1", "&F Value...", &TVardeloForm::Ftest1Click);
    rvalue1 = AddCommand(menu, "rvalue1", "&R Value...", &TVardeloForm::rvalue1Click);
    Comparisonofmeans1sample1 =
        AddCommand(menu, "Comparisonofmeans1sample1", "Comparison of Means - &1 sample...",
                   &TVardeloForm::Comparisonofmeans1sample1Click);
    Comparisonbetweenmeans1 =
        AddCommand(menu, "Comparisonbetweenmeans1", "Comparison of Means - &2 samples...",
                   &TVardeloForm::Comparisonbetweenmeans1Click);
    Comparisonbetweencorrelations1 =
        AddCommand(menu, "Comparisonbetweencorrelations1", "C&omparison of Correlations...",
                   &TVardeloForm::Comparisonbetweencorrelations1Click);
}

void TVardeloForm::CreateConfidenceIntervalMenu()
{
    Confidenceinterval1 = AddMenu("Confidenceinterval1", QStringLiteral("&Confidence interval"));
    QMenu *menu = Confidenceinterval1;
    Proportion1 =
        AddCommand(menu, "Proportion1", "&Proportion...", &TVardeloForm::Proportion1Click);
    Man1 = AddCommand(menu, "Man1", "&Mean...", &TVardeloForm::Man1Click);
    Pearsonsr1 = AddCommand(menu, "Pearsonsr1", "Pearson's &r...", &TVardeloForm::Pearsonsr1Click);
}

void TVardeloForm::CreateTableMenu()
{
    Table1 = AddMenu("Table1", QStringLiteral("&Table"));
    QMenu *menu = Table1;
    Contingency1 =
        AddCommand(menu, "Contingency1", "&Contingency...", &TVardeloForm::Contingency1Click);
    Contingencytable1 = AddCommand(menu, "Contingencytable1", "&Inter-raters...",
                                   &TVardeloForm::Contingencytable1Click);
}

void TVardeloForm::CreateHelpMenu()
{
    Help1 = AddMenu("Help1", QStringLiteral("&Help"));
    About1 = AddCommand(Help1, "About1", "&About", &TVardeloForm::About1Click);
}

// The results document: black fixed-width text without line wrapping.  A
// line wider than the view shows the horizontal scroll bar, whole, at the
// bottom of the document; the view also follows the caret sideways.
void TVardeloForm::CreateDocument()
{
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    Memo1->setFont(font);
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Text, Qt::black);
    Memo1->setPalette(palette);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->installEventFilter(this);
    setCentralWidget(Memo1);
}

void TVardeloForm::SetUpFileDialogs()
{
    OpenDialog1.Filter = QStringLiteral("Text Files (*.txt);;All Files (*.*)");
    SaveDialog1.Filter = OpenDialog1.Filter;
    SaveDialog1.DefaultExt = QStringLiteral("TXT");
}

// The document area is 656 x 381 pixels at the start; the window opens
// centred on the screen.
void TVardeloForm::PlaceOnScreen()
{
    resize(656, 381 + MainMenu1->sizeHint().height());
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
}

TVardeloForm::~TVardeloForm()
{
    if (VardeloForm == this)
        VardeloForm = nullptr;
}

QMenu *TVardeloForm::AddMenu(const char *name, const QString &title)
{
    QMenu *menu = MainMenu1->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    menu->installEventFilter(this);
    return menu;
}

QAction *TVardeloForm::AddItem(QMenu *menu, const char *name, const QString &caption,
                               const QKeySequence &shortcut, void (TVardeloForm::*handler)())
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    ConnectGuarded(item, &QAction::triggered, this, handler);
    return item;
}

QAction *TVardeloForm::AddCommand(QMenu *menu, const char *name, const char *caption,
                                  void (TVardeloForm::*handler)())
{
    return AddItem(menu, name, QString::fromLatin1(caption), {}, handler);
}

void TVardeloForm::closeEvent(QCloseEvent *event)
{
    bool canClose = false;
    Guarded([&] {
        bool answer = true;
        FormCloseQuery(answer);
        canClose = answer;
    });
    if (canClose)
        event->accept();
    else
        event->ignore();
}

// The menu's shortcuts act also inside the text area, which would
// otherwise keep the keys it edits with (Ctrl+C, Ctrl+Del, ...) for itself.
//
// Esc closes an open menu and leaves the keyboard where it was, in the
// document.  Qt would hand it to the menu bar instead, which the style
// draws as if idle: the next letters would open menus unseen.
bool TVardeloForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *menu = qobject_cast<QMenu *>(watched);
    if (menu && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->keyCombination() == QKeyCombination(Qt::Key_Escape)) {
        menu->hide();
        Memo1->setFocus(Qt::MenuBarFocusReason);
        return true;
    }
    if (watched == Memo1 && event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
        const auto items = findChildren<QAction *>();
        for (const QAction *item : items)
            if (!item->shortcut().isEmpty() && item->shortcut() == pressed) {
                event->ignore();
                return true;
            }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TVardeloForm::FormCreate() {}

void TVardeloForm::FormCloseQuery(bool &CanClose)
{
    CanClose = AskToSave();
}

QString TVardeloForm::DocumentText() const
{
    // The blocks' own text: QTextDocument::toPlainText() would turn
    // non-breaking spaces into blanks.
    QString text;
    for (QTextBlock block = Memo1->document()->begin(); block.isValid(); block = block.next()) {
        if (block != Memo1->document()->begin())
            text += QLatin1Char('\n');
        text += block.text();
    }
    return text;
}

bool TVardeloForm::AskToSave()
{
    if (!Memo1->document()->isModified())
        return true;
    QMessageBox prompt(QMessageBox::Warning, QStringLiteral("Warning"),
                       QStringLiteral("File %1 has been modified. Save file?")
                           .arg(OpenDialog1.FileName),
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    prompt.setDefaultButton(QMessageBox::Yes);
    prompt.setEscapeButton(QMessageBox::Cancel);
    switch (prompt.exec()) {
    case QMessageBox::Yes:
        return SaveDocument();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

bool TVardeloForm::SaveDocument()
{
    if (OpenDialog1.FileName.isEmpty())
        return SaveDocumentAs();
    WriteDocumentFile(OpenDialog1.FileName, DocumentText());
    return true;
}

bool TVardeloForm::SaveDocumentAs()
{
    if (!SaveDialog1.Execute(this))
        return false;
    WriteDocumentFile(SaveDialog1.FileName, DocumentText());
    ShowFileNameInCaption(SaveDialog1.FileName);
    OpenDialog1.FileName = SaveDialog1.FileName;
    return true;
}

void TVardeloForm::ShowFileNameInCaption(const QString &FileName)
{
    setWindowTitle(QStringLiteral("Text Demo - ") + QFileInfo(FileName).fileName());
}

void ResetFileHistory(TOpenDialog &Dialog)
{
    Dialog.History.clear();
}

void TVardeloForm::New1Click()
{
    if (!AskToSave())
        return;
    Memo1->clear();
    Memo1->document()->setModified(false);
    OpenDialog1.FileName.clear();
    setWindowTitle(QStringLiteral("Text Demo - [Untitled]"));
}

void TVardeloForm::Open1Click()
{
    if (!AskToSave())
        return;
    ResetFileHistory(OpenDialog1);
    const QString previous = OpenDialog1.FileName;
    if (!OpenDialog1.Execute(this))
        return;
    QString text;
    try {
        text = ReadDocumentFile(OpenDialog1.FileName);
    } catch (...) {
        // The file that could not be read does not become the document's.
        OpenDialog1.FileName = previous;
        throw;
    }
    Memo1->setPlainText(text);
    Memo1->document()->setModified(false);
    ShowFileNameInCaption(OpenDialog1.FileName);
}

void TVardeloForm::Save1Click()
{
    SaveDocument();
}

void TVardeloForm::Saveas1Click()
{
    SaveDocumentAs();
}

void TVardeloForm::Print1Click()
{
    QPrintDialog PrintDialog1(&Printer(), this);
    if (PrintDialog1.exec() != QDialog::Accepted)
        return;
    QStringList lines = DocumentText().split(QLatin1Char('\n'));
    // A final line break ends the last line; it starts no further one.
    if (lines.constLast().isEmpty())
        lines.removeLast();
    TPrinterText device(Printer(), Memo1->font());
    for (const QString &line : lines)
        device.WriteLine(line);
    device.Close();
}

void TVardeloForm::Printersetup1Click()
{
    ExecutePageSetup(Printer(), this);
}

void TVardeloForm::File1Click()
{
    close();
}

void TVardeloForm::Cut1Click()
{
    Memo1->cut();
}

void TVardeloForm::Copy1Click()
{
    Memo1->copy();
}

void TVardeloForm::Paste1Click()
{
    if (!QGuiApplication::clipboard()->text().isEmpty())
        Memo1->paste();
}

void TVardeloForm::Delete1Click()
{
    QTextCursor cursor = Memo1->textCursor();
    cursor.removeSelectedText();
    Memo1->setTextCursor(cursor);
}

void TVardeloForm::Selectall1Click()
{
    Memo1->selectAll();
}

void TVardeloForm::Binomial1Click() { LaunchDialog(ScBinomial); }

void TVardeloForm::Poisson1Click() { LaunchDialog(ScPoisson); }

void TVardeloForm::Normal1Click() { LaunchDialog(ScNormal); }

void TVardeloForm::Chisquare1Click() { LaunchDialog(ScChiSquare); }

void TVardeloForm::ttest1Click() { LaunchDialog(ScStudentT); }

void TVardeloForm::Ftest1Click() { LaunchDialog(ScStudentF); }

void TVardeloForm::rvalue1Click() { LaunchDialog(ScPearsonR); }

void TVardeloForm::Comparisonofmeans1sample1Click() { LaunchDialog(ScMean1); }

void TVardeloForm::Comparisonbetweenmeans1Click() { LaunchDialog(ScMean); }

void TVardeloForm::Comparisonbetweencorrelations1Click() { LaunchDialog(ScCorrelation); }

void TVardeloForm::Proportion1Click() { LaunchDialog(ScCIProportion); }

void TVardeloForm::Man1Click() { LaunchDialog(ScCIMean); }

void TVardeloForm::Pearsonsr1Click() { LaunchDialog(ScCiCorrelation); }

void TVardeloForm::Contingency1Click() { LaunchDialog(ContingencyTable); }

void TVardeloForm::Contingencytable1Click() { LaunchDialog(KappaTable); }

void TVardeloForm::About1Click()
{
    LaunchDialog(AboutBox);
}

void StartVardelo()
{
    // A write beyond a file-size limit fails like any other write and is
    // reported (a save keeps the document); by default the signal would
    // end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    InstallDecimalSeparator();
    InstallFontSubstitutes();
    SetApplicationTitle(QStringLiteral("Vardelo for Windows"));
    SetApplicationTitle(QStringLiteral("Vardelo 32 bit"));
    VardeloForm = new TVardeloForm;
    VardeloForm->show();
}

void ShowDialogCentered(QDialog &Dialog)
{
    // The dialog's frame is known only once it is shown; it is taken to be
    // that of the main window.
    const QRect main = VardeloForm->frameGeometry();
    const QRect client = VardeloForm->geometry();
    if (!Dialog.testAttribute(Qt::WA_Resized))
        Dialog.adjustSize();
    const int width = Dialog.width() + main.width() - client.width();
    const int height = Dialog.height() + main.height() - client.height();
    Dialog.move(main.left() + (main.width() - width) / 2, main.top() + (main.height() - height) / 2);
    Dialog.exec();
}
