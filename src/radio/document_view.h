// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qzm {

// A window that shows the document.  The document calls OnUpdate whenever its image was
// replaced or reset; the view then rebuilds everything it shows from the image.
class DocumentView {
  public:
    virtual ~DocumentView() = default;
    virtual void OnUpdate() = 0;
};

}  // namespace qzm
