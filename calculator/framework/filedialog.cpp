#include "calculator/framework/filedialog.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>

namespace {

// Icons and type names from a file's name and kind alone.  Qt's own
// provider guesses a file's type from its first bytes, and a read can
// block for good (a kernel message file, a named pipe, a stalled network
// share), with the dialog's listing waiting on it.
class TNameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;

    QIcon icon(const QFileInfo &info) const override
    {
        return icon(info.isDir() ? Folder : File);
    }

    QString type(const QFileInfo &info) const override
    {
        if (!info.isFile())
            return QFileIconProvider::type(info);
        const QMimeType mime =
            QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }
};

}  // namespace

bool TFileDialog::Run(QWidget *parent, Mode mode, const QString &defaultSuffix)
{
    // Qt's own dialog, whatever the desktop: a native one would look at
    // the files in its own way and offer folders of its own.  The icon
    // provider is in place before the dialog shows any folder.
    TNameOnlyIconProvider icons;
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&icons);
    if (mode == Mode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(defaultSuffix);
    }
    dialog.setNameFilters(Filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    dialog.setHistory(History);
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);

    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    History = dialog.history();
    if (chosen)
        FileName = dialog.selectedFiles().constFirst();
    return chosen;
}

bool TOpenDialog::Execute(QWidget *parent)
{
    return Run(parent, Mode::Open, {});
}

bool TSaveDialog::Execute(QWidget *parent)
{
    return Run(parent, Mode::Save, DefaultExt);
}
