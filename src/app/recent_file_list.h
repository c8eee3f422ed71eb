// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QSettings>
#include <QString>
#include <QStringList>

namespace qzm {

// The four most recently opened or saved files, newest first, kept in the
// per-user store under "WT-650 radio program software" and written at once.
class RecentFileList {
  public:
    static constexpr const char* kOrganisation = "WT-650 radio program software";
    static constexpr const char* kApplication = "qzm836";

    // `storeFile` names an INI file to keep the list in (tests); empty: the
    // per-user store.
    explicit RecentFileList(QString storeFile = {});

    const QStringList& entries() const { return entries_; }
    // Moves or adds `path` to the front; the oldest falls off after four.
    void add(const QString& path);
    void remove(const QString& path);

    // The folder of the file last opened or saved, for the file dialogs of a
    // document that has no folder of its own; empty when none was kept.
    QString lastFolder() const;
    void setLastFolder(const QString& folder);

  private:
    void load();
    void save() const;

    QString storeFile_;
    QStringList entries_;
};

// The per-user store (`storeFile` names an INI file instead, for tests).
std::unique_ptr<QSettings> openUserStore(const QString& storeFile);

}  // namespace qzm
