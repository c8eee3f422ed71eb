#pragma once

#include <QWidget>

#include "radio/document_view.h"

namespace qzm {

class AppShell;
class CZavoDoc;

// The editor form (template 101) as the one view of the document.  Every New
// and Open ends in OnInitialUpdate; every other refresh of the document's views
// (radio read, language change, band change) in OnUpdate, the single refill
// path: window title, then the settings panel from the image.
class CZavoView : public QWidget, public DocumentView {
    Q_OBJECT

  public:
    CZavoView(AppShell& shell, CZavoDoc& document, QWidget* parent = nullptr);
    ~CZavoView() override;

    CZavoDoc& document() { return document_; }

    void OnInitialUpdate();
    void OnUpdate() override;

  protected:
    // Captions from the language file, then every control from the image.
    virtual void fillSettingsPanel();

    AppShell& shell_;
    CZavoDoc& document_;
};

}  // namespace qzm
