// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A real editor form on a real document, with the application around it
// reduced to what the form asks of it.  Settings and language files are
// copies of the shipped ones in a folder of the test's own.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/form_ids.h"
#include "editor/qt/zavo_view.h"
#include "lang/text_lookup.h"
#include "platform/program_paths.h"
#include "platform/qt/app_shell.h"
#include "platform/qt/dialog_builder.h"
#include "radio/zavo_doc.h"
#include "scripted_file_dialog.h"
#include "scripted_message_box.h"
#include "test_files.h"

namespace qzm::test {

// How a test closes a floating editor.
enum class CloseBy { Escape, Enter, ClickElsewhere };

class FakeShell final : public AppShell {
  public:
    QWidget window;
    ScriptedMessageBox messages;
    ScriptedFileDialog files;
    CZavoDoc* document = nullptr;
    int retitles = 0;
    int fits = 0;

    QWidget* mainWindow() override { return &window; }
    MessageBoxSeam& messageBox() override { return messages; }
    FileDialogSeam& fileDialog() override { return files; }
    void retitleMenu() override { ++retitles; }
    void refreshTextsAndViews() override {
        retitleMenu();
        document->onImageReplaced();
    }
    void showPortInStatusBar(int) override {}
    void fitMainWindowToView() override { ++fits; }
    std::string status;  // the latest status-bar note
    std::vector<std::string> statusMessages;
    void showStatusMessage(const std::string& text) override {
        status = text;
        statusMessages.push_back(text);
    }
};

class FakeHost final : public DocumentHost {
  public:
    bool skip = false;
    bool skipClearPrompt() const override { return skip; }
    void setSkipClearPrompt(bool value) override { skip = value; }
    bool saveModified(CZavoDoc&) override { return true; }
    std::string applicationName() const override { return "qzm836"; }
};

class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::filesystem::path shipped = std::filesystem::path(QZM_TEST_SOURCE_DIR) / "res";
        for (const char* name : {"setting.ini", "english.lang", "chinese.lang"}) {
            std::filesystem::copy_file(shipped / name, dir / name);
        }
        setProgramDir(dir.path());
        setLanguagePath(dir / "english.lang");
        document = std::make_unique<CZavoDoc>(documentMessages, currentLanguageTexts(), host);
        shell.document = document.get();
        view = std::make_unique<CZavoView>(shell, *document);
    }

    // What New and Open end in.
    void initialUpdate() { view->OnInitialUpdate(); }

    QComboBox* list(int id) const { return findControl<QComboBox>(view.get(), id); }
    QCheckBox* checkBox(int id) const { return findControl<QCheckBox>(view.get(), id); }
    QString shown(int id) const { return controlText(findControl(view.get(), id)); }
    RadioImage& image() { return document->image(); }

    // Picks an entry the way the user does: open the list, choose, Enter.
    // Lists the user cannot reach (hidden ones) report the choice directly.
    void pick(int id, int position) {
        QComboBox* combo = list(id);
        ASSERT_NE(combo, nullptr);
        ASSERT_LT(position, combo->count());
        if (!combo->isEnabled() || !combo->isVisibleTo(view.get())) {
            combo->setCurrentIndex(position);
            emit combo->activated(position);
            return;
        }
        showView();
        combo->showPopup();
        QAbstractItemView* popup = combo->view();
        popup->setCurrentIndex(combo->model()->index(position, 0));
        QTest::keyClick(popup, Qt::Key_Return);
    }

    void showView() {
        if (!view->isVisible()) {
            view->show();
            QApplication::setActiveWindow(view.get());
            ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        }
    }

    void click(int id) {
        showView();
        QCheckBox* box = checkBox(id);
        ASSERT_NE(box, nullptr);
        // On the indicator: a wide box with a short caption is not clickable
        // at its centre.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    TempDir dir;
    FakeHost host;
    ScriptedMessageBox documentMessages;
    FakeShell shell;
    std::unique_ptr<CZavoDoc> document;
    std::unique_ptr<CZavoView> view;
};

}  // namespace qzm::test
