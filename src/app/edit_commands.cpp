// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu: undo and redo, whole channels on the clipboard and the channel
// operations, from the menu, the keys and the grid's context menu.
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "app/main_frame.h"
#include "app/zavo_app.h"
#include "editor/qt/channel_commands.h"
#include "editor/qt/zavo_view.h"
#include "grid/grid_ctrl.h"
#include "platform/command_ids.h"

namespace qzm {
namespace {

bool isTextField(const QWidget* widget) {
    if (widget == nullptr) {
        return false;
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        return combo->isEditable();
    }
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
}

bool isTextCommand(int id) {
    return id == ID_EDIT_UNDO || id == ID_EDIT_REDO || id == ID_EDIT_CUT || id == ID_EDIT_COPY ||
           id == ID_EDIT_PASTE || id == ID_EDIT_CLEAR;
}

}  // namespace

void CZavoApp::registerEditCommands() {
    ChannelCommands* edit = view_ != nullptr ? view_->channelCommands() : nullptr;
    if (edit == nullptr) {
        return;
    }
    CommandTable& commands = mainFrame_->commands();
    commands.set(ID_EDIT_UNDO, [edit] { edit->undo(); });
    commands.set(ID_EDIT_REDO, [edit] { edit->redo(); });
    commands.set(ID_EDIT_CUT, [edit] { edit->cut(); });
    commands.set(ID_EDIT_COPY, [edit] { edit->copy(); });
    commands.set(ID_EDIT_PASTE, [edit] { edit->paste(); });
    commands.set(ID_EDIT_CLEAR, [edit] { edit->clear(); });
    commands.set(ID_EDIT_INSERT_CHANNEL, [edit] { edit->insertEmpty(); });
    commands.set(ID_EDIT_DELETE_CHANNEL, [edit] { edit->remove(); });
    commands.set(ID_EDIT_MOVE_UP, [edit] { edit->moveUp(); });
    commands.set(ID_EDIT_MOVE_DOWN, [edit] { edit->moveDown(); });
    commands.set(ID_EDIT_SELECT_ALL, [edit] { edit->selectAll(); });

    CGridCtrl* grid = view_->grid();
    mainFrame_->setKeyKeeper([grid](QWidget* focus, int id) {
        // A text field keeps its own undo, cut, copy, paste and Delete.
        if (isTextCommand(id) && isTextField(focus)) {
            return true;
        }
        // Delete clears channels only where the channels are: in the grid.
        return id == ID_EDIT_CLEAR && focus != grid &&
               (grid == nullptr || focus == nullptr || !grid->isAncestorOf(focus));
    });

    QAction* undoItem = mainFrame_->menuAction(ID_EDIT_UNDO);
    auto* menu = undoItem != nullptr ? qobject_cast<QMenu*>(undoItem->parent()) : nullptr;
    if (menu == nullptr) {
        return;
    }
    // Named and greyed as the document stands when the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this] { updateEditMenu(); });
    if (grid != nullptr) {
        // The grid's right click offers the same menu.
        grid->setContextMenu(menu);
    }
}

void CZavoApp::updateEditMenu() {
    ChannelCommands* edit = view_ != nullptr ? view_->channelCommands() : nullptr;
    if (edit == nullptr) {
        return;
    }
    const bool channels = !edit->selectedChannels().empty();
    const struct {
        int id;
        bool enabled;
    } states[] = {
        {ID_EDIT_UNDO, edit->canUndo()},
        {ID_EDIT_REDO, edit->canRedo()},
        {ID_EDIT_CUT, channels},
        {ID_EDIT_COPY, channels},
        {ID_EDIT_PASTE, ChannelCommands::canPaste()},
        {ID_EDIT_CLEAR, channels},
        {ID_EDIT_INSERT_CHANNEL, channels},
        {ID_EDIT_DELETE_CHANNEL, channels},
        {ID_EDIT_MOVE_UP, edit->canMoveUp()},
        {ID_EDIT_MOVE_DOWN, edit->canMoveDown()},
        {ID_EDIT_SELECT_ALL, true},
    };
    for (const auto& state : states) {
        if (QAction* item = mainFrame_->menuAction(state.id)) {
            item->setEnabled(state.enabled);
        }
    }
    if (QAction* undo = mainFrame_->menuAction(ID_EDIT_UNDO)) {
        undo->setText(edit->undoItemText());
    }
    if (QAction* redo = mainFrame_->menuAction(ID_EDIT_REDO)) {
        redo->setText(edit->redoItemText());
    }
}

}  // namespace qzm
