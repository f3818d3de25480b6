#pragma once
// The panel's open-file dialog `cd`: one object for the whole run that keeps
// its settings, its folder and its last chosen file between uses. Each use
// builds Qt's own (non-native) file dialog, so it looks and behaves the same
// on every desktop and headless; it runs through runModal.

#include <QString>

class QFileDialog;
class QWidget;

namespace vf {

class OpenFileDialog {
public:
    // Filter pairs in the form "name|pattern|name|pattern|"; a trailing
    // separator is allowed. Each name is shown without its pattern.
    void setFilter(const QString& filter) { filter_ = filter; }
    // The folder to start in; empty starts in the folder of the last use
    // (the working folder the first time).
    void setInitDir(const QString& folder) { initDir_ = folder; }

    // Shows the dialog modal to the parent window alone. False when the user cancelled:
    // the dialog's file name and folder are then as they were.
    bool ShowOpen(QWidget* parent);

    // Full path of the last chosen file; empty before the first choice.
    const QString& FileName() const { return fileName_; }
    // The folder the next use starts in when no start folder is set.
    const QString& lastFolder() const { return lastFolder_; }

private:
    void prepare(QFileDialog& dialog) const;

    QString filter_;
    QString initDir_;
    QString fileName_;
    QString lastFolder_;
};

// Qt name filters ("name (pattern)") from filter pairs "name|pattern|".
QStringList nameFiltersFromPairs(const QString& filter);

} // namespace vf
