// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_menu.h"

#include <array>

#include "platform/command_ids.h"

namespace qzm {
namespace {

constexpr std::array kFileItems{
    MenuItemTemplate{ID_FILE_NEW, "新建(&N)\tCtrl+N"},
    MenuItemTemplate{ID_FILE_OPEN, "打开(&O)...\tCtrl+O"},
    MenuItemTemplate{ID_FILE_OPEN_BACKUP, "打开备份(&B)..."},
    MenuItemTemplate{ID_FILE_SAVE, "保存(&S)\tCtrl+S"},
    MenuItemTemplate{ID_FILE_SAVE_AS, "另存为(&A)..."},
    MenuItemTemplate{0, ""},
    MenuItemTemplate{ID_FILE_IMPORT_CHANNELS, "导入信道(&I)…"},
    MenuItemTemplate{ID_FILE_EXPORT_CHANNELS, "导出信道(&E)…"},
    MenuItemTemplate{0, ""},
    MenuItemTemplate{ID_FILE_PRINT, "打印(&P)...\tCtrl+P"},
    MenuItemTemplate{ID_FILE_PRINT_PREVIEW, "打印预览(&V)"},
    MenuItemTemplate{ID_FILE_PRINT_SETUP, "打印设置(&R)..."},
    MenuItemTemplate{0, ""},
    MenuItemTemplate{ID_FILE_MRU_FILE1, kRecentFilePlaceholder},
    MenuItemTemplate{0, ""},
    MenuItemTemplate{ID_APP_EXIT, "退出(&X)"},
};
constexpr std::array kEditItems{
    MenuItemTemplate{ID_EDIT_UNDO, "撤销(&U)\tCtrl+Z"},
    MenuItemTemplate{ID_EDIT_REDO, "重做(&R)\tCtrl+Y"},
    MenuItemTemplate{0, ""},
    MenuItemTemplate{ID_EDIT_CUT, "剪切(&T)\tCtrl+X"},
    MenuItemTemplate{ID_EDIT_COPY, "复制(&C)\tCtrl+Ins"},
    MenuItemTemplate{ID_EDIT_PASTE, "粘贴(&P)\tCtrl+V"},
    MenuItemTemplate{0, ""},
    MenuItemTemplate{ID_EDIT_CLEAR, "清除信道(&L)\tDel"},
    MenuItemTemplate{ID_EDIT_INSERT_CHANNEL, "插入空信道(&I)"},
    MenuItemTemplate{ID_EDIT_DELETE_CHANNEL, "删除信道(&D)"},
    MenuItemTemplate{ID_EDIT_MOVE_UP, "上移(&V)"},
    MenuItemTemplate{ID_EDIT_MOVE_DOWN, "下移(&W)"},
    MenuItemTemplate{0, ""},
    MenuItemTemplate{ID_EDIT_SELECT_ALL, "选择全部信道(&A)"},
};
constexpr std::array kProgramItems{
    MenuItemTemplate{ID_PROGRAM_READ, "从对讲机读取数据(&R)"},
    MenuItemTemplate{ID_PROGRAM_WRITE, "向对讲机写入数据(&W)"},
};
constexpr std::array kSettingItems{
    MenuItemTemplate{ID_SETTING_PORT, "通信端口(&C)"},
    MenuItemTemplate{ID_SETTING_LANGUAGE, "语言转换(&L)"},
};
constexpr std::array kHelpItems{
    MenuItemTemplate{ID_HELP_HELP, "帮助(&H)"},
    MenuItemTemplate{ID_APP_ABOUT, "关于(&A)..."},
};

constexpr std::array kMenus{
    MenuTemplate{"文件(&F)", kFileItems},    MenuTemplate{"编辑(&E)", kEditItems},
    MenuTemplate{"编程(&P)", kProgramItems}, MenuTemplate{"设置(&S)", kSettingItems},
    MenuTemplate{"帮助(&H)", kHelpItems},
};

constexpr std::array kToolbar{
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_PROGRAM_READ, ID_PROGRAM_WRITE, 0, ID_FILE_PRINT,
    0,           ID_HELP_HELP};

// Ctrl+C opens the port dialog, not Copy.  The edit keys act on whole
// channels; a text field with the focus keeps them for its own text.  The pane
// keys have no handler and do nothing.
constexpr std::array kAccelerators{
    AcceleratorTemplate{"Ctrl+N", ID_FILE_NEW},
    AcceleratorTemplate{"Ctrl+O", ID_FILE_OPEN},
    AcceleratorTemplate{"Ctrl+S", ID_FILE_SAVE},
    AcceleratorTemplate{"Ctrl+P", ID_FILE_PRINT},
    AcceleratorTemplate{"Ctrl+R", ID_PROGRAM_READ},
    AcceleratorTemplate{"Ctrl+W", ID_PROGRAM_WRITE},
    AcceleratorTemplate{"Ctrl+C", ID_SETTING_PORT},
    AcceleratorTemplate{"Ctrl+L", ID_SETTING_LANGUAGE},
    AcceleratorTemplate{"Ctrl+Z", ID_EDIT_UNDO},
    AcceleratorTemplate{"Alt+Backspace", ID_EDIT_UNDO},
    AcceleratorTemplate{"Ctrl+Y", ID_EDIT_REDO},
    AcceleratorTemplate{"Ctrl+Shift+Z", ID_EDIT_REDO},
    AcceleratorTemplate{"Ctrl+X", ID_EDIT_CUT},
    AcceleratorTemplate{"Shift+Del", ID_EDIT_CUT},
    AcceleratorTemplate{"Ctrl+Ins", ID_EDIT_COPY},
    AcceleratorTemplate{"Ctrl+V", ID_EDIT_PASTE},
    AcceleratorTemplate{"Shift+Ins", ID_EDIT_PASTE},
    AcceleratorTemplate{"Del", ID_EDIT_CLEAR},
    AcceleratorTemplate{"F6", ID_NEXT_PANE},
    AcceleratorTemplate{"Shift+F6", ID_PREV_PANE},
};

}  // namespace

std::span<const MenuTemplate> mainMenuTemplate() {
    return kMenus;
}
std::span<const int> toolbarTemplate() {
    return kToolbar;
}
std::span<const AcceleratorTemplate> acceleratorTemplate() {
    return kAccelerators;
}

}  // namespace qzm
