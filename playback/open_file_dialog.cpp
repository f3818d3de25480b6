#include "playback/open_file_dialog.h"

#include "playback/modal_run.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace vf {

QStringList nameFiltersFromPairs(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList nameFilters;
    // A name without a pattern after it (the trailing separator) ends the list.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty())
            break;
        nameFilters.append(QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]));
    }
    return nameFilters;
}

void OpenFileDialog::prepare(QFileDialog& dialog) const
{
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Long names, and no demand that the typed file or its folder exists.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFiltersFromPairs(filter_));

    QString folder = initDir_;
    if (folder.isEmpty())
        folder = lastFolder_.isEmpty() ? QDir::currentPath() : lastFolder_;
    dialog.setDirectory(folder);
    if (!fileName_.isEmpty())
        dialog.selectFile(QFileInfo(fileName_).fileName());
}

bool OpenFileDialog::ShowOpen(QWidget* parent)
{
    QFileDialog dialog(parent);
    // Blocks the panel only: the playlist and the player window stay usable.
    dialog.setWindowModality(Qt::WindowModal);
    prepare(dialog);
    if (runModal(dialog) != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    fileName_ = chosen.first();
    lastFolder_ = QFileInfo(fileName_).absolutePath();
    return true;
}

} // namespace vf
