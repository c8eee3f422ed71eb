// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>

namespace qzm {

// Command id -> handler.  A command without a handler is shown disabled: a
// menu item or key whose dialog does not exist yet does nothing rather than
// pretend.
class CommandTable {
  public:
    using Handler = std::function<void()>;

    void set(int id, Handler handler) { handlers_[id] = std::move(handler); }
    void remove(int id) { handlers_.erase(id); }
    bool has(int id) const { return handlers_.count(id) != 0; }

    // Runs the handler; false when the command has none.
    bool run(int id) const {
        const auto found = handlers_.find(id);
        if (found == handlers_.end() || !found->second) {
            return false;
        }
        // A copy, so a handler may replace itself while it runs.
        const Handler handler = found->second;
        handler();
        return true;
    }

  private:
    std::map<int, Handler> handlers_;
};

}  // namespace qzm
