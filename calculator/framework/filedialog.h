// The open and save dialogs of a form.
//
// A form keeps one TOpenDialog and one TSaveDialog for its whole life;
// what they hold carries from one showing to the next:
//   - FileName: the file the dialog starts on (folder and name) and, after
//     Execute() returned true, the file that the user chose;
//   - History: the folders the dialog offers as visited ones; empty means
//     none (Qt's own remembered folders are never offered).
//
//     SaveDialog1.Filter = "Text Files (*.txt);;All Files (*.*)";
//     SaveDialog1.DefaultExt = "TXT";
//     if (SaveDialog1.Execute(this))
//         Write(SaveDialog1.FileName);   // "results" typed: ".../results.TXT"
//
// Execute() shows a real QFileDialog (Qt's own, never the desktop's),
// modal over the parent.  Cancelling leaves FileName as it was.  The
// dialog tells files apart by their names only (icons and the type
// column): it never reads from a file, so no file can hold it.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

class TFileDialog {
public:
    QString FileName;
    // Qt name filters separated by ";;"; the first one is selected.
    QString Filter;
    QStringList History;

protected:
    enum class Mode { Open, Save };
    bool Run(QWidget *parent, Mode mode, const QString &defaultSuffix);
};

// Chooses an existing file.
class TOpenDialog : public TFileDialog {
public:
    bool Execute(QWidget *parent);
};

// Chooses a file to write; asks before an existing file is replaced.
class TSaveDialog : public TFileDialog {
public:
    // Added, after a ".", to a name typed without an extension.
    QString DefaultExt;

    bool Execute(QWidget *parent);
};
