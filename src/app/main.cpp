// qzm836: the programming tool of the QZM-836 radio.
#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

#include "app/program_info.h"
#include "app/toolbar_icons.h"
#include "app/zavo_app.h"

int main(int argc, char** argv) {
    // --version and --help need no display.
    if (const auto info = qzm::programInfoText(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fputs(info->c_str(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(qzm::RecentFileList::kApplication);
    QApplication::setOrganizationName(qzm::RecentFileList::kOrganisation);
    QApplication::setWindowIcon(qzm::programIcon());

    qzm::CZavoApp zavo;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!zavo.InitInstance(arguments)) {
        return 1;
    }
    return QApplication::exec();
}
