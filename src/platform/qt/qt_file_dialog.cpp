// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_file_dialog.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QStringList>
#include <QTreeView>

namespace qzm {
namespace {

// The detail view sorted by name from the end: names that begin with a date
// and time put the newest on top.  The name column is as wide as its names.
void showNewestFirst(QFileDialog& dialog) {
    dialog.setViewMode(QFileDialog::Detail);
    if (auto* view = dialog.findChild<QTreeView*>()) {
        view->setSortingEnabled(true);
        view->sortByColumn(0, Qt::DescendingOrder);
        view->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    }
}

}  // namespace

std::optional<std::filesystem::path> QtFileDialog::choose(const FileDialogRequest& request) {
    auto chosen = chooseTyped(request);
    if (!chosen) {
        return std::nullopt;
    }
    return std::move(chosen->path);
}

std::optional<FileChoice> QtFileDialog::chooseTyped(const FileDialogRequest& request) {
    QFileDialog dialog(owner_.data(), QString::fromStdString(request.title));
    const bool saving = request.mode == FileDialogMode::Save;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Qt's own dialog speaks the program's language (its translations follow
    // the language file); the desktop's would follow the system's instead.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const FileType& type : request.fileTypes) {
        const QString name = QString::fromStdString(type.name);
        filters << (name.contains(u'(') ? name
                                        : name + " (" + QString::fromStdString(type.pattern) + ")");
    }
    if (request.fileTypes.empty() && !request.filterName.empty()) {
        // Qt reads the pattern from the parentheses of a filter; the name may
        // already carry them, as "Radio Program Data Files(*.836)" does.
        const QString name = QString::fromStdString(request.filterName);
        const QString pattern = QString::fromStdString(request.filterPattern);
        filters << (name.contains(u'(') || pattern.isEmpty() ? name : name + " (" + pattern + ")");
    }
    filters << QFileDialog::tr("All Files (*)");
    dialog.setNameFilters(filters);
    if (!request.defaultExtension.empty()) {
        QString suffix = QString::fromStdString(request.defaultExtension);
        if (suffix.startsWith(u'.')) {
            suffix.remove(0, 1);
        }
        dialog.setDefaultSuffix(suffix);
    }
    if (!request.initialPath.empty()) {
        const QString initial = QString::fromStdString(request.initialPath.string());
        std::error_code error;
        if (std::filesystem::is_directory(request.initialPath, error)) {
            dialog.setDirectory(initial);
        } else {
            dialog.selectFile(initial);
        }
    }
    if (request.newestFirst) {
        showNewestFirst(dialog);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    // "All Files" and anything unknown count as the first type.
    const auto selected = filters.indexOf(dialog.selectedNameFilter());
    const std::size_t type =
        selected > 0 && static_cast<std::size_t>(selected) < request.fileTypes.size()
            ? static_cast<std::size_t>(selected)
            : 0;
    return FileChoice{dialog.selectedFiles().constFirst().toStdString(), type};
}

}  // namespace qzm
