// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recent_file_list.h"

#include <QSettings>
#include <memory>

#include "platform/command_ids.h"

namespace qzm {
namespace {

constexpr const char* kGroup = "Recent File List";
constexpr const char* kLastFolderKey = "Settings/LastFolder";

QString keyOf(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

}  // namespace

std::unique_ptr<QSettings> openUserStore(const QString& storeFile) {
    if (storeFile.isEmpty()) {
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           RecentFileList::kOrganisation,
                                           RecentFileList::kApplication);
    }
    return std::make_unique<QSettings>(storeFile, QSettings::IniFormat);
}

RecentFileList::RecentFileList(QString storeFile) : storeFile_(std::move(storeFile)) {
    load();
}

void RecentFileList::add(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    entries_.removeAll(path);
    entries_.prepend(path);
    while (entries_.size() > kRecentFileCount) {
        entries_.removeLast();
    }
    save();
}

void RecentFileList::remove(const QString& path) {
    if (entries_.removeAll(path) > 0) {
        save();
    }
}

QString RecentFileList::lastFolder() const {
    return openUserStore(storeFile_)->value(kLastFolderKey).toString();
}

void RecentFileList::setLastFolder(const QString& folder) {
    if (!folder.isEmpty()) {
        openUserStore(storeFile_)->setValue(kLastFolderKey, folder);
    }
}

void RecentFileList::load() {
    const auto store = openUserStore(storeFile_);
    store->beginGroup(kGroup);
    entries_.clear();
    for (int i = 0; i < kRecentFileCount; ++i) {
        const QString path = store->value(keyOf(i)).toString();
        if (!path.isEmpty() && !entries_.contains(path)) {
            entries_.append(path);
        }
    }
}

void RecentFileList::save() const {
    const auto store = openUserStore(storeFile_);
    store->beginGroup(kGroup);
    for (int i = 0; i < kRecentFileCount; ++i) {
        if (i < entries_.size()) {
            store->setValue(keyOf(i), entries_[i]);
        } else {
            store->remove(keyOf(i));
        }
    }
}

}  // namespace qzm
