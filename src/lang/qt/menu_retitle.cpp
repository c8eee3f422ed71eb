// SPDX-License-Identifier: GPL-3.0-or-later
#include "lang/qt/menu_retitle.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <array>

#include "lang/text_lookup.h"
#include "platform/command_ids.h"
#include "platform/qt/command_action.h"

namespace qzm {
namespace {

constexpr std::array kMenuTitleKeys{
    MenuTitleKey{"Menu_File", 0, 0},
    MenuTitleKey{"Menu_Edit", 1, 0},
    MenuTitleKey{"Menu_Program", 2, 0},
    MenuTitleKey{"Menu_Setting", 3, 0},
    MenuTitleKey{"Menu_Help", 4, 0},
    MenuTitleKey{"Menu_File_New", -1, ID_FILE_NEW},
    MenuTitleKey{"Menu_File_Open", -1, ID_FILE_OPEN},
    MenuTitleKey{"Menu_File_Open_Backup", -1, ID_FILE_OPEN_BACKUP},
    MenuTitleKey{"Menu_File_Save", -1, ID_FILE_SAVE},
    MenuTitleKey{"Menu_File_Save_As", -1, ID_FILE_SAVE_AS},
    MenuTitleKey{"Menu_File_Import_Channels", -1, ID_FILE_IMPORT_CHANNELS},
    MenuTitleKey{"Menu_File_Export_Channels", -1, ID_FILE_EXPORT_CHANNELS},
    MenuTitleKey{"Menu_File_Print", -1, ID_FILE_PRINT},
    MenuTitleKey{"Menu_File_Print_Preview", -1, ID_FILE_PRINT_PREVIEW},
    MenuTitleKey{"Menu_File_Print_Setup", -1, ID_FILE_PRINT_SETUP},
    MenuTitleKey{"Menu_App_Exit", -1, ID_APP_EXIT},
    MenuTitleKey{"Menu_Edit_Undo", -1, ID_EDIT_UNDO},
    MenuTitleKey{"Menu_Edit_Redo", -1, ID_EDIT_REDO},
    MenuTitleKey{"Menu_Edit_Cut", -1, ID_EDIT_CUT},
    MenuTitleKey{"Menu_Edit_Copy", -1, ID_EDIT_COPY},
    MenuTitleKey{"Menu_Edit_Paste", -1, ID_EDIT_PASTE},
    MenuTitleKey{"Menu_Edit_Clear", -1, ID_EDIT_CLEAR},
    MenuTitleKey{"Menu_Edit_Insert", -1, ID_EDIT_INSERT_CHANNEL},
    MenuTitleKey{"Menu_Edit_Delete", -1, ID_EDIT_DELETE_CHANNEL},
    MenuTitleKey{"Menu_Edit_Move_Up", -1, ID_EDIT_MOVE_UP},
    MenuTitleKey{"Menu_Edit_Move_Down", -1, ID_EDIT_MOVE_DOWN},
    MenuTitleKey{"Menu_Edit_Select_All", -1, ID_EDIT_SELECT_ALL},
    MenuTitleKey{"Menu_Program_ReadData", -1, ID_PROGRAM_READ},
    MenuTitleKey{"Menu_Program_WriteData", -1, ID_PROGRAM_WRITE},
    MenuTitleKey{"Menu_Setting_Port", -1, ID_SETTING_PORT},
    MenuTitleKey{"Menu_Setting_Language", -1, ID_SETTING_LANGUAGE},
    MenuTitleKey{"Menu_Help_Help", -1, ID_HELP_HELP},
    MenuTitleKey{"Menu_App_About", -1, ID_APP_ABOUT},
};

QAction* findItem(const QMenu& menu, int commandId) {
    for (QAction* action : menu.actions()) {
        if (commandIdOf(action) == commandId) {
            return action;
        }
        if (action->menu() != nullptr) {
            if (QAction* inner = findItem(*action->menu(), commandId)) {
                return inner;
            }
        }
    }
    return nullptr;
}

}  // namespace

std::span<const MenuTitleKey> menuTitleKeys() {
    return kMenuTitleKeys;
}

void retitleMenu(QMenuBar& menuBar) {
    const QList<QAction*> topLevel = menuBar.actions();
    for (const MenuTitleKey& entry : kMenuTitleKeys) {
        const QString text = QString::fromStdString(lookupText(entry.key));
        if (entry.topLevelPosition >= 0) {
            if (entry.topLevelPosition < topLevel.size()) {
                topLevel[entry.topLevelPosition]->setText(text);
            }
            continue;
        }
        for (QAction* menuAction : topLevel) {
            if (menuAction->menu() == nullptr) {
                continue;
            }
            if (QAction* item = findItem(*menuAction->menu(), entry.commandId)) {
                item->setText(text);
                break;
            }
        }
    }
    menuBar.update();
}

}  // namespace qzm
