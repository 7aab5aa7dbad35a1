#include "calculator/framework/filedialog.h"

#include <QFileDialog>

bool TFileDialog::Run(QWidget *parent, Mode mode, const QString &defaultSuffix)
{
    QFileDialog dialog(parent);
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
