#include "platform/program_version.h"

namespace qzm {

std::string_view programVersion() {
    return QZM_PROGRAM_VERSION;
}

}  // namespace qzm
